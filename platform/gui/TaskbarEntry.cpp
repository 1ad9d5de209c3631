#include "platform/gui/TaskbarEntry.h"

#include <QWidget>

namespace scr {
namespace {
bool g_taskbarEntryWanted = true;
}

void HideTaskbarEntry(QWidget* window) {
    if (!window) return;
    window->setWindowFlag(Qt::Tool, true);
}

void SetTaskbarEntryWanted(bool wanted) {
    g_taskbarEntryWanted = wanted;
}
bool TaskbarEntryWanted() {
    return g_taskbarEntryWanted;
}

} // namespace scr
