#include "installer/DesktopShortcut.h"

#include "platform/gui/SpecialFolder.h"
#include "tests/installer/InstallerFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

TEST(DesktopShortcut, ExecArgumentsAreQuotedByTheDesktopEntryRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/Waves.scr", "/a/Waves.scr"},
        {"/a/My Waves.scr", "\"/a/My Waves.scr\""},
        {"/a/100%.scr", "/a/100%%.scr"},
        {"/a/$HOME \"x\" `y` \\z", "\"/a/\\$HOME \\\"x\\\" \\`y\\` \\\\z\""},
        {"", "\"\""},
    };
    for (const auto& [argument, quoted] : cases)
        EXPECT_EQ(QuoteExecArgument(argument), quoted) << argument;
}

TEST(DesktopShortcut, EntryRunsTheTargetAndOffersUninstall) {
    ShortcutFields fields;
    fields.name = "My \\ Waves\nnext";
    fields.target = "/s/My Waves.scr";
    fields.workingDirectory = "/s/";
    fields.uninstallCommand = "-U";
    EXPECT_EQ(DesktopEntryText(fields),
              "#!/usr/bin/env xdg-open\n[Desktop Entry]\nType=Application\nVersion=1.0\n"
              "Name=My \\\\ Waves\\nnext\n"
              "Exec=\"/s/My Waves.scr\"\nPath=/s/\nIcon=preferences-desktop-screensaver\n"
              "Terminal=false\nActions=Uninstall;\n\n"
              "[Desktop Action Uninstall]\nName=Uninstall\nExec=\"/s/My Waves.scr\" -U\n");
}

TEST(DesktopShortcut, WrittenExecutableAndRecognised) {
    test::TempDir dir;
    ShortcutFields fields;
    fields.name = "Waves";
    fields.target = "/s/a\\b $c.scr";
    const std::string link = ShortcutPath(dir.path(), "../Waves");
    EXPECT_EQ(link, dir.path() + "/.._Waves.desktop");
    ASSERT_TRUE(CreateShortcut(fields, link));
    EXPECT_EQ(fs::status(link).permissions(), fs::perms(0755));
    EXPECT_TRUE(IsShortcutTo(link, fields.target));
    EXPECT_FALSE(IsShortcutTo(link, "/s/a"));
    EXPECT_FALSE(IsShortcutTo(dir.file("missing.desktop"), fields.target));
}

TEST(SpecialFolder, MapsKnownCodesAndLeavesOthersUntouched) {
    test::PrivateHome home;
    std::string path = "untouched";
    for (int code : {99, 100, 101, 104, 106, 107, 109, 111, 112, 116}) {
        EXPECT_FALSE(GetSpecialFolder(path, code)) << code;
        EXPECT_EQ(path, "untouched") << code;
    }
    ASSERT_TRUE(GetSpecialFolder(path, kFolderDesktop));
    EXPECT_EQ(path, home.desktop());
    ASSERT_TRUE(GetSpecialFolder(path, 114));
    EXPECT_EQ(path, home.home() + "/.config/autostart");
    ASSERT_TRUE(GetSpecialFolder(path, 110));
    EXPECT_EQ(path, home.home() + "/.local/share/applications");
    unsetenv("XDG_DESKTOP_DIR"); // then the desktop comes from the user-dirs file
    fs::create_directories(home.home() + "/.config");
    test::WriteFile(home.home() + "/.config/user-dirs.dirs", [] {
        const std::string t = "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
        return std::vector<uint8_t>(t.begin(), t.end());
    }());
    ASSERT_TRUE(GetSpecialFolder(path, 103));
    EXPECT_EQ(path, home.home() + "/Schreibtisch");
}

} // namespace
} // namespace scr
