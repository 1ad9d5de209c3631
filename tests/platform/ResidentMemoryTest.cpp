#include "platform/ResidentMemory.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace scr {
namespace {

TEST(ResidentMemory, CountsTouchedMemoryInBytes) {
    const int64_t before = ResidentBytesOf(getpid());
    ASSERT_GT(before, 0);
    constexpr size_t kSize = 64 * 1024 * 1024;
    std::unique_ptr<char[]> block(new char[kSize]);
    std::memset(block.get(), 1, kSize);
    const int64_t after = ResidentBytesOf(getpid());
    EXPECT_GE(after - before, int64_t{kSize} * 9 / 10);
    EXPECT_LT(after - before, int64_t{kSize} * 2);
    EXPECT_EQ(block[kSize - 1], 1);
}

TEST(ResidentMemory, UnknownForAnEndedOrInvalidProcess) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(ResidentBytesOf(child), -1);
    EXPECT_EQ(ResidentBytesOf(0), -1);
    EXPECT_EQ(ResidentBytesOf(-1), -1);
}

} // namespace
} // namespace scr
