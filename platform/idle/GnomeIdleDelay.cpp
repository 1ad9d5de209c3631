#include "platform/idle/GnomeIdleDelay.h"

#include <algorithm>
#include <gio/gio.h>

namespace scr {

int GnomeIdleDelay() {
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    if (!schemas) return 0;
    GSettingsSchema* schema = g_settings_schema_source_lookup(schemas, "org.gnome.desktop.session", TRUE);
    if (!schema) return 0;
    int seconds = 0;
    if (g_settings_schema_has_key(schema, "idle-delay")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        seconds = static_cast<int>(std::min<guint>(g_settings_get_uint(settings, "idle-delay"), 86400));
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return seconds;
}

} // namespace scr
