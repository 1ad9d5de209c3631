#include "startup/ModeDetection.h"

#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace scr {
namespace {

struct ModeCase {
    const char* name;                // file name of the program
    std::vector<std::string> params; // command-line parameters
    char kind;                       // package kind in the trailer; 0 = no trailer
    ShowMode mode;
    WindowHandle parent;
};

const ModeCase kCases[] = {
    {"x.scr", {"/s"}, 0, ShowMode::Show, 0},
    {"x.scr", {"-S"}, 0, ShowMode::Show, 0},
    {"x.scr", {"s"}, 0, ShowMode::Show, 0},
    {"x.scr", {"S"}, 0, ShowMode::Show, 0},
    {"x.scr", {"/x"}, 0, ShowMode::Show, 0},
    {"x.scr", {"/q"}, 0, ShowMode::Show, 0},
    {"x.scr", {"/c:1234"}, 0, ShowMode::Config, 1234},
    {"x.scr", {"/c", "1234"}, 0, ShowMode::Config, 1234},
    {"x.scr", {"/c"}, 0, ShowMode::Config, 0},
    {"x.scr", {"/p:abc"}, 0, ShowMode::Show, 0},
    {"x.scr", {"/p:1234", "5678"}, 0, ShowMode::Preview, 5678},
    {"x.scr", {"/p", "0x2a"}, 0, ShowMode::Preview, 42},
    {"x.scr", {"/p", "abc"}, 0, ShowMode::Show, 0},
    {"x.scr", {"/a:77"}, 0, ShowMode::ChangePassword, 77},
    {"x.scr", {"/u"}, 0, ShowMode::Uninstall, 0},
    {"x.scr", {"/u", "junk"}, 0, ShowMode::Uninstall, 0},
    {"x.scr", {}, 0, ShowMode::Config, 0},
    {"x.scr", {""}, 0, ShowMode::Show, 0},
    {"x.scr", {"/"}, 0, ShowMode::Show, 0},
    {"x.scr", {"//c"}, 0, ShowMode::Show, 0}, // only one leading character is removed
    {"x.scr", {"-root"}, 0, ShowMode::Show, 0},
    {"x.scr", {"-window-id", "0x400007"}, 0, ShowMode::Preview, 0x400007},
    {"x.scr", {"-window-id", "4194311"}, 0, ShowMode::Preview, 4194311},
    {"x.scr", {"-window-id", "nope"}, 0, ShowMode::Show, 0},
    {"x.scr", {"-window-id"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--root"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--ROOT"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--window-id", "0x200F08"}, 0, ShowMode::Preview, 0x200F08},
    {"x.scr", {"--root", "--window-id", "0x200F08"}, 0, ShowMode::Preview, 0x200F08},
    {"x.scr", {"-root", "-window-id", "12"}, 0, ShowMode::Preview, 12},
    {"x.scr", {"--root", "--window-id", "nope"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--root", "--window-id"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--root", "/p", "12"}, 0, ShowMode::Show, 0},
    {"x.scr", {"--p", "12"}, 0, ShowMode::Show, 0}, // not a host option: one leading character goes
    {"x.scr", {"/s"}, 'E', ShowMode::Show, 0},      // the kind matters only for .exe
    {"X.EXE", {}, 'E', ShowMode::Install, 0},
    {"x.exe", {"/p", "5"}, 'E', ShowMode::Install, 0}, // the command line is not looked at
    {"x.exe", {"/c"}, 'S', ShowMode::Show, 0},
    {"x.exe", {"/c", "12"}, 0, ShowMode::Show, 0}, // no trailer: Show whatever the parameters
    {"x.Exe", {}, 0, ShowMode::Show, 0},
    {"x.scr.txt", {"/p", "9"}, 0, ShowMode::Preview, 9},
};

std::string Describe(const ModeCase& c) {
    std::ostringstream out;
    out << c.name;
    for (const auto& p : c.params)
        out << " '" << p << "'";
    out << " kind=" << (c.kind ? c.kind : '0');
    return out.str();
}

char g_kind = 0;
uint8_t FakeKind(const std::string&) {
    return static_cast<uint8_t>(g_kind);
}

TEST(ModeDetection, CommandLineTable) {
    for (const ModeCase& c : kCases) {
        g_kind = c.kind;
        const DetectedMode mode = DetectModeFor(std::string("/dir/") + c.name, c.params, FakeKind);
        EXPECT_EQ(mode.mode, c.mode) << Describe(c);
        EXPECT_EQ(mode.parent, c.parent) << Describe(c);
    }
}

TEST(ModeDetection, ParseParentWindowLeavesTheHandleOnFailure) {
    WindowHandle parent = 99;
    EXPECT_FALSE(ParseParentWindow({"/p", "x1"}, parent));
    EXPECT_EQ(parent, 99u);
    EXPECT_TRUE(ParseParentWindow({"/p"}, parent)); // three characters or fewer: unchanged
    EXPECT_EQ(parent, 99u);
    EXPECT_TRUE(ParseParentWindow({"/p:-1"}, parent));
    EXPECT_EQ(parent, 0xFFFFFFFFu);
    EXPECT_TRUE(
        ParseParentWindow({"abc12"}, parent)); // the first three characters are skipped, whatever they are
    EXPECT_EQ(parent, 12u);
}

// The same table through the real program, copied under each name, with an
// appended trailer where the case has one.
TEST(ModeDetection, RealProgramPrintsTheDetectedMode) {
    const std::string player = test::BuildBinDir() + "/scrplayer";
    ASSERT_TRUE(std::filesystem::exists(player)) << player;
    const auto image = test::ReadFile(player);
    test::TempDir dir;
    for (const ModeCase& c : kCases) {
        const std::string copy = dir.file(c.name);
        auto bytes = image;
        if (c.kind) {
            auto trailer = test::StoredTrailer(c.kind, 400);
            bytes.insert(bytes.end(), trailer.begin(), trailer.end());
        }
        test::WriteFile(copy, bytes);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
        std::string command = "SCRPLAYER_PRINT_MODE=1 '" + copy + "'";
        for (const auto& p : c.params)
            command += " '" + p + "'";
        std::string output;
        ASSERT_EQ(test::RunCommand(command, &output), 0) << Describe(c);
        std::ostringstream expected;
        expected << "mode=" << ShowModeName(c.mode) << " parent=" << c.parent << "\n";
        EXPECT_EQ(output, expected.str()) << Describe(c);
    }
}

} // namespace
} // namespace scr
