#include "installer/Uninstall.h"

#include "installer/DesktopShortcut.h"
#include "installer/IdleWatcherRegistration.h"
#include "installer/InstalledCopy.h"
#include "installer/ScreenSaverHandOver.h"
#include "installer/ScreenSaverHost.h"
#include "installer/ScreenSaverThemeEntry.h"
#include "installer/UninstallEntry.h"
#include "package/PackageFile.h"
#include "tests/installer/InstallerFixture.h"
#include "tests/show/SwfTestMovies.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// An installed screen saver as the wizard leaves it: the file in the system
// directory, its launcher on the desktop and its uninstall entry.
struct Installed {
    std::string file;
    std::string shortcut;
    std::string stem;
};

class Uninstall : public ::testing::Test {
protected:
    Installed Install(const std::string& packageName, const std::string& fileStem) {
        const std::string setup = home.file("setup.exe");
        test::WriteInstallerFile(setup, test::InstallerDescription(packageName));
        fs::create_directories(home.systemDirectory());
        fs::create_directories(home.desktop());
        Installed installed{home.systemDirectory() + "/" + fileStem + ".scr", "", fileStem};
        EXPECT_TRUE(WriteInstalledCopy(setup, installed.file));
        installed.shortcut = ShortcutPath(home.desktop(), packageName);
        ShortcutFields fields;
        fields.name = packageName;
        fields.target = installed.file;
        EXPECT_TRUE(CreateShortcut(fields, installed.shortcut));
        EXPECT_TRUE(WriteUninstallEntry(fileStem, packageName, installed.file + " -U"));
        return installed;
    }
    bool EntryExists(const std::string& stem) const {
        return test::ReadMachineString(*UninstallKeyPath(stem), "UninstallString").has_value();
    }
    // A confirmation that answers `yes` and remembers what it was asked.
    UninstallConfirmation Answer(bool yes) {
        return [this, yes](const QString& text, const QString& caption) {
            asked.push_back(caption + QLatin1Char('|') + text);
            return yes;
        };
    }

    test::PrivateHome home;
    std::vector<QString> asked;
};

TEST_F(Uninstall, YesRemovesEntryShortcutAndFile) {
    const Installed waves = Install("Waves", "Waves");
    const Installed other = Install("Other", "Other");
    fs::permissions(waves.file, fs::perms::owner_read); // read-only files go too
    ASSERT_TRUE(UninstallScreenSaver(waves.file, Answer(true)));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("Uninstall|You are about to uninstall the ScreenSaver!\n"
                                       "ScreenSaver Name: Waves\nAre you sure?"));
    EXPECT_FALSE(fs::exists(waves.file));
    EXPECT_FALSE(fs::exists(waves.shortcut));
    EXPECT_FALSE(EntryExists("Waves"));
    // Nothing of another screen saver is touched.
    EXPECT_TRUE(fs::exists(other.file));
    EXPECT_TRUE(fs::exists(other.shortcut));
    EXPECT_TRUE(EntryExists("Other"));
}

TEST_F(Uninstall, TheIdleWatcherGoesOnlyWhenItShowsTheRemovedFile) {
    const Installed waves = Install("Waves", "Waves");
    const Installed other = Install("Other", "Other");
    ASSERT_TRUE(WriteIdleWatcherRegistration("/usr/bin/scrtool", {other.file, 60}));
    ASSERT_TRUE(UninstallScreenSaver(waves.file, Answer(true)));
    ASSERT_TRUE(ReadIdleWatcherRegistration()) << "another screen saver's watcher stays";
    EXPECT_EQ(ReadIdleWatcherRegistration()->file, other.file);
    ASSERT_TRUE(UninstallScreenSaver(other.file, Answer(true)));
    EXPECT_FALSE(ReadIdleWatcherRegistration());
}

TEST_F(Uninstall, NoOrCancelRemovesNothing) {
    const Installed waves = Install("Waves", "Waves");
    EXPECT_FALSE(UninstallScreenSaver(waves.file, Answer(false)));
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(fs::exists(waves.file));
    EXPECT_TRUE(fs::exists(waves.shortcut));
    EXPECT_TRUE(EntryExists("Waves"));
}

TEST_F(Uninstall, KeyComesFromTheFileNameAndShortcutFromThePackageName) {
    const Installed installed = Install("Ocean Waves", "My Copy");
    ASSERT_TRUE(WriteUninstallEntry("Ocean Waves", "decoy", "decoy"));
    ASSERT_TRUE(UninstallScreenSaver(installed.file, Answer(true)));
    EXPECT_FALSE(EntryExists("My Copy"));
    EXPECT_TRUE(EntryExists("Ocean Waves"));
    EXPECT_FALSE(fs::exists(home.desktop() + "/Ocean Waves.desktop"));
}

TEST_F(Uninstall, LauncherOfSomethingElseUnderTheSameNameStays) {
    const Installed installed = Install("Waves", "Waves");
    ShortcutFields foreign;
    foreign.name = "Waves";
    foreign.target = "/usr/bin/waves-editor";
    ASSERT_TRUE(CreateShortcut(foreign, installed.shortcut));
    ASSERT_TRUE(UninstallScreenSaver(installed.file, Answer(true)));
    EXPECT_TRUE(fs::exists(installed.shortcut));
    EXPECT_FALSE(fs::exists(installed.file));
}

