// GIO first: its headers use names that Qt defines as macros.
// clang-format off
#include <gio/gio.h>
// clang-format on

#include "dialogs/DesktopWallpaper.h"
#include "dialogs/GSettingsWallpaper.h"
#include "dialogs/PlasmaWallpaper.h"
#include "dialogs/RootWindowWallpaper.h"
#include "dialogs/XfceWallpaper.h"
#include "package/BitmapFiles.h"
#include "tests/dialogs/ConfigDialogFixture.h"
#include "tests/support/PrivateXServer.h"

#include <QImage>
#include <xcb/xcb.h>

namespace scr::test {
namespace {

TEST(Wallpaper, StylesComeFromTheMenuTags) {
    EXPECT_EQ(WallpaperStyleFromTag(1028), WallpaperCenter);
    EXPECT_EQ(WallpaperStyleFromTag(1029), WallpaperTile);
    EXPECT_EQ(WallpaperStyleFromTag(1030), WallpaperStretch);
    EXPECT_EQ(WallpaperStyleFromTag(1031), WallpaperKeepStyle);
    EXPECT_EQ(WallpaperStyleFromTag(0), WallpaperKeepStyle);
}

TEST(Wallpaper, TheDesktopIsToldByItsName) {
    const struct {
        const char* current;
        const char* display;
        DesktopKind expected;
    } cases[] = {
        {"GNOME", ":0", DesktopKind::GnomeFamily},
        {"ubuntu:GNOME", ":0", DesktopKind::GnomeFamily},
        {"Budgie:GNOME", "", DesktopKind::GnomeFamily},
        {"X-Cinnamon", ":0", DesktopKind::Cinnamon},
        {"MATE", ":0", DesktopKind::Mate},
        {"KDE", ":0", DesktopKind::Plasma},
        {"XFCE", ":0", DesktopKind::Xfce},
        {"", ":5", DesktopKind::OtherX11},
        {"LXQt", ":0", DesktopKind::OtherX11},
        {"", "", DesktopKind::None},
    };
    for (const auto& c : cases) {
        ScopedEnv current("XDG_CURRENT_DESKTOP", c.current);
        ScopedEnv display("DISPLAY", c.display);
        EXPECT_EQ(RunningDesktop(), c.expected) << c.current << " " << c.display;
    }
}

TEST(Wallpaper, GnomeSettingsGetThePictureAndTheOptions) {
    // The in-memory settings store of GIO: nothing outside the test changes.
    ScopedEnv backend("GSETTINGS_BACKEND", "memory");
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.background", TRUE) : nullptr;
    if (!schema) GTEST_SKIP() << "the GNOME settings schemas are not installed";
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    const auto read = [&](const char* key) {
        gchar* value = g_settings_get_string(settings, key);
        std::string text = value ? value : "";
        g_free(value);
        return text;
    };

    SetWallpaper("/tmp/some dir/SCR Wallpaper.bmp", WallpaperTile);
    EXPECT_EQ(read("picture-uri"), "file:///tmp/some%20dir/SCR%20Wallpaper.bmp");
    EXPECT_EQ(read("picture-options"), "wallpaper");
    if (g_settings_schema_has_key(schema, "picture-uri-dark")) {
        EXPECT_EQ(read("picture-uri-dark"), "file:///tmp/some%20dir/SCR%20Wallpaper.bmp");
    }
    SetWallpaper("/tmp/other.bmp", WallpaperKeepStyle);
    EXPECT_EQ(read("picture-uri"), "file:///tmp/other.bmp");
    EXPECT_EQ(read("picture-options"), "wallpaper");
    SetWallpaper("/tmp/other.bmp", WallpaperStretch);
    EXPECT_EQ(read("picture-options"), "stretched");
    RemoveWallpaper();
    EXPECT_EQ(read("picture-uri"), "");
    EXPECT_EQ(read("picture-options"), "none");
    g_object_unref(settings);
    g_settings_schema_unref(schema);
}

TEST(Wallpaper, PlasmaScriptSetsEveryDesktopWithTheFillMode) {
    const QString script = PlasmaWallpaperScript("/home/a b/it's.bmp", WallpaperTile);
    EXPECT_TRUE(script.contains(QStringLiteral("d.writeConfig('Image', 'file:///home/a%20b/it%27s.bmp');")))
        << script.toStdString();
    EXPECT_TRUE(script.contains(QStringLiteral("d.writeConfig('FillMode', 3);")));
    EXPECT_TRUE(PlasmaWallpaperScript("/x.bmp", WallpaperCenter).contains(QStringLiteral("'FillMode', 6")));
    EXPECT_TRUE(PlasmaWallpaperScript("/x.bmp", WallpaperStretch).contains(QStringLiteral("'FillMode', 0")));
    EXPECT_FALSE(PlasmaWallpaperScript("/x.bmp", WallpaperKeepStyle).contains(QStringLiteral("FillMode")));
    EXPECT_TRUE(PlasmaRemoveWallpaperScript().contains(QStringLiteral("org.kde.color")));
}

TEST(Wallpaper, XfceBackdropsAreFoundByTheirImageProperties) {
    const QStringList all = {QStringLiteral("/backdrop/screen0/monitorVGA-1/workspace0/last-image"),
                             QStringLiteral("/backdrop/screen0/monitorVGA-1/workspace0/image-style"),
                             QStringLiteral("/backdrop/screen0/monitor0/workspace1/last-image"),
                             QStringLiteral("/backdrop/single-workspace-mode"),
                             QStringLiteral("/desktop-icons/last-image")};
    EXPECT_EQ(XfceImageProperties(all), (QStringList{all[2], all[0]}));
    EXPECT_EQ(XfceStyleProperty(all[0]), all[1]);
}

TEST(Wallpaper, ComposedPictureFollowsTheStyle) {
    QImage picture(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, qRgb(x * 60, y * 100, 7));
    const QImage tiled = ComposeWallpaper(picture, WallpaperTile, QSize(10, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(tiled.pixel(x, y), picture.pixel(x % 4, y % 2)) << x << "," << y;
    const QImage centred = ComposeWallpaper(picture, WallpaperCenter, QSize(10, 6));
    EXPECT_EQ(centred.pixel(3, 2), picture.pixel(0, 0));
    EXPECT_EQ(centred.pixel(6, 3), picture.pixel(3, 1));
    EXPECT_EQ(centred.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(ComposeWallpaper(picture, WallpaperStretch, QSize(40, 20)).size(), QSize(40, 20));
    EXPECT_TRUE(ComposeWallpaper(QImage(), WallpaperTile, QSize(10, 5)).isNull());
}

// The root window's pixels as 0xRRGGBB values.
QImage RootPixels(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0,
                                          screen->width_in_pixels, screen->height_in_pixels, ~0u),
                            nullptr);
    QImage image;
    if (reply && reply->depth == 24) {
        image = QImage(xcb_get_image_data(reply), screen->width_in_pixels, screen->height_in_pixels,
                       QImage::Format_RGB32)
                    .copy();
    }
    std::free(reply);
    xcb_disconnect(connection);
    return image;
}

// The pixmap named by _XROOTPMAP_ID, or 0.
uint32_t RootWallpaperPixmap(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 13, "_XROOTPMAP_ID"), nullptr);
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, screen->root, atom->atom, XCB_ATOM_PIXMAP, 0, 1),
        nullptr);
    const uint32_t pixmap =
        property && property->value_len == 1 ? *static_cast<uint32_t*>(xcb_get_property_value(property)) : 0;
    std::free(property);
    std::free(atom);
    xcb_disconnect(connection);
    return pixmap;
}

