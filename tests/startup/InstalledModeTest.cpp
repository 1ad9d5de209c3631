#include "installer/InstalledCopy.h"
#include "package/PackageBuilder.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// The player with an installer package runs the installer under an ".exe"
// name; its installed copy is a screen saver: configuration or show by its
// command line, and never the installer again, whatever its name.
TEST(InstalledMode, InstalledCopyIsAScreenSaverNoLongerAnInstaller) {
    test::TempDir dir;
    std::vector<uint8_t> program;
    std::string error;
    ASSERT_TRUE(ReadProgramImage(test::BuildBinDir() + "/scrplayer", program, &error)) << error;
    PackageDescription description;
    description.name = "Waves";
    description.info.setFormatLevel(5);
    description.info.setPackageKind('E');
    const std::string setup = dir.file("setup.exe");
    ASSERT_TRUE(WritePackedFile(setup, program, description, &error)) << error;
    ASSERT_TRUE(WriteInstalledCopy(setup, dir.file("Waves.scr")));
    fs::copy_file(dir.file("Waves.scr"), dir.file("Waves.exe"));

    const std::pair<std::string, std::string> runs[] = {
        {"setup.exe", "mode=Install parent=0\n"},       {"setup.exe /s", "mode=Install parent=0\n"},
        {"Waves.scr", "mode=Config parent=0\n"},        {"Waves.scr /s", "mode=Show parent=0\n"},
        {"Waves.scr /c:77", "mode=Config parent=77\n"}, {"Waves.exe", "mode=Show parent=0\n"},
    };
    for (const auto& [run, expected] : runs) {
        std::string output;
        EXPECT_EQ(test::RunCommand("cd '" + dir.path() + "' && SCRPLAYER_PRINT_MODE=1 ./" + run, &output), 0)
            << run;
        EXPECT_EQ(output, expected) << run;
    }
}

} // namespace
} // namespace scr
