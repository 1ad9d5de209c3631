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

// The host's own default list, as its package installs it.
std::string RealDefaults() {
    const std::string defaults = HostDefaultPrograms();
    EXPECT_FALSE(defaults.empty())
        << "the xscreensaver package is missing (scripts/install-deps.sh installs it)";
    return defaults;
}

// Its entries counted independently of the code under test: every entry of
// the package's list runs a program with "--root".
std::size_t CountEntries(const std::string& list) {
    std::size_t count = 0;
    for (std::size_t at = list.find("--root"); at != std::string::npos; at = list.find("--root", at + 1))
        ++count;
    return count;
}

TEST(ScreenSaverHost, NewEntryOfTheHostsOwnListIsSelected) {
    const std::string defaults = RealDefaults();
    ASSERT_GT(CountEntries(defaults), 100u);
    const std::string config = AddHostProgram("", kCommand, "Waves", defaults);
    const std::string file = "/home/u/.local/share/scrplayer/system/Waves.scr";
    EXPECT_EQ(FindHostProgram(config, file), CountEntries(defaults));
    EXPECT_EQ(FindHostProgram(config, "maze"), 0u);

    const std::string selected = SelectHostProgram(config, file);
    EXPECT_EQ(selected, "mode:\t\tone\nselected:\t" + std::to_string(CountEntries(defaults)) + "\n" + config);
    EXPECT_EQ(SelectHostProgram(config, "/elsewhere/Waves.scr"), config) << "no entry runs it";
}

TEST(ScreenSaverHost, SelectingKeepsTheLinesSpacingAndEveryOtherLine) {
    const std::string config = AddHostProgram(kHostWritten, kCommand, "Waves");
    std::string expected = config;
    expected.replace(expected.find("selected:\t1"), 11, "selected:\t3");
    EXPECT_EQ(SelectHostProgram(config, "/home/u/.local/share/scrplayer/system/Waves.scr"), expected);
    std::string blank = config;
    blank.replace(blank.find("mode:\t\tone"), 10, "mode:  random");
    std::string expectedBlank = blank;
    expectedBlank.replace(expectedBlank.find("mode:  random"), 13, "mode:  one");
    expectedBlank.replace(expectedBlank.find("selected:\t1"), 11, "selected:\t3");
    EXPECT_EQ(SelectHostProgram(blank, "/home/u/.local/share/scrplayer/system/Waves.scr"), expectedBlank);
}

