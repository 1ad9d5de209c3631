// scrtool saver run|enable|disable|status: the screen saver of Wayland
// sessions, whose desktops start no third-party savers on idle. `run` waits
// in the foreground and shows FILE whenever the user is idle (see
// installer/IdleWatcherRun.h for its exit statuses); `enable` registers it
// for the user's sessions, `disable` removes it, `status` asks the running
// watcher what it does.
#include "installer/IdleWatcherRegistration.h"
#include "installer/IdleWatcherRun.h"
#include "installer/SaverWatcherClient.h"
#include "tools/CommandArguments.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace scr {
namespace {

constexpr int kMaxIdleSeconds = 86400;

void PrintUsage(std::FILE* out) {
    std::fputs("usage: scrtool saver run FILE [--after SECONDS]\n"
               "       scrtool saver enable FILE [--after SECONDS]\n"
               "       scrtool saver disable\n"
               "       scrtool saver status\n"
               "\n"
               "Shows FILE's screen saver when a Wayland session has been idle for SECONDS\n"
               "(1 to 86400; by default the desktop's own idle time less 30 s, at least 60 s,\n"
               "else 300 s), and ends it when the user is back.\n",
               out);
}

// SECONDS of --after: a whole number 1..86400.
std::optional<int> IdleSecondsArgument(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMaxIdleSeconds)
        return std::nullopt;
    return value;
}

// Parses FILE [--after SECONDS]; false (after saying why) on a wrong argument.
bool ParseFileAndIdleTime(const char* command, int argc, char** argv, IdleWatcherRegistration& out) {
    CommandArguments arguments({}, {"--after"});
    if (!arguments.parse(argc, argv, 1, 1)) {
        std::fprintf(stderr, "scrtool saver %s: %s\n", command, arguments.error().c_str());
        PrintUsage(stderr);
        return false;
    }
    if (const auto after = arguments.option("--after")) {
        out.idleSeconds = IdleSecondsArgument(*after);
        if (!out.idleSeconds) {
            std::fprintf(stderr,
                         "scrtool saver %s: --after takes a whole number of seconds from 1 to %d, not '%s'\n",
                         command, kMaxIdleSeconds, after->c_str());
            return false;
        }
    }
    std::error_code ec;
    out.file = std::filesystem::absolute(arguments.positional()[0], ec).lexically_normal().string();
    return true;
}

void PrintLines(const IdleWatcherOutcome& outcome) {
    for (const std::string& line : outcome.lines)
        std::printf("%s\n", line.c_str());
}

int Status() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const auto running = AskSaverWatcher(bus);
    if (running) {
        std::printf("running for: %s\nidle source: %s\nidle time: %u s\nshowing: %s\n",
                    qPrintable(running->file), qPrintable(running->idleSource), running->idleSeconds,
                    running->showing ? "yes" : "no");
    } else {
        std::printf("no watcher runs%s\n", bus.isConnected() ? "" : " (no session bus to ask)");
    }
    if (const auto registered = ReadIdleWatcherRegistration())
        std::printf("registered: %s%s (%s)\n", registered->file.c_str(),
                    registered->idleSeconds
                        ? (" after " + std::to_string(*registered->idleSeconds) + " s").c_str()
                        : "",
                    IdleWatcherEntryPath().c_str());
    else
        std::printf("registered: none\n");
    return running ? 0 : kExitWatcherRunning;
}

} // namespace

int RunSaverCommand(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string_view action = argv[1];
    if (action == "--help" || action == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    if (action == "run") {
        IdleWatcherRegistration registration;
        if (!ParseFileAndIdleTime("run", argc - 1, argv + 1, registration)) return 2;
        return RunIdleWatcher(registration.file, registration.idleSeconds);
    }
    int qtArgc = 1;
    char name[] = "scrtool";
    char* qtArgv[] = {name, nullptr};
    QCoreApplication application(qtArgc, qtArgv);
    if (action == "enable") {
        IdleWatcherRegistration registration;
        if (!ParseFileAndIdleTime("enable", argc - 1, argv + 1, registration)) return 2;
        if (const std::string problem = ScreenSaverFileProblem(registration.file); !problem.empty()) {
            std::fprintf(stderr, "scrtool saver enable: %s\n", problem.c_str());
            return 1;
        }
        const IdleWatcherOutcome outcome = EnableIdleWatcher(registration);
        PrintLines(outcome);
        return outcome.ok ? 0 : 1;
    }
    if (action == "disable" || action == "status") {
        if (argc != 2) {
            std::fprintf(stderr, "scrtool saver %s takes no arguments\n", argv[1]);
            return 2;
        }
        if (action == "status") return Status();
        const IdleWatcherOutcome outcome = DisableIdleWatcher();
        PrintLines(outcome);
        return outcome.ok ? 0 : 1;
    }
    std::fprintf(stderr, "scrtool saver: unknown action '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}

} // namespace scr
