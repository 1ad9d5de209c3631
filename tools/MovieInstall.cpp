#include "tools/MovieInstall.h"

#include "installer/ScreenSaverHandOver.h"
#include "package/MoviePackage.h"
#include "platform/ExecutablePath.h"

#include <cstdio>
#include <filesystem>

namespace scr {
namespace {

std::string KindDescription(ScreenSaverFileKind kind) {
    switch (kind) {
    case ScreenSaverFileKind::WindowsProjector:
        return "a Windows Flash projector";
    case ScreenSaverFileKind::LinuxProjector32:
        return "a 32-bit Linux Flash projector";
    case ScreenSaverFileKind::LinuxProjector64:
        return "a 64-bit Linux Flash projector";
    case ScreenSaverFileKind::MacApp:
        return "a Mac Flash projector";
    case ScreenSaverFileKind::PeResource:
        return "a Windows program that carries a Flash movie among its resources";
    case ScreenSaverFileKind::EmbeddedSwf:
        return "a program that carries a Flash movie";
    case ScreenSaverFileKind::Swf:
        return "a Flash movie";
    default:
        return "a file";
    }
}

} // namespace

int InstallMovieFile(const RecognisedFile& file) {
    std::error_code ec;
    const std::string path = std::filesystem::canonical(file.path, ec).string();
    if (ec) {
        std::fprintf(stderr, "scrtool install: cannot resolve %s: %s\n", file.path.c_str(),
                     ec.message().c_str());
        return 1;
    }
    const std::string player = ExecutablePath();
    const std::string name = MovieScreenSaverName(path);
    const FoundMovie& movie = *file.movie;
    std::printf("%s is %s (%s), which cannot run by itself on Linux.\n", path.c_str(),
                KindDescription(file.kind).c_str(), std::string(KindWord(file.kind)).c_str());
    std::printf("Its movie (%d x %d, %d frames at %g fps) is installed as the screen saver \"%s\", played "
                "where the file lies by:\n  %s play %s -root\n",
                movie.frame.width, movie.frame.height, movie.frame.frameCount, movie.frame.frameRate,
                name.c_str(), player.c_str(), path.c_str());
    const std::vector<std::string> registered = HandOverToScreenSaverHosts({path, name, player});
    if (registered.empty())
        std::printf(
            "No screen-saver host (xscreensaver, mate-screensaver, xfce4-screensaver) is installed, so "
            "nothing was registered. Show it by hand with: %s play %s /s\n",
            player.c_str(), path.c_str());
    for (const std::string& line : registered)
        std::printf("Registered with %s\n", line.c_str());
    std::printf("Nothing was copied: moving or deleting the file ends the screen saver. "
                "To remove it: %s play %s -U\n",
                player.c_str(), path.c_str());
    return 0;
}

} // namespace scr
