#include "tools/ToolCommands.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string_view>

#ifndef SCR_VERSION
#define SCR_VERSION "0"
#endif

namespace scr {

int RunPackCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunExportCommand(int argc, char** argv);
int RunFrameCommand(int argc, char** argv);
int RunSheetCommand(int argc, char** argv);
int RunPlayCommand(int argc, char** argv);
int RunInstallCommand(int argc, char** argv);
int RunUnpackCommand(int argc, char** argv);
int RunDiffCommand(int argc, char** argv);
int RunRenderCommand(int argc, char** argv);
int RunSaverCommand(int argc, char** argv);

namespace {

struct ToolCommand {
    const char* name;
    const char* summary;
    // Receives the arguments after the command name (argv[0] is the command).
    int (*run)(int argc, char** argv);
};

// One line per sub-command; each lives in its own tools/<Name>Command.cpp.
constexpr ToolCommand kCommands[] = {
    {"pack", "build a packed screen saver from a manifest", RunPackCommand},
    {"info", "show what a packed screen saver holds", RunInfoCommand},
    {"export", "save the pictures, movies and music of a packed screen saver", RunExportCommand},
    {"unpack", "turn a packed screen saver into files and a manifest: unpack FILE DIR", RunUnpackCommand},
    {"diff", "name what differs between the packages of two screen savers: diff A B", RunDiffCommand},
    {"frame", "compose one frame of a picture transition as PNG", RunFrameCommand},
    {"sheet", "draw all 128 transition styles on one labelled sheet", RunSheetCommand},
    {"render", "render a packed screen saver to a video: render FILE -o OUT.webm|OUT.mp4", RunRenderCommand},
    {"play", "play a packed screen saver: play FILE [/s | /p WINDOW | /c]", RunPlayCommand},
    {"install", "start the installer wizard for a packed screen saver: install FILE", RunInstallCommand},
    {"saver",
     "show a screen saver when a Wayland session is idle: saver run|enable FILE, saver disable|status",
     RunSaverCommand},
    {nullptr, nullptr, nullptr},
};

void PrintUsage(std::FILE* out) {
    std::fputs("usage: scrtool <command> [arguments]\n"
               "\n"
               "Builds, inspects and exports packed screen savers.\n"
               "\n"
               "commands:\n",
               out);
    for (const ToolCommand& command : kCommands)
        if (command.name) std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    std::fputs("\n"
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
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (name == "--version") {
        std::printf("scrtool %s\n", SCR_VERSION);
        return 0;
    }
    for (const ToolCommand& command : kCommands) {
        if (!command.name || name != command.name) continue;
        // The command boundary: whatever a command lets through ends it with
        // a message and status 1, never with an abort.
        try {
            return command.run(argc - 1, argv + 1);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "scrtool %s: %s\n", command.name, error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "scrtool: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}

} // namespace scr
