// scrtool on Flash movie files, run as the real program: info names the
// kind and the movie, unpack writes the movie byte for byte and a manifest
// that packs into a screen saver, export writes the movie, install registers
// the file with the hosts, and damaged files are refused with one line.

#include "tests/package/PackageFixture.h"
#include "tests/package/ProjectorFixtures.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace scr {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

class MovieFileCommandsTest : public ::testing::Test {
protected:
    // Runs scrtool with arguments (already quoted where needed); stderr joins stdout unless `errors` is
    // given.
    int Tool(const std::string& arguments, std::string* output = nullptr, std::string* errors = nullptr) {
        const std::string command = "'" + test::BuildBinDir() + "/scrtool' " + arguments;
        if (!errors) return test::RunCommand(command + " 2>&1", output);
        const std::string errorFile = dir.file("stderr.txt");
        const int status = test::RunCommand(command + " 2>'" + errorFile + "'", output);
        const auto bytes = test::ReadFile(errorFile);
        errors->assign(bytes.begin(), bytes.end());
        return status;
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        test::WriteFile(dir.file(name), bytes);
        return dir.file(name);
    }

    struct Kind {
        std::string word;
        std::string file;
        std::vector<uint8_t> movie;
    };
    // One file of every kind, each with a movie of its own.
    std::vector<Kind> EveryKind() {
        const auto fws = test::TestMovie({.frames = 20, .fps = 10, .width = 200, .height = 100});
        const auto cws = test::TestMovie({.frames = 12, .compression = SwfCompression::Zlib});
        const auto zws = test::TestMovie({.frames = 8, .version = 13, .compression = SwfCompression::Lzma});
        test::WriteMacApp(dir.file("Fish.app"), cws);
        return {
            {"windows-projector", Write("Fish.exe", test::WindowsProjector(test::BuildPeFile({}), cws)), cws},
            {"linux-projector-32",
             Write("fish32", test::LinuxProjector(test::MinimalElfProgram(32), fws, 32)), fws},
            {"linux-projector-64",
             Write("fish64",
                   test::LinuxProjector(test::ReadFile(test::BuildBinDir() + "/projector_stub"), zws, 64)),
             zws},
            {"mac-app", dir.file("Fish.app"), cws},
            {"pe-resource",
             Write("Saver.scr", test::BuildPeWithResources({{"SHOCKWAVE", 0, "", 1, 1033, zws}})), zws},
            {"embedded-swf", Write("Wrapped.exe", test::WrapperWithDecoys(fws)), fws},
            {"swf", Write("bare.swf", cws), cws},
        };
    }

    test::TempDir dir;
};

TEST_F(MovieFileCommandsTest, InfoNamesTheKindAndTheMovieAndUnpackWritesItByteForByte) {
    for (const Kind& kind : EveryKind()) {
        SCOPED_TRACE(kind.word);
        std::string output;
        ASSERT_EQ(Tool("info '" + kind.file + "'", &output), 0) << output;
        EXPECT_NE(output.find("Kind:             " + kind.word + "\n"), std::string::npos) << output;
        ASSERT_EQ(Tool("info '" + kind.file + "' --json", &output), 0) << output;
        const json info = json::parse(output);
        EXPECT_EQ(info["kind"], kind.word);
        EXPECT_EQ(info["movie"]["length"], kind.movie.size());
        EXPECT_GT(info["movie"]["frame_count"].get<int>(), 1);
        EXPECT_GT(info["movie"]["frame_rate"].get<double>(), 0);
        EXPECT_GT(info["movie"]["width"].get<int>(), 0);
        const std::vector<uint8_t> whole = test::ReadFile(info["movie_file"].get<std::string>());
        const auto offset = info["movie"]["offset"].get<std::ptrdiff_t>();
        EXPECT_EQ(
            std::vector<uint8_t>(whole.begin() + offset,
                                 whole.begin() + offset + static_cast<std::ptrdiff_t>(kind.movie.size())),
            kind.movie);

        const std::string folder = dir.file("unpacked-" + kind.word);
        ASSERT_EQ(Tool("unpack '" + kind.file + "' '" + folder + "'", &output), 0) << output;
        EXPECT_EQ(test::ReadFile(folder + "/item-01.swf"), kind.movie);
        const std::string packed = dir.file(kind.word + ".scr");
        ASSERT_EQ(Tool("pack '" + folder + "/manifest.json' -o '" + packed + "' --stub '" +
                           test::BuildBinDir() + "/scrplayer'",
                       &output),
                  0)
            << output;
        ASSERT_EQ(Tool("info '" + packed + "' --json", &output), 0) << output;
        const json package = json::parse(output);
        EXPECT_EQ(package["kind"], "package");
        ASSERT_EQ(package["items"].size(), 1u);
        EXPECT_EQ(package["items"][0]["kind"], 1);
        EXPECT_EQ(package["items"][0]["data_size"], kind.movie.size());

        const std::string exported = dir.file("exported-" + kind.word);
        fs::create_directories(exported);
        ASSERT_EQ(Tool("export '" + kind.file + "' '" + exported + "'", &output), 0) << output;
        EXPECT_EQ(test::ReadFile(exported + "/Flash_1.swf"), kind.movie);
    }
}

