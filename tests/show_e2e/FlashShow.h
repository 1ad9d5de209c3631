#pragma once
// Helpers of the end-to-end tests that play Flash shows: generated movies,
// a package packed from a list of items, the Flash lines of the stats log and
// the web engine's processes below the player.

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace scr::test {

// Writes a generated movie (a square crossing the stage) to `path`.
bool GenerateSquareMovie(const std::string& path, int frames, int fps);

// One item of a packed show; `kind` is "flash" or "picture".
struct ShowItemSpec {
    std::string file;
    std::string kind = "flash";
    int displaySeconds = 1;
    std::string moreFields = ""; // more fields of the item, as JSON ("name": value, ...)
};

// Packs the items, in this order, into `folder`/show.scr (design screen
// 1280 x 800, each item at 160, 100 in 960 x 600); its path, or "" with
// `error` set.
std::string PackShow(const std::string& folder, const std::vector<ShowItemSpec>& items, std::string* error);

// The environment of a player on the X display `display`: X11, temporary
// files in `tmpDir`, runtime, settings and data folders below `folder`, the
// stats log in `statsFile`.
std::map<std::string, std::string> PlayerEnvironment(const std::string& display, const std::string& folder,
                                                     const std::string& tmpDir, const std::string& statsFile);

// The lines of a stats log that start with `prefix`, in order.
std::vector<std::string> StatsLinesStartingWith(const std::string& statsFile, const std::string& prefix);

// The web engine's renderer processes below the player `player`: those whose
// command line says --type=renderer and those forked by a zygote process
// that have no children of their own (the zygote's forks keep its command
// line; with the sandbox a zygote also forks the zygote proper).
std::vector<pid_t> RendererProcesses(pid_t player);

} // namespace scr::test
