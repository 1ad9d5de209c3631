#include "installer/ScreenSaverThemeEntry.h"

#include "installer/DesktopShortcut.h"
#include "tests/installer/InstallerFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    const auto bytes = test::ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(ScreenSaverTheme, EntryRunsTheFileAsAScreenSaverInTheScreenSaverCategory) {
    const std::string text = ScreenSaverThemeEntryText("/a/My 100% Waves.scr", "Waves");
    for (const char* line :
         {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Waves\n",
          "\nExec=\"/a/My 100%% Waves.scr\" -root\n", "\nTryExec=/a/My 100% Waves.scr\n",
          "\nCategories=Screensaver;\n", "\nOnlyShowIn=MATE;XFCE;\n", "\nTerminal=false\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
    EXPECT_EQ(text.find("Actions="), std::string::npos) << text;
}

// With the player's tool in one of the hosts' own folders, the entry runs
// the tool on the installed file; it is still recognised as the file's entry.
TEST(ScreenSaverTheme, EntryThroughThePlayerInTheHostsFolderPlaysTheFile) {
    test::PrivateHome home;
    const std::string file = home.systemDirectory() + "/My 100% Waves.scr";
    fs::create_directories(home.systemDirectory());
    test::WriteFile(file, {1});
    const std::string text = ScreenSaverThemeEntryText(file, "Waves", "/usr/libexec/xscreensaver/scrtool");
    const std::string exec = "\nExec=/usr/libexec/xscreensaver/scrtool play \"" + home.systemDirectory() +
                             "/My 100%% Waves.scr\" -root\n";
    EXPECT_NE(text.find(exec), std::string::npos) << text;
    EXPECT_NE(text.find("\nTryExec=" + file + "\n"), std::string::npos) << text;

    const std::string entry = ScreenSaverThemeEntryPath(file);
    fs::create_directories(fs::path(entry).parent_path());
    test::WriteFile(entry, std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_TRUE(RemoveScreenSaverTheme(home.systemDirectory() + "/Other.scr"));
    EXPECT_TRUE(fs::exists(entry)) << "the entry of another file stays";
    EXPECT_TRUE(RemoveScreenSaverTheme(file));
    EXPECT_FALSE(fs::exists(entry));
}

TEST(ScreenSaverTheme, OneEntryPerInstalledFileNamedAfterIt) {
    test::PrivateHome home;
    const std::string folder = home.home() + "/.local/share/applications/screensavers/";
    struct Case {
        std::string file;
        std::string path;
        std::string id;
    };
    const Case cases[] = {
        {"/s/Waves.scr", folder + "scrplayer-Waves.desktop", "screensavers-scrplayer-Waves"},
        {"/s/My Waves.scr", folder + "scrplayer-My Waves.desktop", "screensavers-scrplayer-My Waves"},
        {"/s/a\nb.scr", folder + "scrplayer-a_b.desktop", "screensavers-scrplayer-a_b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScreenSaverThemeEntryPath(c.file), c.path);
        EXPECT_EQ(ScreenSaverThemeId(c.file), c.id);
    }
}

TEST(ScreenSaverTheme, RegisteredWithAHostAndRemovedOnlyWhenItRunsTheFile) {
    test::PrivateHome home;
    const std::string file = home.systemDirectory() + "/Waves.scr";
    const std::string entry = ScreenSaverThemeEntryPath(file);
    EXPECT_FALSE(RegisterScreenSaverTheme(file, "Waves")) << "no host installed";
    EXPECT_FALSE(fs::exists(entry));

    for (const char* host : {"mate-screensaver", "xfce4-screensaver"}) {
        SCOPED_TRACE(host);
        home.AddProgram(host, "exit 0");
        ASSERT_TRUE(RegisterScreenSaverTheme(file, "Waves"));
        EXPECT_EQ(ReadText(entry), ScreenSaverThemeEntryText(file, "Waves"));
        EXPECT_EQ(fs::status(entry).permissions(), fs::perms(0644));
        EXPECT_TRUE(IsShortcutTo(entry, file));
        EXPECT_TRUE(RemoveScreenSaverTheme(file));
        EXPECT_FALSE(fs::exists(entry));
        fs::remove(home.bin() + "/" + host);
    }

    // An entry of that name that runs something else stays.
    home.AddProgram("mate-screensaver", "exit 0");
    ASSERT_TRUE(RegisterScreenSaverTheme("/elsewhere/Waves.scr", "Other"));
    EXPECT_TRUE(RemoveScreenSaverTheme(file));
    EXPECT_TRUE(fs::exists(entry));
}

// The list mate-screensaver builds, read through its own menu library: the
// entry is one of its themes, under the id its settings keep, running the file.
TEST(ScreenSaverTheme, MateScreensaverListsIt) {
    test::PrivateHome home;
    home.AddProgram("mate-screensaver", "exit 0");
    const std::string file = home.systemDirectory() + "/My Waves.scr";
    fs::create_directories(home.systemDirectory());
    test::WriteFile(file, {1});
    fs::permissions(file, fs::perms(0755));
    const std::string lister = test::SourceDir() + "/tests/installer/list-mate-screensaver-themes.py";
    std::string before;
    ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" + lister + "' 2>&1", &before), 0)
        << before
        << "\n(scripts/install-deps.sh installs mate-screensaver, python3-gi and gir1.2-matemenu-2.0)";
    EXPECT_NE(before.find("screensavers-popsquares\t"), std::string::npos) << "the host's own themes:\n"
                                                                           << before;
    EXPECT_EQ(before.find(ScreenSaverThemeId(file)), std::string::npos);

    ASSERT_TRUE(RegisterScreenSaverTheme(file, "My Waves"));
    std::string after;
    ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" + lister + "' 2>&1", &after), 0) << after;
    EXPECT_NE(after.find(ScreenSaverThemeId(file) + "\t\"" + file + "\" -root\n"), std::string::npos)
        << after;

    ASSERT_TRUE(RemoveScreenSaverTheme(file));
    std::string removed;
    ASSERT_EQ(test::RunCommand("/usr/bin/python3 '" + lister + "' 2>&1", &removed), 0) << removed;
    EXPECT_EQ(removed.find(ScreenSaverThemeId(file)), std::string::npos) << removed;
}

} // namespace
} // namespace scr
