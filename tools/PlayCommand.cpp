// scrtool play FILE [screen-saver arguments]: runs the player with FILE as the
// package source, so a packed screen saver made elsewhere plays here without
// being rebuilt. The arguments choose the mode as they do for the player
// itself (/s full screen, /p ID preview, none: configuration).
#include "startup/Dispatch.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace scr {

int RunPlayCommand(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: scrtool play FILE [/s | /p WINDOW | /c]\n", stderr);
        return 2;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(argv[1], ec)) {
        std::fprintf(stderr, "scrtool play: '%s' is not a readable file\n", argv[1]);
        return 1;
    }
    // The player sees the screen-saver arguments as its own command line.
    std::vector<char*> arguments{argv[0]};
    for (int i = 2; i < argc; ++i)
        arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    return RunProgram(static_cast<int>(arguments.size()) - 1, arguments.data(),
                      std::filesystem::absolute(argv[1], ec).string());
}

} // namespace scr
