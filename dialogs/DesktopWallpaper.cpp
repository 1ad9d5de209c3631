#include "dialogs/DesktopWallpaper.h"

#include "dialogs/GSettingsWallpaper.h"
#include "dialogs/PlasmaWallpaper.h"
#include "dialogs/RootWindowWallpaper.h"
#include "dialogs/XfceWallpaper.h"
#include "platform/StandardDirectories.h"

#include <QImage>
#include <QString>
#include <cstdlib>
#include <optional>

namespace scr {

int WallpaperStyleFromTag(int tag) {
    switch (tag) {
    case 1028:
        return WallpaperCenter;
    case 1029:
        return WallpaperTile;
    case 1030:
        return WallpaperStretch;
    default:
        return WallpaperKeepStyle;
    }
}

DesktopKind RunningDesktop() {
    const char* current = std::getenv("XDG_CURRENT_DESKTOP");
    const QStringList names =
        QString::fromLocal8Bit(current ? current : "").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& raw : names) {
        const QString name = raw.trimmed().toUpper();
        if (name == QLatin1String("X-CINNAMON") || name == QLatin1String("CINNAMON"))
            return DesktopKind::Cinnamon;
        if (name == QLatin1String("MATE")) return DesktopKind::Mate;
        if (name == QLatin1String("KDE")) return DesktopKind::Plasma;
        if (name == QLatin1String("XFCE")) return DesktopKind::Xfce;
        if (name == QLatin1String("GNOME") || name == QLatin1String("UNITY") ||
            name == QLatin1String("BUDGIE") || name == QLatin1String("PANTHEON") ||
            name == QLatin1String("GNOME-CLASSIC") || name == QLatin1String("GNOME-FLASHBACK"))
            return DesktopKind::GnomeFamily;
    }
    const char* display = std::getenv("DISPLAY");
    return display && *display ? DesktopKind::OtherX11 : DesktopKind::None;
}

std::string WallpaperFilePath() {
    return SystemDirectory() + "/SCR Wallpaper.bmp";
}

namespace {

// The settings schema of the desktops that keep their wallpaper in GSettings.
std::optional<GSettingsDesktop> SettingsOf(DesktopKind desktop) {
    switch (desktop) {
    case DesktopKind::GnomeFamily:
        return GSettingsDesktop::Gnome;
    case DesktopKind::Cinnamon:
        return GSettingsDesktop::Cinnamon;
    case DesktopKind::Mate:
        return GSettingsDesktop::Mate;
    default:
        return std::nullopt;
    }
}

} // namespace

void SetWallpaper(const std::string& path, int style) {
    const DesktopKind desktop = RunningDesktop();
    if (const auto settings = SettingsOf(desktop))
        SetGSettingsWallpaper(*settings, path, style);
    else if (desktop == DesktopKind::Plasma)
        SetPlasmaWallpaper(path, style);
    else if (desktop == DesktopKind::Xfce)
        SetXfceWallpaper(path, style);
    else if (desktop == DesktopKind::OtherX11)
        SetRootWindowWallpaper(QImage(QString::fromStdString(path)), style);
}

void RemoveWallpaper() {
    const DesktopKind desktop = RunningDesktop();
    if (const auto settings = SettingsOf(desktop))
        RemoveGSettingsWallpaper(*settings);
    else if (desktop == DesktopKind::Plasma)
        RemovePlasmaWallpaper();
    else if (desktop == DesktopKind::Xfce)
        RemoveXfceWallpaper();
    else if (desktop == DesktopKind::OtherX11)
        RemoveRootWindowWallpaper();
}

} // namespace scr
