// scrtool pack, info and export, run as the real programs.

#include "package/PackageBuilder.h"
#include "package/PackageFile.h"
#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace scr {
namespace {

using nlohmann::json;

class PackageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(test::BuildBinDir().empty()) << "SCR_BUILD_BIN is not set";
        test::WriteFile(dir.file("pic.jpg"), test::TinyJpeg());
        test::WriteFile(dir.file("movie.swf"), test::TinySwf());
        test::WriteFile(dir.file("tune.wav"), std::vector<uint8_t>(64, 3));
        manifest = {
            {"name", "Command Test"},
            {"author", {{"name", "Me"}}},
            {"design_width", 800},
            {"design_height", 600},
            {"background", "pic.jpg"},
            {"license_text", "Be nice."},
            {"items",
             {{{"file", "pic.jpg"},
               {"left", 100},
               {"top", 50},
               {"width", 400},
               {"height", 300},
               {"labels", {{{"text", "Hello"}, {"font_size", 20}, {"center_x", 200}, {"center_y", 100}}}}},
              {{"file", "movie.swf"}, {"kind", "flash"}}}},
            {"tracks", {{{"file", "tune.wav"}, {"name", "Tune"}}}},
        };
    }

    // Runs scrtool with arguments (already quoted where needed); stderr joins stdout.
    int Tool(const std::string& arguments, std::string* output = nullptr) {
        return test::RunCommand("'" + test::BuildBinDir() + "/scrtool' " + arguments + " 2>&1", output);
    }

    int Pack(const std::string& out, std::string* output = nullptr) {
        std::ofstream(dir.file("manifest.json")) << manifest.dump();
        return Tool("pack '" + dir.file("manifest.json") + "' -o '" + out + "'", output);
    }

    json Info(const std::string& file, const std::string& options = "") {
        std::string output;
        EXPECT_EQ(Tool("info '" + file + "' --json " + options, &output), 0) << output;
        return json::parse(output, nullptr, false);
    }

    test::TempDir dir;
    json manifest;
};

TEST_F(PackageCommandsTest, PackStoresTheEnglishTablesWhereTheManifestGivesNone) {
    const struct {
        const char* what;
        std::function<void(json&)> change;
        std::string dynamicTexts; // how the stored table starts
        std::string staticCaptions;
    } cases[] = {
        {"no tables", [](json&) {}, "Save All Pictures\r\n", "; Captions"},
        {"own dynamic texts", [](json& m) { m["dynamic_texts"] = "own.txt"; }, "Own text\r\n", "; Captions"},
        {"turned off", [](json& m) { m["default_tables"] = false; }, "", ""},
    };
    for (const auto& c : cases) {
        SetUp();
        std::ofstream(dir.file("own.txt")) << "Own text\n";
        c.change(manifest);
        const std::string out = dir.file("tables.scr");
        std::string output;
        ASSERT_EQ(Pack(out, &output), 0) << output;
        const PackageFile package(out);
        const auto table = [&](bool staticCaptions) {
            const std::vector<uint8_t> bytes = package.ReadLanguageTable(staticCaptions);
            return std::string(bytes.begin(), bytes.end());
        };
        EXPECT_EQ(table(false).rfind(c.dynamicTexts, 0), 0u) << c.what << ": " << table(false);
        EXPECT_EQ(table(true).rfind(c.staticCaptions, 0), 0u) << c.what << ": " << table(true);
        EXPECT_EQ(table(true).find("S_1023=OK\r\n") != std::string::npos, !c.staticCaptions.empty())
            << c.what;
        if (c.dynamicTexts.empty()) {
            EXPECT_TRUE(table(false).empty()) << c.what;
        }
    }
}

