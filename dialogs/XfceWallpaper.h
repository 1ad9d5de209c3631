#pragma once
// The wallpaper of Xfce: the backdrop properties of the channel
// "xfce4-desktop" in Xfconf (org.xfce.Xfconf on the session bus). Every
// monitor and workspace the desktop knows has a ".../last-image" property and
// an ".../image-style" beside it (1 centred, 2 tiled, 3 stretched, 0 none).

#include <QStringList>
#include <string>

namespace scr {

// The "last-image" properties among a channel's property names.
QStringList XfceImageProperties(const QStringList& propertyNames);
// The "image-style" property that belongs to a "last-image" property.
QString XfceStyleProperty(const QString& imageProperty);

// Sets the picture (and, for styles 1..3, the style) on every backdrop;
// false when Xfconf does not answer or knows no backdrop.
bool SetXfceWallpaper(const std::string& path, int style);
// Image style 0 on every backdrop.
bool RemoveXfceWallpaper();

} // namespace scr