bool PixmapExists(const std::string& display, uint32_t pixmap) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, pixmap), nullptr);
    const bool exists = geometry != nullptr;
    std::free(geometry);
    xcb_disconnect(connection);
    return exists;
}

TEST(Wallpaper, TileOnAPlainXServerFillsTheRootWindow) {
    PrivateXServer server;
    if (server.display().empty()) GTEST_SKIP() << "Xvfb could not be started";
    TempDir dir;
    ScopedEnv display("DISPLAY", server.display());
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "");

    Bitmap24 picture(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            picture.setPixel(x, y, static_cast<uint32_t>(x * 7 | (y * 11) << 8 | ((x + y) * 3) << 16));
    const std::string file = dir.file("SCR Wallpaper.bmp");
    ASSERT_TRUE(SaveBitmapByExtension(picture, file, 75));

    SetWallpaper(file, WallpaperTile);
    const QImage tiled = RootPixels(server.display());
    ASSERT_EQ(tiled.size(), QSize(320, 240));
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 5) {
            const uint32_t expected = picture.pixel(x % 37, y % 23);
            const QRgb actual = tiled.pixel(x, y);
            ASSERT_EQ(qRed(actual) | qGreen(actual) << 8 | qBlue(actual) << 16, static_cast<int>(expected))
                << x << "," << y;
        }
    const uint32_t first = RootWallpaperPixmap(server.display());
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(PixmapExists(server.display(), first)); // kept after the setter left

    // "Keep the style" keeps the tiles, in a new pixmap that replaces the first.
    SetWallpaper(file, WallpaperKeepStyle);
    EXPECT_EQ(RootPixels(server.display()), tiled);
    EXPECT_NE(RootWallpaperPixmap(server.display()), first);
    EXPECT_FALSE(PixmapExists(server.display(), first));
    // Centring puts one picture in the middle.
    SetWallpaper(file, WallpaperCenter);
    const QImage centred = RootPixels(server.display());
    EXPECT_EQ(centred.pixel(0, 0), qRgb(0, 0, 0));
    const QRgb middle = centred.pixel((320 - 37) / 2, (240 - 23) / 2);
    EXPECT_EQ(qRed(middle) | qGreen(middle) << 8 | qBlue(middle) << 16,
              static_cast<int>(picture.pixel(0, 0)));

    RemoveWallpaper();
    EXPECT_EQ(RootWallpaperPixmap(server.display()), 0u);
    EXPECT_NE(RootPixels(server.display()), centred);
}

} // namespace
} // namespace scr::test
