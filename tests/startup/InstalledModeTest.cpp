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
    const Result<std::vector<uint8_t>> program = ReadProgramImage(test::BuildBinDir() + "/scrplayer");
    ASSERT_TRUE(program) << program.error();
    PackageDescription description;
    description.name = "Waves";
    description.info.setFormatLevel(5);
    description.info.setPackageKind('E');
    const std::string setup = dir.file("setup.exe");
    const Result<void> packed = WritePackedFile(setup, *program, description);
    ASSERT_TRUE(packed) << packed.error();
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
