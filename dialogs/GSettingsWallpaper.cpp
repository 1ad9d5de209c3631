#include "dialogs/GSettingsWallpaper.h"

#include "dialogs/DesktopWallpaper.h"

#include <gio/gio.h>
#include <memory>

namespace scr {
namespace {

struct SchemaKeys {
    const char* schema;
    const char* pictureKey;
    const char* darkPictureKey; // nullptr: the schema has none
    bool pictureIsUri;          // false: a plain file name
};

constexpr SchemaKeys kGnome{"org.gnome.desktop.background", "picture-uri", "picture-uri-dark", true};
constexpr SchemaKeys kCinnamon{"org.cinnamon.desktop.background", "picture-uri", nullptr, true};
constexpr SchemaKeys kMate{"org.mate.background", "picture-filename", nullptr, false};
constexpr const char* kOptionsKey = "picture-options";

const SchemaKeys& KeysOf(GSettingsDesktop desktop) {
    switch (desktop) {
    case GSettingsDesktop::Cinnamon:
        return kCinnamon;
    case GSettingsDesktop::Mate:
        return kMate;
    case GSettingsDesktop::Gnome:
        break;
    }
    return kGnome;
}

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// The settings of one schema, or nothing when the schema is not installed
// (g_settings_new would abort the program then).
class Settings {
public:
    explicit Settings(const char* schemaId) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        if (!source) return;
        schema_.reset(g_settings_schema_source_lookup(source, schemaId, TRUE));
        if (schema_) settings_.reset(g_settings_new_full(schema_.get(), nullptr, nullptr));
    }
    explicit operator bool() const { return settings_ != nullptr; }

    // Writes a text value when the schema has that key.
    void Set(const char* key, const std::string& value) {
        if (key && g_settings_schema_has_key(schema_.get(), key))
            g_settings_set_string(static_cast<GSettings*>(settings_.get()), key, value.c_str());
    }

    ~Settings() {
        if (settings_) g_settings_sync();
    }

private:
    std::unique_ptr<GSettingsSchema, SchemaUnref> schema_;
    std::unique_ptr<void, ObjectUnref> settings_;
};

std::string FileUri(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri) return {};
    std::string text(uri);
    g_free(uri);
    return text;
}

} // namespace

std::string GSettingsPictureOptions(int style) {
    switch (style) {
    case WallpaperCenter:
        return "centered";
    case WallpaperTile:
        return "wallpaper";
    case WallpaperStretch:
        return "stretched";
    default:
        return {};
    }
}

bool SetGSettingsWallpaper(GSettingsDesktop desktop, const std::string& path, int style) {
    const SchemaKeys& keys = KeysOf(desktop);
    Settings settings(keys.schema);
    if (!settings) return false;
    const std::string picture = keys.pictureIsUri ? FileUri(path) : path;
    if (picture.empty()) return false;
    const std::string options = GSettingsPictureOptions(style);
    if (!options.empty()) settings.Set(kOptionsKey, options);
    settings.Set(keys.pictureKey, picture);
    settings.Set(keys.darkPictureKey, picture);
    return true;
}

bool RemoveGSettingsWallpaper(GSettingsDesktop desktop) {
    const SchemaKeys& keys = KeysOf(desktop);
    Settings settings(keys.schema);
    if (!settings) return false;
    settings.Set(kOptionsKey, "none");
    settings.Set(keys.pictureKey, "");
    settings.Set(keys.darkPictureKey, "");
    return true;
}

} // namespace scr
