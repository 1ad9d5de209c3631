// scrtool play FILE ARGS: FILE is the package the player reads, ARGS are the
// player's own command line.

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace scr {
namespace {

std::string Play(const std::string& environment, const std::string& arguments) {
    return environment + " timeout 60 '" + test::BuildBinDir() + "/scrtool' play " + arguments + " 2>&1";
}

TEST(PlayCommand, TheArgumentsAfterTheFileChooseTheMode) {
    test::TempDir dir;
    const std::string file = dir.file("other.scr");
    std::vector<uint8_t> image(64, 0);
    const std::vector<uint8_t> trailer = test::StoredTrailer('S', 400);
    image.insert(image.end(), trailer.begin(), trailer.end());
    test::WriteFile(file, image);
    std::string output;
    EXPECT_EQ(test::RunCommand(Play("SCRPLAYER_PRINT_MODE=1", "'" + file + "' /p 77"), &output), 0);
    EXPECT_EQ(output, "mode=Preview parent=77\n");
    EXPECT_EQ(test::RunCommand(Play("SCRPLAYER_PRINT_MODE=1", "'" + file + "' /c"), &output), 0);
    EXPECT_EQ(output, "mode=Config parent=0\n");
}

// The player reads the named file, not scrtool itself: an installer package
// run for its configuration ends at once instead of opening the dialog.
TEST(PlayCommand, ThePackageIsReadFromTheNamedFile) {
    test::TempDir dir;
    std::vector<uint8_t> image(256, 0x90);
    const std::vector<uint8_t> trailer = test::StoredTrailer('E', 400);
    image.insert(image.end(), trailer.begin(), trailer.end());
    const std::string installer = dir.file("setup.scr");
    test::WriteFile(installer, image);
    const std::string environment =
        "QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME='" + dir.path() + "' XDG_DATA_HOME='" + dir.path() + "'";
    EXPECT_EQ(test::RunCommand(Play(environment, "'" + installer + "' /c")), 0);
}

TEST(PlayCommand, AMissingFileIsRefused) {
    test::TempDir dir;
    std::string output;
    EXPECT_EQ(test::RunCommand(Play("", "'" + dir.file("missing.scr") + "' /s"), &output), 1);
    EXPECT_NE(output.find("is not a readable file"), std::string::npos) << output;
}

} // namespace
} // namespace scr
