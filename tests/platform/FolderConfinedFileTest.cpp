#include "platform/FolderConfinedFile.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// What a movie in `folder` may read by a relative URL: its folder's files
// and those below, never anything outside, whichever way the path goes.
TEST(FolderConfinedFile, OnlyRegularFilesInsideTheFolderAreNamed) {
    test::TempDir dir;
    const std::string folder = dir.file("movie");
    fs::create_directories(folder + "/Sub");
    test::WriteFile(folder + "/part2.swf", {1});
    test::WriteFile(folder + "/Sub/Data.xml", {2});
    test::WriteFile(dir.file("secret.txt"), {3});
    fs::create_symlink("/etc/hostname", folder + "/host");
    fs::create_symlink(dir.file("secret.txt"), folder + "/secret");
    fs::create_symlink("Sub/Data.xml", folder + "/inside");
    fs::create_directory_symlink(dir.path(), folder + "/up");
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0600), 0);
    const std::string real = fs::canonical(folder).string();

    const std::pair<const char*, std::string> cases[] = {
        {"part2.swf", real + "/part2.swf"},
        {"./part2.swf", real + "/part2.swf"},
        {"Sub/Data.xml", real + "/Sub/Data.xml"},
        {"sub\\data.XML", real + "/Sub/Data.xml"}, // as a movie made on Windows names it
        {"inside", real + "/Sub/Data.xml"},        // a link that stays inside
        {"../secret.txt", ""},
        {"Sub/../part2.swf", ""},
        {"/etc/hostname", ""},
        {"host", ""},
        {"secret", ""},
        {"up/secret.txt", ""},
        {"Sub", ""},
        {"pipe", ""},
        {"missing.swf", ""},
        {"", ""},
    };
    for (const auto& [relative, expected] : cases)
        EXPECT_EQ(FolderConfinedFile(folder, relative).value_or(""), expected) << relative;

    // Two names that differ only by case: the one written is taken, no guess is made for another.
    test::WriteFile(folder + "/Twin.txt", {4});
    test::WriteFile(folder + "/twin.txt", {5});
    EXPECT_EQ(FolderConfinedFile(folder, "twin.txt").value_or(""), real + "/twin.txt");
    EXPECT_FALSE(FolderConfinedFile(folder, "TWIN.txt"));
}

} // namespace
} // namespace scr
