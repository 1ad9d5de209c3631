#include "package/PackageTrailer.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

// Every mode without a window of its own reaches its dispatch point and ends
// cleanly; an installer package started as a screen saver (even for its
// configuration) ends without creating anything.
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
    for (const char* args : {"/a", "/u"}) {
        EXPECT_EQ(test::RunCommand(env + "'" + plain + "' " + args + " 2>&1"), 0) << args;
    }
    EXPECT_EQ(test::RunCommand(env + "'" + installer + "' /c 2>&1"), 0);
}

// Starts `command` in the background; its exit status lands in `statusFile`.
void StartInBackground(const std::string& command, const std::string& statusFile) {
    std::filesystem::remove(statusFile);
    test::RunCommand("(" + command + " >/dev/null 2>&1; echo $? > '" + statusFile + "') >/dev/null 2>&1 &");
}

// The first visible window on `display` whose name matches `pattern`; with
// `wait`, the first that comes within 10 s. Empty when there is none.
std::string FindWindow(const std::string& display, const std::string& pattern, bool wait = true) {
    std::string window;
    for (int i = 0; i < (wait ? 100 : 1) && window.empty(); ++i) {
        test::RunCommand("DISPLAY=" + display + " xdotool search --onlyvisible --name '" + pattern +
                             "' 2>/dev/null",
                         &window);
        if (window.empty() && wait) usleep(100000);
    }
    return window.substr(0, window.find('\n'));
}

// Sends `key` to the window and waits up to 10 s for the program's exit status.
std::vector<uint8_t> CloseWithKey(const std::string& display, const std::string& window, const char* key,
                                  const std::string& statusFile) {
    test::RunCommand("DISPLAY=" + display + " xdotool windowfocus --sync " + window + " key " + key);
    for (int i = 0; i < 100 && !std::filesystem::exists(statusFile); ++i)
        usleep(100000);
    usleep(100000);
    return std::filesystem::exists(statusFile) ? test::ReadFile(statusFile) : std::vector<uint8_t>{};
}

// The configuration mode (/c, or no parameters) opens the configuration
// dialog on a real X server; Esc closes it and the program ends cleanly.
TEST(Dispatch, ConfigurationDialogOpensAndEscClosesIt) {
    test::PrivateXServer server("1024x768x24");
    if (server.display().empty()) GTEST_SKIP() << "Xvfb could not be started";
    const std::string demo = test::BuildBinDir() + "/demo.scr";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "the build made no demo package";
    test::TempDir dir;
    const std::string env = "DISPLAY=" + server.display() + " QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME='" +
                            dir.path() + "' XDG_DATA_HOME='" + dir.path() + "' ";
    for (const char* args : {"/c", ""}) {
        const std::string status = dir.file("status");
        StartInBackground(env + "'" + demo + "' " + args, status);
        const std::string window = FindWindow(server.display(), "Demo Screen Saver Settings");
        ASSERT_FALSE(window.empty()) << "no dialog for '" << args << "'";
        EXPECT_FALSE(std::filesystem::exists(status)) << "the dialog waits for the user";
        EXPECT_EQ(CloseWithKey(server.display(), window, "Escape", status), (std::vector<uint8_t>{'0', '\n'}))
            << "Esc did not close the dialog";
    }
}

// A Flash movie file has no settings: its configuration mode shows a message
// that says so instead of the configuration dialog; Enter closes it.
TEST(Dispatch, AMovieFileSaysThatItHasNoSettings) {
    test::PrivateXServer server("1024x768x24");
    if (server.display().empty()) GTEST_SKIP() << "Xvfb could not be started";
    test::TempDir dir;
    const std::string movie = dir.file("Fish.swf");
    test::WriteFile(movie, test::ReadFile(test::SourceDir() + "/tests/data/swf/image_background-8.swf"));
    const std::string env = "DISPLAY=" + server.display() + " QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME='" +
                            dir.path() + "' XDG_DATA_HOME='" + dir.path() + "' ";
    const std::string status = dir.file("status");
    StartInBackground(env + "'" + test::BuildBinDir() + "/scrtool' play '" + movie + "' /c", status);
    const std::string message = FindWindow(server.display(), "^Screen Saver Settings$");
    ASSERT_FALSE(message.empty()) << "no message";
    EXPECT_EQ(FindWindow(server.display(), "Fish Settings", false), "") << "the configuration dialog opened";
    EXPECT_FALSE(std::filesystem::exists(status)) << "the message waits for the user";
    EXPECT_EQ(CloseWithKey(server.display(), message, "Return", status), (std::vector<uint8_t>{'0', '\n'}))
        << "Enter did not close the message";
}

} // namespace
} // namespace scr
