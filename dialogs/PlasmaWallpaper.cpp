#include "dialogs/PlasmaWallpaper.h"

#include "dialogs/DesktopWallpaper.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QUrl>

namespace scr {
namespace {

constexpr int kPlasmaBusTimeoutMs = 5000;

int FillMode(int style) {
    switch (style) {
    case WallpaperCenter:
        return 6;
    case WallpaperTile:
        return 3;
    case WallpaperStretch:
        return 0;
    default:
        return -1;
    }
}

bool EvaluateScript(const QString& script) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusInterface shell(QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
                         QStringLiteral("org.kde.PlasmaShell"), bus);
    if (!shell.isValid()) return false;
    shell.setTimeout(kPlasmaBusTimeoutMs);
    const QDBusMessage reply = shell.call(QStringLiteral("evaluateScript"), script);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

QString PlasmaWallpaperScript(const std::string& path, int style) {
    // Every byte but letters, digits, "-._~" and "/" is percent-encoded, so the
    // URL holds no quote or backslash and goes into the script's string
    // literal as it is.
    const QString url = QStringLiteral("file://") +
                        QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(path), "/"));
    QString script = QStringLiteral("var all = desktops();\n"
                                    "for (var i = 0; i < all.length; i++) {\n"
                                    "  var d = all[i];\n"
                                    "  d.wallpaperPlugin = 'org.kde.image';\n"
                                    "  d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];\n"
                                    "  d.writeConfig('Image', '%1');\n")
                         .arg(url);
    const int mode = FillMode(style);
    if (mode >= 0) script += QStringLiteral("  d.writeConfig('FillMode', %1);\n").arg(mode);
    script += QStringLiteral("}\n");
    return script;
}

QString PlasmaRemoveWallpaperScript() {
    return QStringLiteral("var all = desktops();\n"
                          "for (var i = 0; i < all.length; i++) all[i].wallpaperPlugin = 'org.kde.color';\n");
}

bool SetPlasmaWallpaper(const std::string& path, int style) {
    return EvaluateScript(PlasmaWallpaperScript(path, style));
}

bool RemovePlasmaWallpaper() {
    return EvaluateScript(PlasmaRemoveWallpaperScript());
}

} // namespace scr
