#include "dialogs/XfceWallpaper.h"

#include "dialogs/DesktopWallpaper.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

namespace scr {
namespace {

const QString kChannel = QStringLiteral("xfce4-desktop");
constexpr int kXfconfTimeoutMs = 5000;
const QString kImageSuffix = QStringLiteral("/last-image");
const QString kStyleSuffix = QStringLiteral("/image-style");

class Xfconf {
public:
    Xfconf()
        : interface_(QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf"),
                     QStringLiteral("org.xfce.Xfconf"), QDBusConnection::sessionBus()) {
        interface_.setTimeout(kXfconfTimeoutMs);
    }
    bool valid() const { return interface_.isValid(); }

    QStringList BackdropProperties() {
        const QDBusReply<QVariantMap> reply =
            interface_.call(QStringLiteral("GetAllProperties"), kChannel, QStringLiteral("/backdrop"));
        return reply.isValid() ? reply.value().keys() : QStringList();
    }
    void Set(const QString& property, const QVariant& value) {
        interface_.call(QStringLiteral("SetProperty"), kChannel, property,
                        QVariant::fromValue(QDBusVariant(value)));
    }

private:
    QDBusInterface interface_;
};

int XfceStyle(int style) {
    switch (style) {
    case WallpaperCenter:
        return 1;
    case WallpaperTile:
        return 2;
    case WallpaperStretch:
        return 3;
    default:
        return -1;
    }
}

// Applies the picture (or, with an empty path, only the style) to every backdrop.
bool ApplyToBackdrops(const QString& path, int xfceStyle) {
    Xfconf xfconf;
    if (!xfconf.valid()) return false;
    const QStringList images = XfceImageProperties(xfconf.BackdropProperties());
    if (images.isEmpty()) return false;
    for (const QString& image : images) {
        if (xfceStyle >= 0) xfconf.Set(XfceStyleProperty(image), xfceStyle);
        if (!path.isEmpty()) xfconf.Set(image, path);
    }
    return true;
}

} // namespace

QStringList XfceImageProperties(const QStringList& propertyNames) {
    QStringList images;
    for (const QString& name : propertyNames)
        if (name.startsWith(QLatin1String("/backdrop/")) && name.endsWith(kImageSuffix)) images << name;
    images.sort();
    return images;
}

QString XfceStyleProperty(const QString& imageProperty) {
    return imageProperty.left(imageProperty.size() - kImageSuffix.size()) + kStyleSuffix;
}

bool SetXfceWallpaper(const std::string& path, int style) {
    if (path.empty()) return false;
    return ApplyToBackdrops(QString::fromStdString(path), XfceStyle(style));
}

bool RemoveXfceWallpaper() {
    return ApplyToBackdrops(QString(), 0);
}

} // namespace scr
