#include "package/PackageTrailer.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

// Every mode reaches its dispatch point and ends cleanly; an installer
// package started as a screen saver ends without creating anything.
TEST(Dispatch, EveryModeEndsCleanly) {
    const std::string player = test::BuildBinDir() + "/scrplayer";
    test::TempDir dir;
    auto image = test::ReadFile(player);
    const std::string plain = dir.file("plain.scr");
    test::WriteFile(plain, image);
    auto trailer = test::StoredTrailer('E', 400);
    image.insert(image.end(), trailer.begin(), trailer.end());
    const std::string installer = dir.file("setup.scr");
    test::WriteFile(installer, image);
    for (const auto& file : {plain, installer})
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);

    const std::string env =
        "QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME='" + dir.path() + "' XDG_DATA_HOME='" + dir.path() + "' ";
    for (const char* args : {"/a", "/u", "/c", "/c:5"}) {
        EXPECT_EQ(test::RunCommand(env + "'" + plain + "' " + args + " 2>&1"), 0) << args;
    }
    EXPECT_EQ(test::RunCommand(env + "'" + installer + "' /c 2>&1"), 0);
}

} // namespace
} // namespace scr
