#include "package/PackageManifest.h"

#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace scr {
namespace {

using nlohmann::json;

class PackageManifestTest : public ::testing::Test {
public:
    void SetUp() override {
        test::WriteFile(dir.file("pic.jpg"), test::TinyJpeg());
        test::WriteFile(dir.file("pic12.jpg"),
                        test::ReadFile(test::SourceDir() + "/tests/data/monkey12.jpg"));
        test::WriteFile(dir.file("movie.swf"), test::TinySwf());
        test::WriteFile(dir.file("song.wav"), std::vector<uint8_t>(100, 7));
        WriteText("license.txt", "Licence\nsecond line\n");
        WriteText("dynamic.txt", "Zero\nOne\r\nTwo");
        WriteText("captions.ini", "[FS_0]\nS_1024=Close\n");
        manifest = {
            {"name", "  Test Package "},
            {"description", "About it"},
            {"author", {{"name", "Me"}, {"email", "me@example.org"}}},
            {"default_display_seconds", 6},
            {"default_transition_effect", 17},
            {"background_color", "#112233"},
            {"placement_mode", 0},
            {"design_width", 1280},
            {"design_height", 800},
            {"background", "pic.jpg"},
            {"license", "license.txt"},
            {"dynamic_texts", "dynamic.txt"},
            {"static_captions", "captions.ini"},
            {"items",
             {{{"file", "pic.jpg"},
               {"labels",
                {{{"text", "Caf\u00e9"}, {"bold", true}, {"underline", true}, {"text_color", "#FF8000"}}}}},
              {{"file", "movie.swf"}, {"kind", "flash"}, {"display_seconds", -12}, {"exit_step", 30}}}},
            {"tracks", {{{"file", "song.wav"}}}},
        };
    }

    void WriteText(const std::string& name, const std::string& text) {
        std::ofstream(dir.file(name), std::ios::binary) << text;
    }

    bool Load(PackageDescription& d, std::string& error) {
        WriteText("manifest.json", manifest.dump());
        return LoadPackageManifest(dir.file("manifest.json"), d, &error);
    }

