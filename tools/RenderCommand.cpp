// scrtool render FILE -o OUT [--size WxH] [--fps N] [--duration SECONDS | --loops N] [--seed K]:
// the show of a packed screen saver as a video file (WebM or MP4).
#include "tools/CommandArguments.h"
#include "tools/ShowRenderer.h"
#include "tools/TransitionImages.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace scr {

namespace {

constexpr const char* kUsage =
    "usage: scrtool render FILE -o OUT [--size WxH] [--fps N] [--duration SECONDS | --loops N] [--seed K]\n"
    "\n"
    "Renders the show of the packed screen saver FILE, as the player shows it\n"
    "full screen, to the video OUT: .webm (VP9 and Opus) or .mp4 (H.264 and AAC).\n"
    "The sound track is the package's music as the show plays it.\n"
    "\n"
    "  -o OUT              the video file to write (replaced when it exists)\n"
    "  --size WxH          the video's size, even numbers (default 1920x1080)\n"
    "  --fps N             frames a second, 1..120 (default 30)\n"
    "  --duration SECONDS  the video's length\n"
    "  --loops N           or this many passes through the items (default 1)\n"
    "  --seed K            seeds every random choice of the show (default 1);\n"
    "                      the same file and seed give the same video\n";

int Usage(const std::string& message) {
    std::fprintf(stderr, "scrtool render: %s\n\n%s", message.c_str(), kUsage);
    return 2;
}

std::optional<double> ParseSeconds(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0) || value > kMaxRenderSeconds)
        return std::nullopt;
    return value;
}

} // namespace

int RunRenderCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    CommandArguments arguments({}, {"-o", "--size", "--fps", "--duration", "--loops", "--seed"});
    if (!arguments.parse(argc, argv, 1, 1)) return Usage(arguments.error());
    RenderSettings settings;
    settings.package = arguments.positional()[0];
    const auto output = arguments.option("-o");
    if (!output || output->empty()) return Usage("needs -o OUT");
    settings.output = *output;
    const auto container = ContainerForPath(settings.output);
    if (!container) return Usage("OUT must end in .webm or .mp4, not '" + settings.output + "'");
    settings.container = *container;
    if (const auto size = arguments.option("--size")) {
        const auto screen = ParseScreenArgument(*size);
        if (!screen || screen->width < 16 || screen->height < 16 || screen->width > 7680 ||
            screen->height > 4320 || screen->width % 2 != 0 || screen->height % 2 != 0)
            return Usage("--size wants WIDTHxHEIGHT, even numbers from 16x16 to 7680x4320, not '" + *size +
                         "'");
        settings.width = screen->width;
        settings.height = screen->height;
    }
    if (const auto fps = arguments.option("--fps")) {
        const auto value = ParseIntArgument(*fps, 1, 120);
        if (!value) return Usage("--fps wants a number from 1 to 120");
        settings.fps = *value;
    }
    const auto duration = arguments.option("--duration");
    const auto loops = arguments.option("--loops");
    if (duration && loops) return Usage("give --duration or --loops, not both");
    if (duration) {
        settings.durationSeconds = ParseSeconds(*duration);
        if (!settings.durationSeconds)
            return Usage("--duration wants a number of seconds above 0, up to 12 hours");
    }
    if (loops) {
        const auto value = ParseIntArgument(*loops, 1, 10000);
        if (!value) return Usage("--loops wants a number from 1 to 10000");
        settings.loops = *value;
    }
    if (const auto seed = arguments.option("--seed")) {
        const auto value = ParseIntArgument(*seed, 0, 2147483647);
        if (!value) return Usage("--seed wants a number from 0 to 2147483647");
        settings.seed = static_cast<uint32_t>(*value);
    }
    return RenderShow(settings);
}

} // namespace scr