// A home reached through a symbolic link: the launcher holds the path as the
// installer saw it, the running program knows its file by the resolved one,
// or the other way round. Either way it is the same file.
TEST_F(Uninstall, LauncherGoesWhenThePathToTheHomeHoldsALink) {
    const std::string linkedHome = home.file("linked-home");
    fs::create_directory_symlink(home.home(), linkedHome);
    const std::string relative = "/.local/share/scrplayer/system/Waves.scr";
    struct Case {
        const char* what;
        std::string launcherTarget;
        std::string running;
    };
    const Case cases[] = {
        {"launcher through the link", linkedHome + relative, home.home() + relative},
        {"program through the link", home.home() + relative, linkedHome + relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Installed installed = Install("Waves", "Waves");
        ShortcutFields fields;
        fields.name = "Waves";
        fields.target = c.launcherTarget;
        ASSERT_TRUE(CreateShortcut(fields, installed.shortcut));
        ASSERT_TRUE(UninstallScreenSaver(c.running, Answer(true)));
        EXPECT_FALSE(fs::exists(installed.file));
        EXPECT_FALSE(fs::exists(installed.shortcut));
    }
}

TEST_F(Uninstall, FileWithoutPackageAsksNothingAndStays) {
    const std::string bare = home.file("scrplayer");
    test::WriteFile(bare, std::vector<uint8_t>(5000, 0x7F));
    EXPECT_FALSE(UninstallScreenSaver(bare, Answer(true)));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(fs::exists(bare));
}

// Names that look like paths never make the uninstaller delete anything
// outside the desktop folder, the system directory and the uninstall key.
TEST_F(Uninstall, HostileNamesDeleteNothingOutside) {
    struct Case {
        std::string packageName;
        std::string fileStem;
    };
    const Case cases[] = {
        {"../decoy", "w1"}, {"../../decoy", "w2"}, {"a/../../decoy", "w3"}, {"x", "a\\..\\b"}};
    // Launchers of the installed file where a careless uninstaller would look.
    const std::vector<std::string> decoys = {home.home() + "/decoy.desktop", home.root() + "/decoy.desktop",
                                             home.desktop() + "/decoy.desktop"};
    ASSERT_TRUE(WriteUninstallEntry("b", "keep", "keep"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packageName + " / " + c.fileStem);
        const Installed installed = Install(c.packageName, c.fileStem);
        EXPECT_EQ(fs::path(installed.shortcut).parent_path(), fs::path(home.desktop()));
        for (const std::string& decoy : decoys) {
            ShortcutFields fields;
            fields.name = "decoy";
            fields.target = installed.file;
            ASSERT_TRUE(CreateShortcut(fields, decoy));
        }
        ASSERT_TRUE(UninstallScreenSaver(installed.file, Answer(true)));
        EXPECT_FALSE(fs::exists(installed.file));
        EXPECT_FALSE(fs::exists(installed.shortcut));
        EXPECT_FALSE(EntryExists(c.fileStem));
        for (const std::string& decoy : decoys)
            EXPECT_TRUE(fs::exists(decoy)) << decoy;
        EXPECT_TRUE(EntryExists("b"));
    }
}

// A Flash movie file registered where it lies (scrtool install): the hosts
// play it through the player; uninstalling takes their entries back after
// the question, and the file, which is the user's own, stays.
TEST_F(Uninstall, AMovieFileLosesItsHostEntriesAndStays) {
    home.AddProgram("xscreensaver", "exit 0");
    home.AddProgram("mate-screensaver", "exit 0");
    const std::string file = home.file("My Fish.swf");
    test::WriteFile(file, test::TestMovie({.frames = 3}));
    const std::string player = "/opt/x/scrtool";
    EXPECT_EQ(HandOverToScreenSaverHosts({file, "My Fish", player}).size(), 2u);
    const auto config = [&] {
        const auto bytes = test::ReadFile(HostConfigPath());
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_NE(config().find("\"My Fish\"  /opt/x/scrtool play '" + file + "' -root"), std::string::npos)
        << config();
    EXPECT_TRUE(FindHostProgram(config(), file));
    const std::string entry = ScreenSaverThemeEntryPath(file);
    const auto text = test::ReadFile(entry);
    EXPECT_EQ(std::string(text.begin(), text.end()),
              ScreenSaverThemeEntryText(file, "My Fish", player, false));
    EXPECT_NE(std::string(text.begin(), text.end()).find("\nTryExec=/opt/x/scrtool\n"), std::string::npos);

    EXPECT_FALSE(UninstallMovieScreenSaver(file, Answer(false)));
    EXPECT_TRUE(fs::exists(entry));
    ASSERT_TRUE(UninstallMovieScreenSaver(file, Answer(true)));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[1].indexOf(QStringLiteral("ScreenSaver Name: My Fish\n")), -1);
    EXPECT_FALSE(FindHostProgram(config(), file));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(fs::exists(file));

    // A file without a movie is no such screen saver: nothing is asked.
    test::WriteFile(home.file("notes.txt"), {'h', 'i'});
    EXPECT_FALSE(UninstallMovieScreenSaver(home.file("notes.txt"), Answer(true)));
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(Uninstall, DeleteFileForcedAndSelfDelete) {
    const std::string file = home.file("victim");
    test::WriteFile(file, {1, 2, 3});
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_TRUE(DeleteFileForced(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(DeleteFileForced(file)) << "a missing file counts as deleted";
    test::WriteFile(file, {1});
    EXPECT_TRUE(SelfDelete(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(DeleteFileForced(home.root())) << "a folder is not deleted";
}

} // namespace
} // namespace scr
