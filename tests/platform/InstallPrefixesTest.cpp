#include "platform/InstallPrefixes.h"

#include "platform/ExecutablePath.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace scr {
namespace {

namespace fs = std::filesystem;

TEST(InstallPrefixes, FollowTheProgramThePathAndTheDataFoldersThenTheUsualPlaces) {
    test::TempDir dir;
    // A per-user install found through $PATH, reached through a linked folder.
    fs::create_directories(dir.file("opt/bin"));
    test::WriteFile(dir.file("opt/bin/scrplayer"), {});
    fs::permissions(dir.file("opt/bin/scrplayer"), fs::perms(0755));
    fs::create_directory_symlink(dir.file("opt/bin"), dir.file("linked-bin"));
    test::ScopedEnv path("PATH", "relative/bin:" + dir.file("nothing-here") + ":" + dir.file("linked-bin"));
    test::ScopedEnv home("HOME", dir.file("home"));
    test::ScopedEnv dataHome("XDG_DATA_HOME", dir.file("home/.local/share"));
    test::ScopedEnv dataDirs("XDG_DATA_DIRS",
                             dir.file("sys/share/") + ":" + dir.file("flat") + ":/usr/share");

    const std::vector<std::string> prefixes = InstallPrefixes();
    const std::string programPrefix = fs::path(ExecutablePath()).parent_path().parent_path().string();
    // The test program's own tree first; the data folder's parent comes once,
    // although $HOME/.local names it again; a data folder not called share
    // gives no prefix.
    std::vector<std::string> expected{programPrefix, dir.file("opt"), dir.file("home/.local")};
    expected.push_back(ConfiguredInstallPrefix());
    expected.insert(expected.end(), {dir.file("sys"), "/usr", "/usr/local"});
    std::vector<std::string> unique;
    for (const std::string& p : expected)
        if (std::find(unique.begin(), unique.end(), p) == unique.end()) unique.push_back(p);
    EXPECT_EQ(prefixes, unique);
}

TEST(InstallPrefixes, WithoutAnyHintsTheUsualPlacesRemain) {
    test::ScopedEnv path("PATH", "");
    test::ScopedEnv home("HOME", "/home/someone");
    test::ScopedEnv dataHome("XDG_DATA_HOME", "");
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", "");
    const std::vector<std::string> prefixes = InstallPrefixes();
    EXPECT_FALSE(ConfiguredInstallPrefix().empty());
    for (const char* expected : {"/home/someone/.local", "/usr/local", "/usr"})
        EXPECT_NE(std::find(prefixes.begin(), prefixes.end(), expected), prefixes.end()) << expected;
    // The user's own install before the system's.
    const auto user = std::find(prefixes.begin(), prefixes.end(), "/home/someone/.local");
    EXPECT_LT(user, std::find(prefixes.begin(), prefixes.end(), "/usr/local"));
    EXPECT_LT(user, std::find(prefixes.begin(), prefixes.end(), "/usr"));
    EXPECT_EQ(std::set<std::string>(prefixes.begin(), prefixes.end()).size(), prefixes.size());
}

} // namespace
} // namespace scr
