#pragma once
// The hand-over of a newly installed screen saver to the desktop's
// screen-saver host. On Linux that host is xscreensaver: the installed file
// is added to the programs list of the user's ~/.xscreensaver (run with
// "-root", under the screen saver's name, and selected; the rest of the file
// stays as it was) and the host's settings program is started, without
// waiting, so the user sees it chosen at once. Without a host nothing
// happens. Uninstalling takes the entry out again.

#include <cstddef>
#include <optional>
#include <string>

namespace scr {

// The command line the host runs: the path, shell-quoted where needed, and
// "-root"; with a `player`, a file that cannot run by itself played by it:
// the player, "play", the path and "-root".
std::string HostCommandFor(const std::string& installedFile, const std::string& player = {});

// Adds a program to the "programs:" resource of an xscreensaver
// configuration text and returns the new text. The entry goes to the end of
// the list (so the index of the user's selected program stays valid), shown
// under `displayName`; every other line is kept byte for byte. A list that
// already runs `command` is returned unchanged. A text without a programs
// resource gets one holding `defaultPrograms` (a list in the same form, for
// example the host's own defaults; empty for none) and the new entry.
std::string AddHostProgram(const std::string& config, const std::string& command,
                           const std::string& displayName, const std::string& defaultPrograms = {});

// The index (as the host's "selected:" counts) of the first entry of the
// programs list that runs `installedFile` (or plays it: "PLAYER play FILE"),
// whatever links either path passes through; nothing when none does.
std::optional<std::size_t> FindHostProgram(const std::string& config, const std::string& installedFile);

// Makes the entry that runs `installedFile` the one the host shows ("mode:
// one", "selected:" its index); every other line stays. Unchanged when no
// entry runs it.
std::string SelectHostProgram(const std::string& config, const std::string& installedFile);

// Removes the entries that run `installedFile` from the programs list; every
// other line stays. A selection after them moves with its entry; a selection
// of a removed entry becomes none ("selected: -1", and "mode: one" becomes
// the host's default "random"), so it never points at a missing entry or at
// another program.
std::string RemoveHostProgram(const std::string& config, const std::string& installedFile);

// The programs resource of the host's own defaults ("*programs:" in its
// application-defaults file), as the lines of a "programs:" resource; empty
// when the file is not found.
std::string HostDefaultPrograms();

// The user's configuration file of the host.
std::string HostConfigPath();

// True when the host is installed (its program is on the PATH).
bool ScreenSaverHostInstalled();

// Registers the installed file with the host (run by itself, or played by
// `player`), selects it, and starts the host's settings program without
// waiting. False, with nothing done, without a host.
bool HandOverToScreenSaverHost(const std::string& installedFile, const std::string& displayName,
                               const std::string& player = {});

// Removes the installed file from the host's configuration, when there is
// one. False when the configuration could not be written.
bool RemoveFromScreenSaverHost(const std::string& installedFile);

} // namespace scr
