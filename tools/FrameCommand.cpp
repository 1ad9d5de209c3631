// scrtool frame: one frame of a picture transition, written as PNG.
#include "tools/TransitionImages.h"
#include "transitions/TransitionFrame.h"

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace scr {
namespace {

constexpr const char* kUsage =
    "usage: scrtool frame --style N --progress P [--step S] [--seed K] OLD NEW -o OUT.png\n"
    "\n"
    "Composes the frame of transition style N (0..127) at progress P (0..100)\n"
    "from the picture OLD to the picture NEW (PNG or JPEG) and writes it as PNG.\n"
    "NEW sets the frame's size; OLD is stretched to it. --step (1..100, default 4)\n"
    "sets the look-ahead of the strip styles; --seed (default 1) seeds the random\n"
    "styles. Style 0 is the instant cut.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "scrtool frame: %s\n", message.c_str());
    return 2;
}

} // namespace

int RunFrameCommand(int argc, char** argv) {
    std::optional<int> style, progress, step = 4, seed = 1;
    std::string output;
    std::vector<std::string> pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool takesValue =
            arg == "--style" || arg == "--progress" || arg == "--step" || arg == "--seed" || arg == "-o";
        if (takesValue) {
            if (i + 1 >= argc) return Fail("missing value after " + arg);
            const std::string value = argv[++i];
            if (arg == "--style" && !(style = ParseIntArgument(value, 0, 127)))
                return Fail("--style wants a number from 0 to 127");
            if (arg == "--progress" && !(progress = ParseIntArgument(value, 0, 100)))
                return Fail("--progress wants a number from 0 to 100");
            if (arg == "--step" && !(step = ParseIntArgument(value, 1, 100)))
                return Fail("--step wants a number from 1 to 100");
            if (arg == "--seed" && !(seed = ParseIntArgument(value, 0, 2147483647)))
                return Fail("--seed wants a non-negative number");
            if (arg == "-o") output = value;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return Fail("unknown option " + arg + "\n\n" + kUsage);
        } else {
            pictures.push_back(arg);
        }
    }
    if (!style || !progress || output.empty() || pictures.size() != 2)
        return Fail(std::string("needs --style, --progress, OLD, NEW and -o\n\n") + kUsage);

    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    std::string error;
    const auto oldPicture = LoadPictureFile(pictures[0], error);
    if (!oldPicture) return Fail(error);
    const auto newPicture = LoadPictureFile(pictures[1], error);
    if (!newPicture) return Fail(error);

    SeededRandom random(static_cast<uint32_t>(*seed));
    const Bitmap24 frame = RenderTransitionFrame(*oldPicture, *newPicture, *style, *progress, *step, random);
    if (!SavePng(BitmapToImage(frame), output, error)) {
        std::fprintf(stderr, "scrtool frame: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace scr
