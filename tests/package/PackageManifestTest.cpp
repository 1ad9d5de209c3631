#include "package/PackageManifest.h"

#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <climits>
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
        test::WriteFile(dir.file("empty.mp3"), {});
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

    // The manifest's description in `d`, or false with the reason in `error`.
    bool Load(PackageDescription& d, std::string& error) {
        WriteText("manifest.json", manifest.dump());
        Result<PackageDescription> loaded = LoadPackageManifest(dir.file("manifest.json"));
        if (!loaded) {
            error = loaded.error();
            return false;
        }
        d = std::move(loaded).value();
        return true;
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
        {[](json& m) { m["name"] = std::string(64, 'n'); }, "name: is 64 bytes long, at most 63 fit"},
        {[](json& m) { m["description"] = std::string(258, 'd'); }, "description: is 258 bytes long"},
        {[](json& m) { m["author"]["name"] = std::string(32, 'a'); }, "author.name: is 32 bytes long"},
        {[](json& m) { m["kind"] = "X"; }, "kind: must be one of \"S\", \"E\""},
        {[](json& m) { m["design_width"] = 4294967296u; }, "design_width: 4294967296 is out of range"},
        {[](json& m) { m["format_level"] = -2147483649LL; }, "format_level: -2147483649 is out of range"},
        {[](json& m) { m["placement_mode"] = 256; }, "placement_mode: 256 is out of range 0..255"},
        {[](json& m) { m["random_order"] = 256; }, "random_order: 256 is out of range 0..255"},
        {[](json& m) { m["random_order"] = "yes"; }, "random_order: must be true or false, or the stored"},
        {[](json& m) { m["kind"] = 300; }, "kind: 300 is out of range 0..255"},
        {[](json& m) { m["items"][0]["labels"][0]["style_bits"] = 256; },
         "items[0].labels[0].style_bits: 256 is out of range 0..255"},
        {[](json& m) { m["background_color"] = "#1122334"; }, "background_color: must be a colour"},
        {[](json& m) {
             m["description"] = {{"bytes", "4g"}};
         },
         "description: must be {\"bytes\": HEX}"},
        {[](json& m) {
             m["description"] = {{"bytes", "414"}};
         },
         "description: must be {\"bytes\": HEX}"},
        {[](json& m) {
             m["description"] = {{"bytes", std::string(518, 'a')}};
         },
         "description: is 259 bytes long, at most 258 fit"},
        {[](json& m) {
             m["license"] = {{"file", "license.txt"}};
         },
         "license: must be a file path, or {\"file\": PATH, \"verbatim\": true}"},
        {[](json& m) { m["tracks"][0]["name"] = "two\nlines"; },
         "tracks[0].name: must not hold a line break"},
        {[](json& m) { m["tracks"][0]["extension"] = ".12345678"; }, "tracks[0].extension: is 9 bytes long"},
        {[](json& m) { m["items"][0]["display_seconds"] = "5"; },
         "items[0].display_seconds: must be an integer"},
        {[](json& m) { m["background_color"] = "red"; },
         "background_color: must be a colour written #RRGGBB"},
        {[](json& m) { m["items"][0]["file"] = "nothing.jpg"; }, "items[0].file: no such file"},
        {[](json& m) { m["items"][1]["kind"] = "sound"; }, "items[1].kind: must be \"picture\", \"flash\""},
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

// Values a package can store but the player treats specially are packed as
// given, each with a warning that names the key.
TEST_F(PackageManifestTest, UnusualValuesAreStoredAsGivenWithAWarning) {
    struct Case {
        std::function<void(json&)> change;
        const char* warning;
        std::function<bool(const PackageDescription&)> stored;
    };
    const Case cases[] = {
        {[](json& m) { m["items"][1]["exit_step"] = 0; },
         "items[1].exit_step: 0 lies outside the usual 1..100 and is stored as given (the player steps by 1 "
         "below and by 100 above)",
         [](const PackageDescription& d) { return d.items[1].record.exitStep == 0; }},
        {[](json& m) { m["default_transition_step"] = -2147483648LL; },
         "default_transition_step: -2147483648 lies outside the usual 1..100",
         [](const PackageDescription& d) { return d.info.defaultTransitionStep() == INT32_MIN; }},
        {[](json& m) { m["items"][0]["transition_effect"] = 128; },
         "items[0].transition_effect: 128 lies outside the usual -2..127",
         [](const PackageDescription& d) { return d.items[0].record.transitionEffect == 128; }},
        {[](json& m) { m["items"][0]["labels"][0]["font_size"] = 0; },
         "items[0].labels[0].font_size: 0 lies outside the usual 1..1000",
         [](const PackageDescription& d) { return Label(d.labels.Group(0), 0)->record().fontSize == 0; }},
        {[](json& m) { m["items"][0]["labels"][0]["text_color"] = "#7FFF8000"; },
         "items[0].labels[0].text_color: the high byte 7F is stored as given (the player ignores it)",
         [](const PackageDescription& d) {
             return Label(d.labels.Group(0), 0)->record().textColor == 0x7F0080FFu;
         }},
        {[](json& m) { m["items"][0]["labels"][0]["style_bits"] = 0x30; },
         "items[0].labels[0].style_bits: 48 sets bits above the four styles; they are stored as given",
         [](const PackageDescription& d) {
             return Label(d.labels.Group(0), 0)->record().fontStyle == (0x30 | LabelBold | LabelUnderline);
         }},
        {[](json& m) { m["items"][1]["kind"] = -7; }, "items[1].kind: -7 lies outside the usual 0..1",
         [](const PackageDescription& d) { return d.items[1].record.kind == -7; }},
        {[](json& m) { m["kind"] = 0; }, "kind: 0 is stored as given (the player treats it like \"S\")",
         [](const PackageDescription& d) { return d.info.packageKind() == 0; }},
        {[](json& m) { m["format_level"] = 6; }, "format_level: 6 lies outside the usual 1..5",
         [](const PackageDescription& d) { return d.info.formatLevel() == 6; }},
        {[](json& m) { m["placement_mode"] = 200; }, "placement_mode: 200 lies outside the usual 0..3",
         [](const PackageDescription& d) { return d.info.placementMode() == 200; }},
        {[](json& m) { m["ignore_mouse_move"] = 2; },
         "ignore_mouse_move: 2 is stored as given (the player ignores the mouse only for 1)",
         [](const PackageDescription& d) { return d.info.ignoreMouseMove() == 2; }},
        {[](json& m) { m["keep_cursor"] = -1; }, "keep_cursor: -1 is stored as given",
         [](const PackageDescription& d) { return d.extension.keepCursor == -1; }},
        {[](json& m) { m["name"] = "   "; }, "name: is empty; the package has no name",
         [](const PackageDescription& d) { return d.name.empty(); }},
        {[](json& m) { m["name"] = "tab\there"; }, "name: holds control characters",
         [](const PackageDescription& d) { return d.name == "tab\there"; }},
        {[](json& m) { m["items"][0]["file"] = "movie.swf"; },
         "items[0].file: is not a JPEG picture; the player cannot show it",
         [](const PackageDescription& d) { return d.items[0].data == test::TinySwf(); }},
        {[](json& m) { m["items"][1]["file"] = "pic.jpg"; }, "items[1].file: is not a Flash movie",
         [](const PackageDescription& d) { return d.items[1].data == test::TinyJpeg(); }},
        {[](json& m) { m["items"][0].erase("file"); }, "items[0].file: is not given; the item has no data",
         [](const PackageDescription& d) { return d.items[0].data.empty(); }},
        {[](json& m) { m["tracks"][0]["file"] = "empty.mp3"; }, "tracks[0].file: is empty",
         [](const PackageDescription& d) { return d.tracks[0].data.empty(); }},
        {[](json& m) { m["background"] = "song.wav"; }, "background: is not a JPEG picture",
         [](const PackageDescription& d) { return d.background.size() == 100; }},
        {[](json& m) { m["items"][0]["file"] = "pic12.jpg"; },
         "items[0].file: is a 12-bit JPEG picture, and 12-bit JPEGs cannot be shown",
         [](const PackageDescription& d) { return !d.items[0].data.empty(); }},
        {[](json& m) { m["background"] = "pic12.jpg"; },
         "background: is a 12-bit JPEG picture, and 12-bit JPEGs cannot be shown",
         [](const PackageDescription& d) { return !d.background.empty(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        SetUp();
        c.change(manifest);
        WriteText("manifest.json", manifest.dump());
        std::vector<std::string> warnings;
        const Result<PackageDescription> d = LoadPackageManifest(dir.file("manifest.json"), &warnings);
        ASSERT_TRUE(d) << d.error();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].substr(0, std::string(c.warning).size()), c.warning);
        EXPECT_TRUE(c.stored(*d));
    }
    // Stored values written in the forms the manifest keeps them in: no warning.
    SetUp();
    manifest["random_order"] = 1;
    manifest["items"][0]["transition_step"] = 100;
    WriteText("manifest.json", manifest.dump());
    std::vector<std::string> warnings;
    const Result<PackageDescription> d = LoadPackageManifest(dir.file("manifest.json"), &warnings);
    ASSERT_TRUE(d) << d.error();
    EXPECT_EQ(warnings, std::vector<std::string>());
    EXPECT_EQ(d->info.randomOrder(), 1);
}

// Texts and track records that UTF-8 or a file name cannot carry are given as
// their stored bytes.
TEST_F(PackageManifestTest, StoredBytesStandForTextsAsTheyAre) {
    WriteText("raw.txt", "lone\nLF \x81\r");
    manifest["description"] = {{"bytes", "41 0a 00 42"}};
    manifest["items"][0]["labels"][0]["text"] = {{"bytes", "81 0d"}};
    manifest["dynamic_texts"] = {{"file", "raw.txt"}, {"verbatim", true}};
    manifest["tracks"][0]["extension"] = {{"bytes", "81 2e 61"}};
    manifest["tracks"][0]["resource_name"] = "TUNE";
    PackageDescription d;
    std::string error;
    ASSERT_TRUE(Load(d, error)) << error;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d.info.bytes()[122]), 5),
              std::string("A\n\0B\0", 5));
    EXPECT_EQ(Label(d.labels.Group(0), 0)->text(), "\x81\r");
    EXPECT_EQ(d.dynamicTexts, "lone\nLF \x81\r");
    EXPECT_EQ(d.tracks[0].record.extension(), "\x81.a");
    EXPECT_EQ(d.tracks[0].record.resourceName(), "TUNE");
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
    const Result<PackageDescription> absent = LoadPackageManifest(dir.file("absent.json"));
    EXPECT_FALSE(absent);
    EXPECT_NE(absent.error().find("absent.json"), std::string::npos);
    WriteText("broken.json", "{ \"name\": ");
    const Result<PackageDescription> broken = LoadPackageManifest(dir.file("broken.json"));
    EXPECT_FALSE(broken);
    EXPECT_NE(broken.error().find("broken.json: not valid JSON"), std::string::npos) << broken.error();
}

} // namespace
} // namespace scr
