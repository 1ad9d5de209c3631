#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace scr {
namespace {

// The Flash engine (Qt WebEngine) is a plugin loaded on the first movie:
// the player itself must not link it, or every show would map its libraries.
TEST(ProgramLibraries, ThePlayerDoesNotLinkTheWebEngine) {
    const std::string player = test::BuildBinDir() + "/scrplayer";
    std::string libraries;
    ASSERT_EQ(test::RunCommand("ldd '" + player + "'", &libraries), 0);
    EXPECT_NE(libraries.find("libQt6Widgets"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("WebEngine"), std::string::npos) << libraries;
}

} // namespace
} // namespace scr
