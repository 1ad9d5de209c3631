#include "dialogs/RootWindowWallpaper.h"

#include "dialogs/DesktopWallpaper.h"

#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

namespace scr {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

Connection Open(const char* display, xcb_screen_t*& screen) {
    int screenNumber = 0;
    Connection connection(xcb_connect(display, &screenNumber));
    if (!connection || xcb_connection_has_error(connection.get())) return nullptr;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) return nullptr;
    screen = it.data;
    return connection;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::optional<uint32_t> ReadCardinal(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                     xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

void WriteCardinal(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                   uint32_t value) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 32, 1, &value);
}

struct RootAtoms {
    xcb_atom_t rootPixmap;
    xcb_atom_t setRootPixmap;
    xcb_atom_t style;
};

RootAtoms Atoms(xcb_connection_t* connection) {
    return {Atom(connection, "_XROOTPMAP_ID"), Atom(connection, "ESETROOT_PMAP_ID"),
            Atom(connection, "_SCRPLAYER_WALLPAPER_STYLE")};
}

// Frees the pixmap a setter left behind: by convention it belongs to a client
// kept in RetainPermanent mode, and killing that client frees it. Only when
// both properties name the same pixmap, as a setter following the
// convention leaves them.
void FreePreviousPixmap(xcb_connection_t* connection, xcb_window_t root, const RootAtoms& atoms) {
    const auto rootPixmap = ReadCardinal(connection, root, atoms.rootPixmap, XCB_ATOM_PIXMAP);
    const auto setPixmap = ReadCardinal(connection, root, atoms.setRootPixmap, XCB_ATOM_PIXMAP);
    if (rootPixmap && setPixmap && *rootPixmap == *setPixmap && *rootPixmap != 0) {
        std::free(xcb_request_check(connection, xcb_kill_client_checked(connection, *rootPixmap)));
    }
}

// The visual of the root window, when it is a true-colour one.
const xcb_visualtype_t* RootVisual(const xcb_screen_t* screen) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id != screen->root_visual) continue;
            return visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR ? visuals.data : nullptr;
        }
    }
    return nullptr;
}

const xcb_format_t* PixmapFormat(xcb_connection_t* connection, uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == depth) return formats.data;
    return nullptr;
}

// One 8-bit channel placed into a colour mask.
uint32_t Channel(int value, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const uint32_t scaled =
        bits >= 8 ? static_cast<uint32_t>(value) << (bits - 8) : static_cast<uint32_t>(value) >> (8 - bits);
    return (scaled << shift) & mask;
}

// The picture in the server's pixel layout (ZPixmap), or empty when the
// format is not one of 16 or 32 bits per pixel.
std::vector<uint8_t> ServerPixels(const QImage& image, const xcb_visualtype_t& visual,
                                  const xcb_format_t& format, bool msbFirst, int& stride) {
    const int bytesPerPixel = format.bits_per_pixel / 8;
    if (format.bits_per_pixel != 16 && format.bits_per_pixel != 32) return {};
    const int pad = format.scanline_pad > 0 ? format.scanline_pad : 32;
    stride = ((image.width() * format.bits_per_pixel + pad - 1) / pad) * pad / 8;
    std::vector<uint8_t> pixels(static_cast<std::size_t>(stride) * image.height());
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* out = pixels.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < rgb.width(); ++x, out += bytesPerPixel) {
            const uint32_t value = Channel(qRed(in[x]), visual.red_mask) |
                                   Channel(qGreen(in[x]), visual.green_mask) |
                                   Channel(qBlue(in[x]), visual.blue_mask);
            for (int b = 0; b < bytesPerPixel; ++b) {
                const int shift = msbFirst ? 8 * (bytesPerPixel - 1 - b) : 8 * b;
                out[b] = static_cast<uint8_t>(value >> shift);
            }
        }
    }
    return pixels;
}

