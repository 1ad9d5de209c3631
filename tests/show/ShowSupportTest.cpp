// Home page address, transition statistics and termination signals.
#include "platform/gui/TerminationSignals.h"
#include "show/HomePage.h"
#include "show/TransitionStats.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <regex>

namespace scr {
namespace {

TEST(HomePageTest, OnlyAddressesBeginningWithHttpAreOpened) {
    const struct {
        const char* stored;
        const char* address;
    } cases[] = {
        {"http://example.org/", "http://example.org/"},
        {"  https://example.org \t\r\n", "https://example.org"},
        {"www.example.org", ""},
        {"HTTP://example.org", ""}, // the prefix is case-sensitive
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HomePageAddress(c.stored), c.address) << c.stored;
}

TEST(TransitionStatsTest, AppendsALineWhenATransitionStartsAndOneWhenItEnds) {
    test::TempDir dir;
    const std::string path = dir.file("stats.txt");
    setenv("SCRPLAYER_STATS", path.c_str(), 1);
    TransitionStats stats;
    stats.Start(17);
    for (int i = 0; i < 25; ++i)
        stats.CountFrame();
    stats.Finish();
    stats.Finish(); // nothing started: no line
    stats.Start(3);
    stats.Finish();
    const auto bytes = test::ReadFile(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_TRUE(std::regex_match(text, std::regex("transition-start style=17\n"
                                                  "transition style=17 frames=25 ms=\\d+\n"
                                                  "transition-start style=3\n"
                                                  "transition style=3 frames=0 ms=\\d+\n")))
        << text;
    unsetenv("SCRPLAYER_STATS");
}

TEST(TerminationSignalsTest, SignalsArriveOnTheEventLoop) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        int calls = 0;
        TerminationSignals handler([&] { ++calls; });
        ::raise(signal);
        EXPECT_EQ(calls, 0); // never inside the signal handler
        QElapsedTimer timer;
        timer.start();
        while (calls == 0 && timer.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(calls, 1) << signal;
        EXPECT_TRUE(handler.received());
    }
}

} // namespace
} // namespace scr
