#pragma once
// Diagnostics for users and tests: when the environment variable
// SCRPLAYER_STATS names a file, parts of the show append one line each to it
// (for example "flash frames=24 last=23 playing=0"). Without the variable
// nothing is written and nothing costs more than one getenv.

#include <string_view>

namespace scr {

// True when SCRPLAYER_STATS names a file.
bool StatsEnabled();
// Appends the line and a line feed with one write, so lines of several
// writers never interleave. Failures are ignored: diagnostics never disturb the show.
void AppendStatsLine(std::string_view line);

} // namespace scr
