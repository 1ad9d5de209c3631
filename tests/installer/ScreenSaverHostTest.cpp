#include "installer/ScreenSaverHost.h"

#include "tests/installer/InstallerFixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

const std::string kCommand = "/home/u/.local/share/scrplayer/system/Waves.scr -root";
const std::string kEntry = "\t\t\t\t\"Waves\"  " + kCommand;

// A configuration as the host writes it: every entry ends with "\n\" and a
// blank line closes the list.
const std::string kHostWritten = "# XScreenSaver Preferences File\n"
                                 "mode:\t\tone\n"
                                 "selected:\t1\n"
                                 "programs:\t\t\t\t\t\t\t      \\\n"
                                 "\t\t\t\tmaze -root\t\t\t\t    \\n\\\n"
                                 "  GL: \t\t\t\tsuperquadrics -root\t\t\t    \\n\\\n"
                                 "-\t\t\t\txmatrix -root\t\t\t\t    \\n\\\n"
                                 "\n"
                                 "\n"
                                 "pointerHysteresis:\t10\n";

TEST(ScreenSaverHost, AddsTheProgramAtTheEndOfTheListKeepingTheRest) {
    struct Case {
        const char* what;
        std::string config;
        std::string expected;
    };
    const Case cases[] = {
        {"as the host writes it", kHostWritten,
         "# XScreenSaver Preferences File\nmode:\t\tone\nselected:\t1\nprograms:\t\t\t\t\t\t\t      \\\n"
         "\t\t\t\tmaze -root\t\t\t\t    \\n\\\n  GL: \t\t\t\tsuperquadrics -root\t\t\t    \\n\\\n"
         "-\t\t\t\txmatrix -root\t\t\t\t    \\n\\\n" +
             kEntry + "\t\t\\n\\\n\n\npointerHysteresis:\t10\n"},
        {"last entry without a continuation", "programs: \\\n  maze -root \\n\\\n  zoom -root\nmode: one\n",
         "programs: \\\n  maze -root \\n\\\n  zoom -root \\n \\\n" + kEntry + " \\n\nmode: one\n"},
        {"whole list on one line", "a: 1\nprograms: maze -root\n",
         "a: 1\nprograms: maze -root \\n \\\n" + kEntry + " \\n\n"},
        {"empty list", "programs:\n", "programs: \\\n" + kEntry + " \\n\n"},
        {"text ends inside the list", "programs: \\\n  maze -root \\n\\",
         "programs: \\\n  maze -root \\n\\\n" + kEntry + " \\n\n"},
        {"no list at all", "mode: one", "mode: one\n\nprograms:\t\\\n" + kEntry + "\t\t\\n\\\n\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddHostProgram(c.config, kCommand, "Waves"), c.expected) << c.what;
}

TEST(ScreenSaverHost, AddsOnceAndTakesDefaultsForANewList) {
    const std::string once = AddHostProgram(kHostWritten, kCommand, "Waves");
    EXPECT_EQ(AddHostProgram(once, kCommand, "Waves again"), once);
    const std::string defaults = "programs:\t\\\n\t\tmaze -root \\n\\\n\t\tzoom -root \\n\\\n\n";
    EXPECT_EQ(AddHostProgram("", kCommand, "Waves", defaults),
              "programs:\t\\\n\t\tmaze -root \\n\\\n\t\tzoom -root \\n\\\n" + kEntry + "\t\t\\n\\\n\n");
    // A "programs:" text inside another resource's value is not the list.
    const std::string tricky = "text: \\\nprograms: x\nprograms: maze -root\n";
    EXPECT_EQ(AddHostProgram(tricky, kCommand, "W"),
              "text: \\\nprograms: x\nprograms: maze -root \\n \\\n\t\t\t\t\"W\"  " + kCommand + " \\n\n");
}

TEST(ScreenSaverHost, CommandQuotesThePathForTheShell) {
    EXPECT_EQ(HostCommandFor("/a/Waves.scr"), "/a/Waves.scr -root");
    EXPECT_EQ(HostCommandFor("/a/My Waves.scr"), "'/a/My Waves.scr' -root");
    EXPECT_EQ(HostCommandFor("/a/it's $x.scr"), "'/a/it'\\''s $x.scr' -root");
    // The displayed name loses what would break the entry; a backslash of the path is kept escaped.
    EXPECT_EQ(AddHostProgram("programs:\n", "'/a\\b.scr' -root", "say \"hi\"\n"),
              "programs: \\\n\t\t\t\t\"say hi\"  '/a\\\\b.scr' -root \\n\n");
}

// With a host on the PATH the configuration gains the entry and the settings
// program starts; without one nothing happens.
TEST(ScreenSaverHost, HandOverRegistersAndStartsTheSettings) {
    test::PrivateHome home;
    const std::string config = home.home() + "/.xscreensaver";
    EXPECT_FALSE(HandOverToScreenSaverHost("/x/Waves.scr", "Waves"));
    EXPECT_FALSE(fs::exists(config));

    home.AddProgram("xscreensaver", "exit 0");
    home.AddProgram("xscreensaver-settings", "echo started > '" + home.file("settings-started") + "'");
    test::WriteFile(config, std::vector<uint8_t>(kHostWritten.begin(), kHostWritten.end()));
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(HandOverToScreenSaverHost("/x/Waves.scr", "Waves"));
    const auto text = test::ReadFile(config);
    EXPECT_EQ(std::string(text.begin(), text.end()),
              AddHostProgram(kHostWritten, "/x/Waves.scr -root", "Waves"));
    EXPECT_EQ(fs::status(config).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    QElapsedTimer clock;
    clock.start();
    while (!fs::exists(home.file("settings-started")) && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_TRUE(fs::exists(home.file("settings-started")));
}

TEST(ScreenSaverHost, LinkedConfigurationIsChangedWhereItLives) {
    test::PrivateHome home;
    home.AddProgram("xscreensaver", "exit 0");
    const std::string real = home.file("dotfiles-xscreensaver");
    test::WriteFile(real, std::vector<uint8_t>(kHostWritten.begin(), kHostWritten.end()));
    fs::create_symlink(real, home.home() + "/.xscreensaver");
    ASSERT_TRUE(HandOverToScreenSaverHost("/x/Waves.scr", "Waves"));
    EXPECT_TRUE(fs::is_symlink(home.home() + "/.xscreensaver"));
    const auto text = test::ReadFile(real);
    EXPECT_NE(std::string(text.begin(), text.end()).find("/x/Waves.scr -root"), std::string::npos);
}

} // namespace
} // namespace scr
