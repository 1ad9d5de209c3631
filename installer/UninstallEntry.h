#pragma once
// The uninstall entry of an installed screen saver: a key under
// HKEY_LOCAL_MACHINE "\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\"
// named after the installed file (without ".scr"), with the values
// "DisplayName" (the screen saver's name) and "UninstallString" (the
// installed file's path followed by " -U"). The installer writes it, the
// uninstaller, started with that command, deletes it again.

#include <optional>
#include <string>

namespace scr {

inline constexpr char kUninstallKeyRoot[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The key of a screen saver installed as `fileStem` + ".scr". Separators in
// the name are replaced so that the key is always one sub-key of the
// uninstall key; an empty name has no key (it would be the uninstall key
// itself), which gives nothing.
std::optional<std::string> UninstallKeyPath(const std::string& fileStem);

// Writes both values, creating the key when missing. False when the key has
// no name or cannot be written; callers go on either way.
bool WriteUninstallEntry(const std::string& fileStem, const std::string& displayName,
                         const std::string& uninstallString);

// Deletes the key with everything in it. False when it has no name or did not exist.
bool DeleteUninstallEntry(const std::string& fileStem);

} // namespace scr
