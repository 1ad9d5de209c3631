#include "platform/AtomicFileWriter.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const std::string& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(AtomicFileWriterTest, CommitReplacesTheDestinationWithTheNewBytesAndMode) {
    test::TempDir dir;
    const std::string path = dir.file("out.bin");
    test::WriteFile(path, {9, 9, 9, 9, 9});
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.open(path));
    ASSERT_TRUE(writer.write("abc", 3));
    // Until the commit, the destination keeps its old content.
    EXPECT_EQ(test::ReadFile(path).size(), 5u);
    ASSERT_TRUE(writer.commit(0755)) << writer.error();
    EXPECT_EQ(test::ReadFile(path), (std::vector<uint8_t>{'a', 'b', 'c'}));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(AtomicFileWriterTest, AnAbandonedWriterLeavesNothingBehind) {
    test::TempDir dir;
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.open(dir.file("out.bin")));
        ASSERT_TRUE(writer.write("abc", 3));
    }
    EXPECT_EQ(EntryCount(dir.path()), 0u);
}

TEST(AtomicFileWriterTest, AMissingFolderIsAnErrorNamingIt) {
    test::TempDir dir;
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.open(dir.file("missing/out.bin")));
    EXPECT_NE(writer.error().find("missing"), std::string::npos);
    EXPECT_FALSE(writer.write("a", 1));
    EXPECT_FALSE(writer.commit(0644));
}

} // namespace
} // namespace scr
