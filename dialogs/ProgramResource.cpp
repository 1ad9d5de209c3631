#include "dialogs/ProgramResource.h"

#include <QFile>

namespace scr {

QString ProgramResourcePath(const QString& name) {
    return QStringLiteral(":/scr/") + name;
}

std::optional<QByteArray> LoadProgramResource(const QString& name) {
    if (name.isEmpty()) return std::nullopt;
    QFile file(ProgramResourcePath(name));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

QPixmap LoadBitmapResource(const QString& name) {
    if (name.isEmpty()) return {};
    return QPixmap(ProgramResourcePath(name));
}

} // namespace scr
