#include "platform/TrustedPath.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// A private folder (mode 700) in the temporary directory, with a folder
// `lib` and a file `lib/engine.so` whose modes each case sets.
class TrustedPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(lib_);
        test::WriteFile(file_, {1, 2, 3});
        fs::permissions(lib_, fs::perms(0755));
        fs::permissions(file_, fs::perms(0644));
    }

    test::TempDir dir_;
    const std::string lib_ = dir_.file("lib");
    const std::string file_ = dir_.file("lib/engine.so");
};

TEST_F(TrustedPathTest, WritableByOthersAnywhereOnTheWayIsRefused) {
    struct Case {
        unsigned libMode;
        unsigned fileMode;
        const char* reason; // nullptr: trusted
        const char* culprit;
    };
    const Case cases[] = {
        {0755, 0644, nullptr, ""},
        {0700, 0600, nullptr, ""},
        {0755, 0664, "is writable by its group", "lib/engine.so"},
        {0755, 0646, "is writable by everyone", "lib/engine.so"},
        {0775, 0644, "is writable by its group", "lib"},
        {0757, 0644, "is writable by everyone", "lib"},
        // Sticky like /tmp: others may add entries but not replace this one.
        {01777, 0644, nullptr, ""},
    };
    for (const Case& c : cases) {
        fs::permissions(lib_, fs::perms(c.libMode));
        fs::permissions(file_, fs::perms(c.fileMode));
        const std::string reason = UntrustedReason(file_);
        const std::string where = std::to_string(c.libMode) + "/" + std::to_string(c.fileMode);
        if (!c.reason) {
            EXPECT_EQ(reason, "") << where;
        } else {
            EXPECT_EQ(reason, dir_.file(c.culprit) + " " + c.reason) << where;
        }
    }
}

TEST_F(TrustedPathTest, AStickyFolderIsRefusedAsTheThingLoadedItself) {
    fs::permissions(lib_, fs::perms(01777));
    EXPECT_EQ(UntrustedReason(lib_), lib_ + " is writable by everyone");
    EXPECT_EQ(UntrustedFolderReason(lib_), lib_ + " is writable by everyone");
}

TEST_F(TrustedPathTest, LinksAreJudgedByTheirFolderAndTheirTarget) {
    const std::string open = dir_.file("open");
    fs::create_directories(open);
    fs::permissions(open, fs::perms(0777));
    // A link in a safe folder to a file in a folder everyone may write.
    test::WriteFile(open + "/engine.so", {1});
    fs::create_symlink(open + "/engine.so", dir_.file("to-open.so"));
    EXPECT_EQ(UntrustedReason(dir_.file("to-open.so")), open + " is writable by everyone");
    // A link in a folder everyone may write, to the safe file: it can be swapped.
    fs::create_symlink(file_, open + "/to-safe.so");
    EXPECT_EQ(UntrustedReason(open + "/to-safe.so"), open + " is writable by everyone");
    // A link to a safe file from a safe folder (like /lib -> usr/lib).
    fs::create_symlink("lib", dir_.file("lib-link"));
    EXPECT_EQ(UntrustedReason(dir_.file("lib-link/engine.so")), "");
}

TEST_F(TrustedPathTest, AFolderIsRefusedForAnyEntryOthersCanWrite) {
    EXPECT_EQ(UntrustedFolderReason(lib_), "");
    test::WriteFile(lib_ + "/core.js", {1});
    fs::permissions(lib_ + "/core.js", fs::perms(0666));
    EXPECT_EQ(UntrustedFolderReason(lib_), lib_ + "/core.js is writable by everyone");
}

TEST_F(TrustedPathTest, SomethingOwnedByAnotherUserIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a file away needs root";
    ASSERT_EQ(chown(file_.c_str(), 4321, 4321), 0);
    EXPECT_EQ(UntrustedReason(file_), file_ + " belongs to user 4321");
    ASSERT_EQ(chown(file_.c_str(), 0, 0), 0);
    ASSERT_EQ(chown(lib_.c_str(), 4321, 0), 0);
    EXPECT_EQ(UntrustedReason(file_), lib_ + " belongs to user 4321");
}

TEST_F(TrustedPathTest, WhatCannotBeExaminedIsRefused) {
    const std::string missing = dir_.file("lib/missing.so");
    EXPECT_NE(UntrustedReason(missing).find(missing + " cannot be examined"), std::string::npos)
        << UntrustedReason(missing);
}

} // namespace
} // namespace scr
