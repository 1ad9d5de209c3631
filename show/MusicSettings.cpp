#include "show/MusicSettings.h"

#include "platform/RegistryStore.h"

namespace scr {
namespace {

// The three values with their defaults, in one table for reading and writing.
struct Option {
    const char* name;
    bool MusicSettings::*field;
    bool defaultValue;
};
constexpr Option kOptions[] = {
    {"MROP", &MusicSettings::randomOrder, false},
    {"MRA", &MusicSettings::repeat, true},
    {"Mute", &MusicSettings::mute, false},
};

} // namespace

std::string MusicSettingsKey(const std::string& screenSaverName) {
    return "\\Software\\Vantrel\\" + screenSaverName;
}

MusicSettings ReadMusicSettings(const std::string& screenSaverName) {
    MusicSettings settings;
    std::string key = MusicSettingsKey(screenSaverName);
    for (const Option& option : kOptions)
        settings.*option.field =
            ReadRegInteger(RegistryRoot::CurrentUser, key, option.name, option.defaultValue ? 1 : 0) != 0;
    return settings;
}

bool WriteMusicSettings(const std::string& screenSaverName, const MusicSettings& settings) {
    std::string key = MusicSettingsKey(screenSaverName);
    bool ok = true;
    for (const Option& option : kOptions)
        ok = WriteRegInteger(RegistryRoot::CurrentUser, key, option.name, settings.*option.field ? 1 : 0) &&
             ok;
    return ok;
}

} // namespace scr