// Sends the pixels in requests that fit the server's request size.
void PutPixels(xcb_connection_t* connection, xcb_pixmap_t pixmap, xcb_gcontext_t gc,
               const std::vector<uint8_t>& pixels, int stride, int width, int height, uint8_t depth) {
    const uint64_t maxBytes = static_cast<uint64_t>(xcb_get_maximum_request_length(connection)) * 4;
    const int headerBytes = 32;
    int rowsPerRequest = static_cast<int>((maxBytes - headerBytes) / static_cast<uint64_t>(stride));
    if (rowsPerRequest < 1) rowsPerRequest = 1;
    for (int top = 0; top < height; top += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, height - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(width),
                      static_cast<uint16_t>(rows), 0, static_cast<int16_t>(top), 0, depth,
                      static_cast<uint32_t>(rows) * static_cast<uint32_t>(stride),
                      pixels.data() + static_cast<std::size_t>(top) * stride);
    }
}

} // namespace

QImage ComposeWallpaper(const QImage& picture, int style, QSize screen) {
    if (picture.isNull() || screen.isEmpty()) return {};
    QImage canvas(screen, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    switch (style) {
    case WallpaperTile:
        for (int y = 0; y < screen.height(); y += picture.height())
            for (int x = 0; x < screen.width(); x += picture.width())
                painter.drawImage(x, y, picture);
        break;
    case WallpaperStretch:
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(canvas.rect(), picture);
        break;
    default:
        painter.drawImage((screen.width() - picture.width()) / 2, (screen.height() - picture.height()) / 2,
                          picture);
        break;
    }
    painter.end();
    return canvas;
}

bool SetRootWindowWallpaper(const QImage& picture, int style, const char* display) {
    if (picture.isNull()) return false;
    xcb_screen_t* screen = nullptr;
    Connection owner = Open(display, screen);
    if (!owner) return false;
    xcb_connection_t* connection = owner.get();
    const xcb_visualtype_t* visual = RootVisual(screen);
    const xcb_format_t* format = PixmapFormat(connection, screen->root_depth);
    if (!visual || !format) return false;
    const RootAtoms atoms = Atoms(connection);

    if (style != WallpaperCenter && style != WallpaperTile && style != WallpaperStretch)
        style = static_cast<int>(
            ReadCardinal(connection, screen->root, atoms.style, XCB_ATOM_CARDINAL).value_or(WallpaperCenter));
    const QImage composed =
        ComposeWallpaper(picture, style, QSize(screen->width_in_pixels, screen->height_in_pixels));
    int stride = 0;
    const bool msbFirst = xcb_get_setup(connection)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    const std::vector<uint8_t> pixels = ServerPixels(composed, *visual, *format, msbFirst, stride);
    if (pixels.empty()) return false;

    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen->root_depth, pixmap, screen->root, screen->width_in_pixels,
                      screen->height_in_pixels);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    PutPixels(connection, pixmap, gc, pixels, stride, composed.width(), composed.height(),
              screen->root_depth);
    xcb_free_gc(connection, gc);

    FreePreviousPixmap(connection, screen->root, atoms);
    const uint32_t background = pixmap;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXMAP, &background);
    xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
    WriteCardinal(connection, screen->root, atoms.rootPixmap, XCB_ATOM_PIXMAP, pixmap);
    WriteCardinal(connection, screen->root, atoms.setRootPixmap, XCB_ATOM_PIXMAP, pixmap);
    WriteCardinal(connection, screen->root, atoms.style, XCB_ATOM_CARDINAL, static_cast<uint32_t>(style));
    // The pixmap must outlive this connection: the server keeps it until the
    // next setter frees it.
    xcb_set_close_down_mode(connection, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return sync != nullptr;
}

bool RemoveRootWindowWallpaper(const char* display) {
    xcb_screen_t* screen = nullptr;
    Connection owner = Open(display, screen);
    if (!owner) return false;
    xcb_connection_t* connection = owner.get();
    const RootAtoms atoms = Atoms(connection);
    FreePreviousPixmap(connection, screen->root, atoms);
    xcb_delete_property(connection, screen->root, atoms.rootPixmap);
    xcb_delete_property(connection, screen->root, atoms.setRootPixmap);
    const uint32_t none = XCB_BACK_PIXMAP_NONE; // the root window's default background
    xcb_change_window_attributes(connection, screen->root, XCB_CW_BACK_PIXMAP, &none);
    xcb_clear_area(connection, 0, screen->root, 0, 0, 0, 0);
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    return sync != nullptr;
}

} // namespace scr
