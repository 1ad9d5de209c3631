#pragma once
// The folders the program may be installed under (each with bin/, lib/ and
// share/ below it), for finding its companion files from any copy of the
// player: a packed screen saver can lie anywhere, so the folder of the
// running file alone does not tell where the rest was installed.

#include <string>
#include <vector>

namespace scr {

// In this order, each once, without trailing delimiters:
//   1. the folder above the running executable's folder (an installed player
//      started as itself, or a relocated install tree);
//   2. the folder above the folder of the first `scrplayer` on $PATH;
//   3. the folder above $XDG_DATA_HOME (~/.local for a per-user install);
//   4. the prefix the program was built for;
//   5. the folder above each $XDG_DATA_DIRS entry that ends in /share;
//   6. ~/.local, /usr/local, /usr.
std::vector<std::string> InstallPrefixes();

// The prefix the program was built for ("" when the build named none).
std::string ConfiguredInstallPrefix();

} // namespace scr
