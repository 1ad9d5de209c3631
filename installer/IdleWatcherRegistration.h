#pragma once
// The idle watcher (`scrtool saver run FILE`) registered for the user's
// Wayland sessions. One screen saver per user is active: its registration is
// an XDG autostart entry, $XDG_CONFIG_HOME/autostart/scrplayer-saver.desktop,
// which GNOME and Plasma (and most other desktops) start with the session,
// with or without systemd (systemd turns such entries into units itself).
// sway starts no autostart entries: its users add an `exec` line to their
// config, which `scrtool saver enable` prints.

#include <optional>
#include <string>
#include <vector>

namespace scr {

struct IdleWatcherRegistration {
    std::string file;               // the screen saver, an absolute path
    std::optional<int> idleSeconds; // none: the desktop's own idle time
};

// The autostart entry's path.
std::string IdleWatcherEntryPath();

// The scrtool that runs the watcher: the running scrtool, else the one
// beside the running program, else the one on the PATH; empty when none.
std::string ScrtoolProgram();

// The watcher's command line, program first.
std::vector<std::string> IdleWatcherCommand(const std::string& scrtool,
                                            const IdleWatcherRegistration& registration);

// The autostart entry's text.
std::string IdleWatcherEntryText(const std::string& scrtool, const IdleWatcherRegistration& registration);

// The line a sway config needs to run the watcher.
std::string SwayExecLine(const std::string& scrtool, const IdleWatcherRegistration& registration);

// The registration in the autostart entry; none when there is none.
std::optional<IdleWatcherRegistration> ReadIdleWatcherRegistration();

// Writes the autostart entry (complete or not at all). False when it cannot be written.
bool WriteIdleWatcherRegistration(const std::string& scrtool, const IdleWatcherRegistration& registration);

// Removes the autostart entry. True when none is left.
bool RemoveIdleWatcherRegistration();

// Whether this is a Wayland session, and whether its compositor is sway.
bool OnWaylandSession();
bool OnSway();

// What enabling did, as lines for the user.
struct IdleWatcherOutcome {
    bool ok = false;
    std::vector<std::string> lines;
};

// Registers the watcher for `registration`, ends a watcher that runs (there
// is one per user) and, on a Wayland session, starts the new one at once.
// On sway the lines include the config line to add.
IdleWatcherOutcome EnableIdleWatcher(const IdleWatcherRegistration& registration);

// Removes the registration and ends the running watcher; with `onlyFor`,
// only when the registration or the running watcher names that file.
IdleWatcherOutcome DisableIdleWatcher(const std::string& onlyFor = {});

} // namespace scr