    test::TempDir dir;
    json manifest;
};

TEST_F(PackageManifestTest, FillsTheDescriptionWithItemsTakingThePackageDefaults) {
    PackageDescription d;
    std::string error;
    ASSERT_TRUE(Load(d, error)) << error;
    EXPECT_EQ(d.name, "Test Package");
    EXPECT_EQ(d.info.description(), "About it");
    EXPECT_EQ(d.info.packageKind(), 'S');
    EXPECT_EQ(d.info.formatLevel(), 5);
    EXPECT_EQ(d.info.hasAuthorInfo(), 1);
    EXPECT_EQ(d.author.name(), "Me");
    EXPECT_EQ(d.author.homepage(), "");
    EXPECT_EQ(d.info.backgroundColor(), 0x332211u);
    EXPECT_EQ(d.info.designWidth(), 1280);
    EXPECT_EQ(d.extension.designHeight, 800);
    EXPECT_EQ(d.background, test::TinyJpeg());
    EXPECT_EQ(d.licenseText, "Licence\r\nsecond line\r\n");
    EXPECT_EQ(d.dynamicTexts, "Zero\r\nOne\r\nTwo");
    EXPECT_EQ(d.staticCaptions, "[FS_0]\r\nS_1024=Close\r\n");

    ASSERT_EQ(d.items.size(), 2u);
    const ShowItem& picture = d.items[0].record;
    EXPECT_EQ(picture.kind, ShowItem::Picture);
    EXPECT_EQ(picture.displaySeconds, 6);
    EXPECT_EQ(picture.transitionEffect, 17);
    EXPECT_EQ(picture.transitionStep, 10);
    EXPECT_EQ(picture.exitEffect, -1);
    EXPECT_EQ(picture.fixedPosition, 1); // placement mode 0
    EXPECT_EQ(d.items[0].data, test::TinyJpeg());
    const ShowItem& movie = d.items[1].record;
    EXPECT_EQ(movie.kind, ShowItem::Flash);
    EXPECT_EQ(movie.displaySeconds, -12);
    EXPECT_EQ(movie.exitStep, 30);

    ASSERT_EQ(d.labels.GroupCount(), 2);
    const LabelItem* label = Label(d.labels.Group(0), 0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Caf\xE9"); // stored in the code page
    EXPECT_EQ(label->record().fontNameText(), "Arial");
    EXPECT_EQ(label->record().fontSize, 12);
    EXPECT_EQ(label->record().fontStyle, LabelBold | LabelUnderline);
    EXPECT_EQ(label->record().textColor, 0x0080FFu);
    EXPECT_EQ(label->record().transparent, 1);
    EXPECT_EQ(LabelCount(d.labels.Group(1)), 0);

    ASSERT_EQ(d.tracks.size(), 1u);
    EXPECT_EQ(d.tracks[0].record.extension(), ".wav");
    EXPECT_TRUE(d.musicNames.empty()); // no names given: the player makes them up
}

TEST_F(PackageManifestTest, TracksWithoutANameAreNamedAfterTheirFileWhenOthersHaveOne) {
    manifest["tracks"] = {{{"file", "song.wav"}, {"name", "Tune"}}, {{"file", "song.wav"}}};
    PackageDescription d;
    std::string error;
    ASSERT_TRUE(Load(d, error)) << error;
    EXPECT_EQ(d.musicNames, (std::vector<std::string>{"Tune", "song.wav"}));
}

TEST_F(PackageManifestTest, ErrorsNameTheKey) {
    struct Case {
        std::function<void(json&)> change;
        const char* message;
    };
    const Case cases[] = {
        {[](json& m) { m["colour"] = 1; }, "colour: unknown key"},
        {[](json& m) { m["items"][0]["speed"] = 1; }, "items[0].speed: unknown key"},
        {[](json& m) { m["items"][0]["labels"][0]["size"] = 1; }, "items[0].labels[0].size: unknown key"},
        {[](json& m) { m["author"]["phone"] = "1"; }, "author.phone: unknown key"},
        {[](json& m) { m.erase("name"); }, "name: is required"},
        {[](json& m) { m["name"] = "   "; }, "name: must not be empty"},
        {[](json& m) { m["name"] = std::string(64, 'n'); }, "name: is 64 bytes long, at most 63 fit"},
        {[](json& m) { m["name"] = "tab\there"; }, "name: must not contain control characters"},
        {[](json& m) { m["description"] = std::string(258, 'd'); }, "description: is 258 bytes long"},
        {[](json& m) { m["author"]["name"] = std::string(32, 'a'); }, "author.name: is 32 bytes long"},
        {[](json& m) { m["kind"] = "X"; }, "kind: must be one of \"S\", \"E\""},
        {[](json& m) { m["format_level"] = 6; }, "format_level: 6 is out of range 1..5"},
        {[](json& m) { m["default_transition_step"] = 0; },
         "default_transition_step: 0 is out of range 1..100"},
        {[](json& m) { m["design_width"] = 4294967296u; }, "design_width: 4294967296 is out of range"},
        {[](json& m) { m["items"][0]["display_seconds"] = "5"; },
         "items[0].display_seconds: must be an integer"},
        {[](json& m) { m["items"][1]["transition_effect"] = 128; },
         "items[1].transition_effect: 128 is out of range"},
        {[](json& m) { m["random_order"] = 1; }, "random_order: must be true or false"},
        {[](json& m) { m["background_color"] = "red"; },
         "background_color: must be a colour written #RRGGBB"},
        {[](json& m) { m["items"][0]["file"] = "nothing.jpg"; }, "items[0].file: no such file"},
        {[](json& m) { m["items"][0].erase("file"); }, "items[0].file: is required"},
        {[](json& m) { m["items"][0]["file"] = "movie.swf"; }, "items[0].file: is not a JPEG picture"},
        {[](json& m) { m["items"][1]["file"] = "pic.jpg"; }, "items[1].file: is not a Flash movie"},
        {[](json& m) { m["items"][1]["kind"] = "sound"; }, "items[1].kind: must be \"picture\", \"flash\""},
        {[](json& m) { m["background"] = "song.wav"; }, "background: is not a JPEG picture"},
        {[](json& m) { m["items"][0]["file"] = "pic12.jpg"; },
         "items[0].file: is a 12-bit JPEG picture, and 12-bit JPEGs cannot be shown"},
        {[](json& m) { m["background"] = "pic12.jpg"; },
         "background: is a 12-bit JPEG picture, and 12-bit JPEGs cannot be shown"},
        {[](json& m) { m["items"][0]["labels"][0]["font_name"] = std::string(32, 'f'); },
         "items[0].labels[0].font_name: is 32 bytes long"},
        {[](json& m) { m["items"][0]["labels"][0]["text"] = "z \u2192 z"; },
         "items[0].labels[0].text: holds a character that code page"},
        {[](json& m) { m["items"] = json::object(); }, "items: must be an array"},
        {[](json& m) { m["items"][0]["labels"] = {1}; }, "items[0].labels[0]: must be an object"},
        {[](json& m) { m["license_text"] = "x"; }, "license_text: cannot be given together with license"},
        {[](json& m) { m["format_level"] = 4; }, "license: needs format_level 5 or more"},
        {[](json& m) {
             m["format_level"] = 3;
             m.erase("license");
         },
         "design_height: needs format_level 4 or more"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.change(manifest);
        PackageDescription d;
        std::string error;
        EXPECT_FALSE(Load(d, error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "expected: " << c.message << "\n     got: " << error;
    }
}

TEST_F(PackageManifestTest, FileErrorsNameTheFileAndTheKey) {
    struct Case {
        std::function<void(PackageManifestTest&)> change;
        const char* message;
    };
    const Case cases[] = {
        {[](auto& t) { t.WriteText("license.txt", std::string(65537, 'l')); },
         "license: the text is 65537 bytes long, at most 65536 fit"},
        {[](auto& t) { t.WriteText("dynamic.txt", "bad \xFF byte"); }, "dynamic_texts: holds a character"},
        {[](auto& t) {
             t.WriteText("song", "x");
             t.manifest["tracks"][0]["file"] = "song";
         },
         "tracks[0].file: needs an extension"},
        {[](auto& t) {
             t.WriteText("song.toolong", "x");
             t.manifest["tracks"][0]["file"] = "song.toolong";
         },
         "tracks[0].file: needs an extension"},
        {[](auto& t) {
             t.WriteText("empty.mp3", "");
             t.manifest["tracks"][0]["file"] = "empty.mp3";
         },
         "tracks[0].file: is empty"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.change(*this);
        PackageDescription d;
        std::string error;
        EXPECT_FALSE(Load(d, error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << "expected: " << c.message << "\n     got: " << error;
    }
    std::string error;
    PackageDescription d;
    EXPECT_FALSE(LoadPackageManifest(dir.file("absent.json"), d, &error));
    EXPECT_NE(error.find("absent.json"), std::string::npos);
    WriteText("broken.json", "{ \"name\": ");
    EXPECT_FALSE(LoadPackageManifest(dir.file("broken.json"), d, &error));
    EXPECT_NE(error.find("broken.json: not valid JSON"), std::string::npos) << error;
}

} // namespace
} // namespace scr
