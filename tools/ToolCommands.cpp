#include "tools/ToolCommands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#ifndef SCR_VERSION
#define SCR_VERSION "0"
#endif

namespace scr {
namespace {

void PrintUsage(std::FILE* out) {
    std::fputs("usage: scrtool <command> [arguments]\n"
               "\n"
               "Builds, inspects and exports packed screen savers.\n"
               "\n"
               "options:\n"
               "  --help       show this text\n"
               "  --version    show the version\n",
               out);
}

} // namespace

int RunTool(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("scrtool %s\n", SCR_VERSION);
        return 0;
    }
    std::fprintf(stderr, "scrtool: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}

} // namespace scr