TEST(ScreenSaverHost, RemovingTakesTheEntryAndMendsTheSelection) {
    const std::string file = "/home/u/.local/share/scrplayer/system/Waves.scr";
    const std::string added = AddHostProgram(kHostWritten, kCommand, "Waves");
    auto withSelection = [](std::string text, const std::string& mode, const std::string& selected) {
        text.replace(text.find("mode:\t\tone"), 10, "mode:\t\t" + mode);
        text.replace(text.find("selected:\t1"), 11, "selected:\t" + selected);
        return text;
    };
    // Ours in the middle of the list: the entry after it moves up by one.
    std::string middle = kHostWritten;
    middle.insert(middle.find("-\t\t\t\txmatrix"), kEntry + "\t\t\\n\\\n");
    struct Case {
        const char* what;
        std::string config;
        std::string expected;
    };
    const Case cases[] = {
        {"another entry selected", added, kHostWritten},
        {"ours selected", withSelection(added, "one", "3"), withSelection(kHostWritten, "random", "-1")},
        {"ours selected, blanking only", withSelection(added, "blank", "3"),
         withSelection(kHostWritten, "blank", "-1")},
        {"selection after ours", withSelection(middle, "one", "3"), withSelection(kHostWritten, "one", "2")},
        {"selection before ours", withSelection(middle, "one", "0"), withSelection(kHostWritten, "one", "0")},
        {"not in the list", kHostWritten, kHostWritten},
        {"last entry without a continuation", "programs: \\\n  maze -root \\n\\\n" + kEntry + "\n",
         "programs: \\\n  maze -root \\n\n"},
        {"disabled and with a visual",
         "programs: \\\n- GL: \t\"W\" " + kCommand + " \\n\\\n  maze -root \\n\\\n\n",
         "programs: \\\n  maze -root \\n\\\n\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoveHostProgram(c.config, file), c.expected) << c.what;
}

TEST(ScreenSaverHost, RemovingFromTheHostsOwnListLeavesItAsItWas) {
    const std::string defaults = RealDefaults();
    const std::string file = "/home/u/.local/share/scrplayer/system/Waves.scr";
    const std::string installed = SelectHostProgram(AddHostProgram("", kCommand, "Waves", defaults), file);
    const std::string removed = RemoveHostProgram(installed, file);
    EXPECT_FALSE(FindHostProgram(removed, file));
    EXPECT_NE(removed.find("mode:\t\trandom\nselected:\t-1\n"), std::string::npos) << removed.substr(0, 80);
    // Every entry of the defaults is still there, in its place.
    EXPECT_EQ(FindHostProgram(removed, "squirtorus"), CountEntries(defaults) - 1);
    EXPECT_EQ(CountEntries(removed), CountEntries(defaults));
}

// The file as the installer wrote it names it through a link (a home folder
// reached through one); the uninstaller knows its own file by the resolved path.
TEST(ScreenSaverHost, EntriesAreFoundWhateverLinksThePathsPassThrough) {
    test::TempDir dir;
    fs::create_directories(dir.file("real"));
    test::WriteFile(dir.file("real/My Waves.scr"), {1});
    fs::create_directory_symlink(dir.file("real"), dir.file("linked"));
    const std::string config =
        AddHostProgram(kHostWritten, HostCommandFor(dir.file("linked/My Waves.scr")), "Waves");
    EXPECT_EQ(FindHostProgram(config, dir.file("real/My Waves.scr")), 3u);
    EXPECT_EQ(RemoveHostProgram(config, dir.file("real/My Waves.scr")), kHostWritten);
    EXPECT_FALSE(FindHostProgram(config, dir.file("real/Other.scr")));
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
              SelectHostProgram(AddHostProgram(kHostWritten, "/x/Waves.scr -root", "Waves"), "/x/Waves.scr"));
    EXPECT_EQ(fs::status(config).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    QElapsedTimer clock;
    clock.start();
    while (!fs::exists(home.file("settings-started")) && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_TRUE(fs::exists(home.file("settings-started")));

    // Uninstalling takes it out again, with or without the host.
    fs::remove(home.bin() + "/xscreensaver");
    ASSERT_TRUE(RemoveFromScreenSaverHost("/x/Waves.scr"));
    const auto after = test::ReadFile(config);
    EXPECT_EQ(std::string(after.begin(), after.end()),
              "# XScreenSaver Preferences File\nmode:\t\trandom\nselected:\t-1\n" +
                  kHostWritten.substr(kHostWritten.find("programs:")));
    EXPECT_EQ(fs::status(config).permissions(), fs::perms::owner_read | fs::perms::owner_write);
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
    ASSERT_TRUE(RemoveFromScreenSaverHost("/x/Waves.scr"));
    EXPECT_TRUE(fs::is_symlink(home.home() + "/.xscreensaver"));
}

TEST(ScreenSaverHost, NewConfigurationStartsFromTheHostsDefaultsWithOursSelected) {
    test::PrivateHome home;
    home.AddProgram("xscreensaver", "exit 0");
    const std::string defaults = RealDefaults();
    ASSERT_TRUE(HandOverToScreenSaverHost("/x/Waves.scr", "Waves"));
    const auto bytes = test::ReadFile(home.home() + "/.xscreensaver");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(FindHostProgram(text, "/x/Waves.scr"), CountEntries(defaults));
    EXPECT_NE(text.find("mode:\t\tone\nselected:\t" + std::to_string(CountEntries(defaults)) + "\n"),
              std::string::npos);
    // Nothing to remove leaves no file behind either.
    fs::remove(home.home() + "/.xscreensaver");
    EXPECT_TRUE(RemoveFromScreenSaverHost("/x/Waves.scr"));
    EXPECT_FALSE(fs::exists(home.home() + "/.xscreensaver"));
}

} // namespace
} // namespace scr
