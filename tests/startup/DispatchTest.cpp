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
        std::filesystem::remove(status);
        // The program in the background; its exit status lands in a file.
        test::RunCommand("(" + env + "'" + demo + "' " + args + " >/dev/null 2>&1; echo $? > '" + status +
                         "') >/dev/null 2>&1 &");
        std::string window;
        for (int i = 0; i < 100 && window.empty(); ++i) {
            test::RunCommand(
                "DISPLAY=" + server.display() +
                    " xdotool search --onlyvisible --name 'Demo Screen Saver Settings' 2>/dev/null",
                &window);
            if (window.empty()) usleep(100000);
        }
        ASSERT_FALSE(window.empty()) << "no dialog for '" << args << "'";
        EXPECT_FALSE(std::filesystem::exists(status)) << "the dialog waits for the user";
        const std::string id = window.substr(0, window.find('\n'));
        test::RunCommand("DISPLAY=" + server.display() + " xdotool windowfocus --sync " + id + " key Escape");
        for (int i = 0; i < 100 && !std::filesystem::exists(status); ++i)
            usleep(100000);
        usleep(100000);
        ASSERT_TRUE(std::filesystem::exists(status)) << "Esc did not close the dialog";
        EXPECT_EQ(test::ReadFile(status), (std::vector<uint8_t>{'0', '\n'}));
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
    const std::string env = "DISPLAY=" + server.display() + " QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME='" + dir.path() +
                            "' XDG_DATA_HOME='" + dir.path() + "' ";
    const std::string status = dir.file("status");
    test::RunCommand("(" + env + "'" + test::BuildBinDir() + "/scrtool' play '" + movie +
                     "' /c >/dev/null 2>&1; echo $? > '" + status + "') >/dev/null 2>&1 &");
    const auto find = [&](const std::string& name) {
        std::string window;
        test::RunCommand("DISPLAY=" + server.display() + " xdotool search --onlyvisible --name '" + name +
                             "' 2>/dev/null",
                         &window);
        return window.substr(0, window.find('\n'));
    };
    std::string message;
    for (int i = 0; i < 100 && message.empty(); ++i) {
        message = find("^Screen Saver Settings$");
        if (message.empty()) usleep(100000);
    }
    ASSERT_FALSE(message.empty()) << "no message";
    EXPECT_EQ(find("Fish Settings"), "") << "the configuration dialog opened";
    EXPECT_FALSE(std::filesystem::exists(status)) << "the message waits for the user";
    test::RunCommand("DISPLAY=" + server.display() + " xdotool windowfocus --sync " + message + " key Return");
    for (int i = 0; i < 100 && !std::filesystem::exists(status); ++i)
        usleep(100000);
    usleep(100000);
    ASSERT_TRUE(std::filesystem::exists(status)) << "Enter did not close the message";
    EXPECT_EQ(test::ReadFile(status), (std::vector<uint8_t>{'0', '\n'}));
}

} // namespace
} // namespace scr
