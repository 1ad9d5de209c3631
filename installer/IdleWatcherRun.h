#pragma once
// `scrtool saver run FILE`: the idle watcher in the foreground, for as long
// as the session lasts (see SaverWatcher.h). Exit statuses:
//   0   asked to end (`scrtool saver disable`, SIGTERM, SIGINT, SIGHUP)
//   1   the compositor or the session bus went away, or FILE cannot be read
//   3   a watcher runs already for this user
//   69  no idle source here: an X11 session (its screen-saver hosts start
//       the show there), or a compositor that reports no idleness
// Every status but 0 comes with a line on standard error.

#include <optional>
#include <string>

namespace scr {

inline constexpr int kExitWatcherRunning = 3;
inline constexpr int kExitNoIdleSource = 69;

// Runs the watcher for `file`, with `idleSeconds` or the desktop's own idle time.
int RunIdleWatcher(const std::string& file, std::optional<int> idleSeconds);

// Why `file` cannot be shown as a screen saver now; empty when it can.
std::string ScreenSaverFileProblem(const std::string& file);

} // namespace scr