TEST_F(MovieFileCommandsTest, DamagedFilesAreRefusedWithOneLineNamingTheFileAndTheReason) {
    const auto movie = test::TestMovie({.frames = 4});
    std::vector<uint8_t> lyingTrailer = test::BuildPeFile({});
    lyingTrailer.insert(lyingTrailer.end(), {0x56, 0x34, 0x12, 0xFA, 0xff, 0xff, 0, 0});
    std::vector<uint8_t> zeroLength = test::MinimalElfProgram(64);
    zeroLength.insert(zeroLength.end(),
                      {0, 0, 0, 0, 0, 0, 0, 0, 0x56, 0x34, 0x12, 0xFA, 0xff, 0xff, 0xff, 0xff});
    std::vector<uint8_t> badLzma =
        test::TestMovie({.frames = 2, .version = 13, .compression = SwfCompression::Lzma});
    badLzma[12] = 0xe1;
    // A 2 GB file, sparse, with nothing in it.
    const std::string huge = dir.file("huge.exe");
    test::WriteFile(huge, {'M', 'Z'});
    fs::resize_file(huge, 2ull << 30);
    fs::create_directories(dir.file("Empty.app/Contents"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Write("lying.exe", lyingTrailer), "gives a movie of 65535 bytes"},
        {Write("zero", zeroLength), "gives a movie length of 0"},
        {Write("lzma.swf", badLzma), "LZMA properties are not valid"},
        {huge, "holds no Flash movie header"},
        {dir.file("Empty.app"), "without Contents/Resources/movie.swf"},
        {Write("cut.swf", std::vector<uint8_t>(movie.begin(), movie.end() - 3)), "starts like a Flash movie"},
    };
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        for (const std::string command : {"info", "unpack", "play"}) {
            std::string output, errors;
            const std::string arguments = command == "unpack" ? "'" + file + "' '" + dir.file("out") + "'"
                                          : command == "play" ? "'" + file + "' /s"
                                                              : "'" + file + "'";
            EXPECT_EQ(Tool(command + " " + arguments, &output, &errors), 1) << command << ": " << errors;
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << command << ": " << errors;
            EXPECT_NE(errors.find("no Flash movie found in " + file + ": "), std::string::npos) << errors;
            EXPECT_NE(errors.find(reason), std::string::npos) << command << ": " << errors;
            EXPECT_EQ(output, "") << command;
        }
    }
    EXPECT_FALSE(fs::exists(dir.file("out")));
}

TEST_F(MovieFileCommandsTest, InstallSaysWhatItInstallsAndRegistersTheFileWhereItLies) {
    const std::string file =
        Write("Fish.exe", test::WindowsProjector(test::BuildPeFile({}), test::TestMovie()));
    const std::string home = dir.file("home");
    const std::string bin = dir.file("bin");
    fs::create_directories(home);
    fs::create_directories(bin);
    // A stand-in xscreensaver, and its settings program, which the install starts.
    for (const char* program : {"xscreensaver", "xscreensaver-settings"}) {
        test::WriteFile(bin + "/" + program, {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
        fs::permissions(bin + "/" + program, fs::perms::owner_all);
    }
    std::string output;
    const std::string environment = "HOME='" + home + "' XDG_DATA_HOME='" + home + "/.local/share' PATH='" +
                                    bin + ":/usr/bin:/bin' QT_QPA_PLATFORM=offscreen";
    ASSERT_EQ(
        test::RunCommand(environment + " '" + test::BuildBinDir() + "/scrtool' install '" + file + "' 2>&1",
                         &output),
        0)
        << output;
    EXPECT_NE(
        output.find(file + " is a Windows Flash projector (windows-projector), which cannot run by itself"),
        std::string::npos)
        << output;
    EXPECT_NE(output.find("Registered with xscreensaver"), std::string::npos) << output;
    EXPECT_NE(output.find("Nothing was copied"), std::string::npos) << output;
    const auto config = test::ReadFile(home + "/.xscreensaver");
    const std::string text(config.begin(), config.end());
    EXPECT_NE(text.find("\"Fish\"  " + test::BuildBinDir() + "/scrtool play " + file + " -root"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("mode:\t\tone"), std::string::npos) << text;
}

} // namespace
} // namespace scr
