// scrtool play FILE [screen-saver arguments]: runs the player with FILE as the
// package source, so a packed screen saver made elsewhere plays here without
// being rebuilt. The arguments choose the mode as they do for the player
// itself (/s full screen, /p ID preview, none: configuration). FILE may also
// be a Flash movie file (a projector, another maker's wrapper, a bare movie,
// a NAME.app folder): it plays as a one-item show of its movie.
// scrtool install FILE: starts the installer wizard for FILE, whatever its
// name and package kind (the desktop's "Install" action on a .scr file); a
// movie file, which cannot run by itself, is registered with the
// screen-saver hosts to be played by scrtool (MovieInstall.h).
#include "package/ScreenSaverFileRecogniser.h"
#include "startup/Dispatch.h"
#include "tools/MovieInstall.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace scr {
namespace {

// 0 when FILE (argv[1]) holds a package or a movie to use as the package
// source, with what it is in `file`. Otherwise says why and gives the exit
// status: 2 without a FILE, 1 when it is not a readable file or holds neither.
int UsePackageFile(const char* command, const char* usage, int argc, char** argv, RecognisedFile& file) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scrtool %s %s\n", command, usage);
        return 2;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(argv[1], ec) && !IsMacAppFolder(argv[1])) {
        std::fprintf(stderr, "scrtool %s: '%s' is not a readable file\n", command, argv[1]);
        return 1;
    }
    file = RecogniseScreenSaverFile(argv[1]);
    if (file.kind == ScreenSaverFileKind::None) {
        std::fprintf(stderr, "scrtool %s: '%s' holds no packed screen saver, and %s\n", command, argv[1],
                     NoMovieMessage(file).c_str());
        return 1;
    }
    return 0;
}

} // namespace

int RunPlayCommand(int argc, char** argv) {
    RecognisedFile file;
    if (int status = UsePackageFile("play", "FILE [/s | /p WINDOW | /c]", argc, argv, file)) return status;
    std::error_code ec;
    // The player sees the screen-saver arguments as its own command line.
    std::vector<char*> arguments{argv[0]};
    for (int i = 2; i < argc; ++i)
        arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    return RunProgram(static_cast<int>(arguments.size()) - 1, arguments.data(),
                      std::filesystem::absolute(argv[1], ec).string());
}

int RunInstallCommand(int argc, char** argv) {
    RecognisedFile file;
    if (int status = UsePackageFile("install", "FILE", argc, argv, file)) return status;
    std::error_code ec;
    if (file.HasMovie()) return InstallMovieFile(file);
    std::vector<char*> arguments{argv[0], nullptr};
    return RunInstallerProgram(1, arguments.data(), std::filesystem::absolute(argv[1], ec).string());
}

} // namespace scr
