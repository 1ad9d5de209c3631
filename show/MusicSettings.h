#pragma once
// The user's three music options of one screen saver, kept in the registry
// store under HKEY_CURRENT_USER "\Software\Vantrel\" + the screen saver's name:
//   "MROP" random order (default 0), "MRA" repeat (default 1), "Mute" (default 0).
// The show reads them; the configuration dialog writes them as 1 or 0.

#include <string>

namespace scr {

struct MusicSettings {
    bool randomOrder = false;
    bool repeat = true;
    bool mute = false;
};

std::string MusicSettingsKey(const std::string& screenSaverName);
// Missing key, missing value or a value of another type: the default.
MusicSettings ReadMusicSettings(const std::string& screenSaverName);
// Writes all three (creating the key); false when a write failed.
bool WriteMusicSettings(const std::string& screenSaverName, const MusicSettings& settings);

} // namespace scr
