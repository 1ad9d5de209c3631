#pragma once
// The program's own resources: data compiled into the executable under a
// name ("LNGDYNA", "XTOP_0", "XVTIMG_4", ...). They live in the Qt resource
// system under ":/scr/<name>"; the build draws, scrambles and embeds them
// (see dialogs/CMakeLists.txt and docs/dialogs.md).

#include <QByteArray>
#include <QPixmap>
#include <QString>
#include <optional>

namespace scr {

// The path of a program resource in the Qt resource system.
QString ProgramResourcePath(const QString& name);

// The bytes of a program resource, or nothing when the program has none of that name.
std::optional<QByteArray> LoadProgramResource(const QString& name);

// A bitmap resource as a pixmap; a null pixmap when it is missing or not a picture.
QPixmap LoadBitmapResource(const QString& name);

} // namespace scr
