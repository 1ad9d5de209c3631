#include "platform/gui/ExceptionBox.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace scr {

void ShowExceptionBox(const std::string& message) {
    std::fprintf(stderr, "scrplayer: %s\n", message.c_str());
    if (!qApp || QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    QMessageBox::critical(nullptr, QCoreApplication::applicationName(), QString::fromStdString(message));
}

} // namespace scr
