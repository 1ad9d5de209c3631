#pragma once
// Device pixels for every window of the process. Qt normally lays windows
// out in logical pixels, scaled by the device pixel ratio it takes from
// QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS or the X server's Xft.dpi. The
// show's layout is measured in screen pixels and its pictures are bitmaps of
// screen pixels, so the show turns that scaling off: one logical pixel is one
// device pixel, at any ratio.
//
// Qt reads these settings once, while the application object is created: an
// instance must live across that creation. It restores the environment when
// it is destroyed, so that programs the process starts (a browser for the
// home page) keep the user's settings.

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

namespace scr {

class DevicePixelLayout {
public:
    DevicePixelLayout();
    ~DevicePixelLayout();
    DevicePixelLayout(const DevicePixelLayout&) = delete;
    DevicePixelLayout& operator=(const DevicePixelLayout&) = delete;

private:
    // Each variable changed, with its value before (none when it was unset).
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

} // namespace scr