TEST_F(PackageCommandsTest, PackThenInfoShowsWhatTheManifestSaid) {
    const std::string out = dir.file("test.scr");
    std::string output;
    ASSERT_EQ(Pack(out, &output), 0) << output;
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    const json info = Info(out);
    const std::vector<std::string> keys = {"kind",
                                           "appended",
                                           "name",
                                           "description",
                                           "package_kind",
                                           "format_level",
                                           "item_count",
                                           "music_count",
                                           "default_display_seconds",
                                           "background_color",
                                           "random_order",
                                           "no_saving",
                                           "placement_mode",
                                           "ignore_mouse_move",
                                           "design_width",
                                           "design_height",
                                           "opacity_percent",
                                           "keep_cursor",
                                           "has_author_info",
                                           "author",
                                           "license_text",
                                           "background",
                                           "music_names",
                                           "items",
                                           "tracks",
                                           "dynamic_texts"};
    std::vector<std::string> actual;
    for (auto it = info.begin(); it != info.end(); ++it)
        actual.push_back(it.key());
    std::sort(actual.begin(), actual.end());
    std::vector<std::string> expected = keys;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(actual, expected);

    EXPECT_EQ(info["kind"], "package");
    EXPECT_EQ(info["appended"], true);
    EXPECT_EQ(info["name"], "Command Test");
    EXPECT_EQ(info["package_kind"], "S");
    EXPECT_EQ(info["format_level"], 5);
    EXPECT_EQ(info["has_author_info"], true);
    EXPECT_EQ(info["author"]["name"], "Me");
    EXPECT_EQ(info["license_text"], "Be nice.");
    EXPECT_EQ(info["background"], json({16, 8}));
    EXPECT_EQ(info["music_names"], json({"Tune"}));
    EXPECT_EQ(info["tracks"][0]["extension"], ".wav");
    EXPECT_EQ(info["tracks"][0]["data_size"], 64);
    ASSERT_EQ(info["items"].size(), 2u);
    const json& picture = info["items"][0];
    EXPECT_EQ(picture["kind"], 0);
    EXPECT_EQ(picture["display_seconds"], 10);
    EXPECT_EQ(picture["fixed_position"], true);
    EXPECT_EQ(picture["left"], 100);
    EXPECT_EQ(picture["data_size"], test::TinyJpeg().size());
    EXPECT_EQ(picture["labels"][0]["text"], "Hello");
    EXPECT_EQ(picture["labels"][0]["text_color"], 0xFFFFFF);
    EXPECT_EQ(info["items"][1]["kind"], 1);
    EXPECT_EQ(info["items"][1]["labels"], json::array());

    // The same manifest packs to the same bytes.
    const std::string again = dir.file("again.scr");
    ASSERT_EQ(Pack(again), 0);
    EXPECT_EQ(test::ReadFile(again), test::ReadFile(out));
}

TEST_F(PackageCommandsTest, InfoFitsTheLayoutToTheGivenScreen) {
    const std::string out = dir.file("test.scr");
    ASSERT_EQ(Pack(out), 0);
    // 800 x 600 on 1600 x 1000: f = 1000 / 600, centred horizontally.
    const json info = Info(out, "--screen 1600x1000");
    EXPECT_EQ(info["design_width"], 1600);
    EXPECT_EQ(info["design_height"], 1000);
    const json& item = info["items"][0];
    EXPECT_EQ(item["left"], 133 + 166);
    EXPECT_EQ(item["top"], 83);
    EXPECT_EQ(item["width"], 666);
    EXPECT_EQ(item["labels"][0]["font_size"], 33);

    std::string output;
    EXPECT_EQ(Tool("info '" + out + "' --screen big", &output), 2);
    EXPECT_NE(output.find("--screen"), std::string::npos);
}

// A file that holds neither a package nor a Flash movie is refused: its
// kind is "none", and the reason is given on one line.
TEST_F(PackageCommandsTest, AFileWithoutAPackageOrAMovieIsRefused) {
    test::WriteFile(dir.file("plain.bin"), std::vector<uint8_t>(1000, 0x41));
    std::string output;
    EXPECT_EQ(test::RunCommand("'" + test::BuildBinDir() + "/scrtool' info '" + dir.file("plain.bin") +
                                   "' --json 2>/dev/null",
                               &output),
              1);
    const json info = json::parse(output);
    EXPECT_EQ(info["kind"], "none");
    EXPECT_NE(info["reason"].get<std::string>().find("holds no Flash movie header"), std::string::npos);
    EXPECT_EQ(Tool("info '" + dir.file("plain.bin") + "'", &output), 1);
    EXPECT_EQ(output, "scrtool info: no Flash movie found in " + dir.file("plain.bin") + ": " +
                          info["reason"].get<std::string>() + "\n");

    EXPECT_EQ(Tool("info '" + dir.file("missing.scr") + "'", &output), 2);
    EXPECT_NE(output.find("missing.scr"), std::string::npos);
    EXPECT_EQ(Tool("info '" + dir.path() + "'"), 2); // a folder is not a package file
}

