// The idle watcher's registration: the autostart entry GNOME and Plasma run,
// read back as written; the line sway's config needs; removal.
#include "installer/IdleWatcherRegistration.h"

#include "installer/DesktopShortcut.h"
#include "tests/installer/InstallerFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace scr {
namespace {

TEST(IdleWatcherRegistration, TheAutostartEntryRunsTheWatcherAndReadsBackAsWritten) {
    test::PrivateHome home;
    const std::string tool = "/opt/my tools/scrtool";
    const IdleWatcherRegistration cases[] = {
        {"/home/u/.local/share/scrplayer/system/Northern 100% Lights.scr", 120},
        {"/s/plain.scr", std::nullopt},
    };
    for (const IdleWatcherRegistration& registration : cases) {
        SCOPED_TRACE(registration.file);
        ASSERT_TRUE(WriteIdleWatcherRegistration(tool, registration));
        const std::string entry = IdleWatcherEntryPath();
        EXPECT_EQ(entry, home.home() + "/.config/autostart/scrplayer-saver.desktop");
        struct stat info {};
        ASSERT_EQ(::stat(entry.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644u);

        std::string exec = "\"/opt/my tools/scrtool\" saver run " + QuoteExecArgument(registration.file);
        if (registration.idleSeconds) exec += " --after " + std::to_string(*registration.idleSeconds);
        EXPECT_EQ(DesktopEntryValue(entry, "Exec"), exec);
        EXPECT_EQ(DesktopEntryValue(entry, "Type"), "Application");
        EXPECT_EQ(DesktopEntryValue(entry, "NoDisplay"), "true");

        const auto back = ReadIdleWatcherRegistration();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->file, registration.file);
        EXPECT_EQ(back->idleSeconds, registration.idleSeconds);
    }
    EXPECT_TRUE(RemoveIdleWatcherRegistration());
    EXPECT_FALSE(std::filesystem::exists(IdleWatcherEntryPath()));
    EXPECT_FALSE(ReadIdleWatcherRegistration());
    EXPECT_TRUE(RemoveIdleWatcherRegistration()) << "nothing left to remove is fine";
}

TEST(IdleWatcherRegistration, SwaysLineIsOneShellCommand) {
    EXPECT_EQ(SwayExecLine("/usr/bin/scrtool", {"/s/It's mine.scr", 3}),
              "exec '/usr/bin/scrtool' 'saver' 'run' '/s/It'\\''s mine.scr' '--after' '3'");
    EXPECT_EQ(SwayExecLine("/usr/bin/scrtool", {"/s/a.scr", std::nullopt}),
              "exec '/usr/bin/scrtool' 'saver' 'run' '/s/a.scr'");
}

} // namespace
} // namespace scr