TEST_F(PackageCommandsTest, AManifestErrorNamesTheKeyAndWritesNothing) {
    const std::string out = dir.file("test.scr");
    test::WriteFile(out, {1, 2, 3});
    manifest["items"][1]["display_seconds"] = 4294967296; // wider than the stored 32 bits
    std::string output;
    EXPECT_EQ(Pack(out, &output), 1);
    EXPECT_NE(output.find("items[1].display_seconds: 4294967296 is out of range"), std::string::npos)
        << output;
    EXPECT_EQ(test::ReadFile(out), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        5); // the three inputs, the manifest and the old output: no temporary file left

    manifest.erase("name");
    EXPECT_EQ(Pack(dir.file("new.scr"), &output), 1);
    EXPECT_NE(output.find("name: is required"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.scr")));
    EXPECT_EQ(Tool("pack '" + dir.file("manifest.json") + "'"), 2); // no -o
}

TEST_F(PackageCommandsTest, ExportWritesTheContentAndNamesWhatFailed) {
    const std::string out = dir.file("test.scr");
    ASSERT_EQ(Pack(out), 0);
    const std::string all = dir.file("all"), music = dir.file("music");
    std::filesystem::create_directory(all);
    std::filesystem::create_directory(music);
    std::string output;
    ASSERT_EQ(Tool("export '" + out + "' '" + all + "'", &output), 0) << output;
    for (const char* name : {"Pic_bk.jpg", "Pic_1.jpg", "Flash_2.swf", "Music_1.wav"})
        EXPECT_TRUE(std::filesystem::exists(all + "/" + name)) << name;
    EXPECT_EQ(test::ReadFile(all + "/Flash_2.swf"), test::TinySwf());
    EXPECT_EQ(test::ReadFile(all + "/Music_1.wav"), std::vector<uint8_t>(64, 3));

    ASSERT_EQ(Tool("export '" + out + "' '" + music + "' --no-pictures", &output), 0) << output;
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(music), std::filesystem::directory_iterator()), 1);

    EXPECT_EQ(Tool("export '" + out + "' '" + dir.file("nowhere") + "'", &output), 1);
    EXPECT_NE(output.find("nowhere is not a folder"), std::string::npos) << output;

    // A package whose second picture does not decode stops the export there.
    PackageDescription d = test::FullDescription();
    d.items[1].record.kind = ShowItem::Picture;
    const Result<void> packed = WritePackedFile(dir.file("broken.scr"), std::vector<uint8_t>(10, 0), d);
    ASSERT_TRUE(packed) << packed.error();
    EXPECT_EQ(Tool("export '" + dir.file("broken.scr") + "' '" + all + "' --no-music", &output), 1);
    EXPECT_NE(output.find("Pic_2.jpg failed: item 2, a picture"), std::string::npos) << output;
}

// The commands a file manager's actions run on a .scr file choose the mode
// from their own arguments, never from the file's name or package kind.
TEST_F(PackageCommandsTest, PlayAndInstallRunTheModeTheirArgumentsAsk) {
    const std::string packed = dir.file("mine.scr");
    ASSERT_EQ(Pack(packed), 0);
    struct Case {
        std::string arguments;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {"play '" + packed + "' /s", 0, "mode=Show parent=0\n"},
        {"play '" + packed + "' /c", 0, "mode=Config parent=0\n"},
        {"play '" + packed + "'", 0, "mode=Config parent=0\n"},
        {"play '" + packed + "' /p 77", 0, "mode=Preview parent=77\n"},
        {"install '" + packed + "'", 0, "mode=Install parent=0\n"},
        {"install", 2, "usage: scrtool install FILE\n"},
        {"install '" + dir.path() + "'", 1, "scrtool install: '" + dir.path() + "' is not a readable file\n"},
        {"play '" + dir.file("missing.scr") + "' /s", 1,
         "scrtool play: '" + dir.file("missing.scr") + "' is not a readable file\n"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(test::RunCommand("SCRPLAYER_PRINT_MODE=1 '" + test::BuildBinDir() + "/scrtool' " +
                                       c.arguments + " 2>&1",
                                   &output),
                  c.status)
            << c.arguments;
        EXPECT_EQ(output, c.output) << c.arguments;
    }
}

// The idle watcher refuses idle times it cannot mean, and wrong actions,
// before it touches any session.
TEST_F(PackageCommandsTest, SaverRefusesWrongIdleTimesAndActions) {
    const std::string packed = dir.file("mine.scr");
    ASSERT_EQ(Pack(packed), 0);
    const std::string refusal = "--after takes a whole number of seconds from 1 to 86400";
    struct Case {
        std::string arguments;
        std::string says;
    };
    const Case cases[] = {
        {"saver run '" + packed + "' --after 0", refusal},
        {"saver run '" + packed + "' --after -5", refusal},
        {"saver enable '" + packed + "' --after 86401", refusal},
        {"saver run '" + packed + "' --after 99999999999999999999", refusal},
        {"saver run '" + packed + "' --after 1.5", refusal},
        {"saver run '" + packed + "' --after three", refusal},
        {"saver run '" + packed + "' --after", "--after"},
        {"saver run", "usage: scrtool saver run FILE"},
        {"saver status now", "takes no arguments"},
        {"saver start '" + packed + "'", "unknown action 'start'"},
        {"saver", "usage: scrtool saver run FILE"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(Tool(c.arguments, &output), 2) << c.arguments;
        EXPECT_NE(output.find(c.says), std::string::npos) << c.arguments << ": " << output;
    }
}

} // namespace
} // namespace scr
