// Unpacking a package into files and a manifest, and packing that again:
// builder-made packages come back byte for byte, others with the same
// contents; what the manifest cannot carry is named.

#include "package/DescriptionDifferences.h"
#include "package/ManifestWriter.h"
#include "package/PackageContents.h"
#include "package/PackageManifest.h"
#include "tests/package/PackageFixtures.h"
#include "tests/package/XscrTestSupport.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

namespace scr::test {
namespace {

namespace fs = std::filesystem;

PackageDescription LevelFive() {
    PackageDescription d = FullDescription();
    d.labels = {};
    d.labels.AppendGroupCopy(
        {MakeLabel("All styles", 100, 50, LabelBold | LabelItalic | LabelUnderline | LabelStrikeOut),
         MakeLabel("Two\r\nlines", -7, 9, LabelUnderline)});
    d.labels.AppendGroupCopy({});
    d.labels.AppendGroupCopy({MakeLabel("", 1, 2, 0), MakeLabel("Third \xB2", -3, 4, LabelStrikeOut)});
    d.labels.Group(2)->back().record().reserved2 = {7, 0, 9};
    d.items[0].record.transitionEffect = -2;
    d.items[1].record.exitEffect = -1;
    return d;
}

PackageDescription LevelFour() {
    PackageDescription d = LevelFive();
    d.info.setFormatLevel(4);
    d.licenseText.clear();
    return d;
}

PackageDescription LevelThree() {
    PackageDescription d = LevelFour();
    d.info.setFormatLevel(3);
    d.extension = {};
    d.background.clear();
    d.musicNames.clear();
    return d;
}

// A screen saver with nothing optional: no author, tracks, labels, texts or reserved bytes.
PackageDescription Plain() {
    PackageDescription d;
    d.name = "Plain";
    d.info.setFormatLevel(5);
    d.info.setPackageKind('S');
    d.info.setDefaultDisplaySeconds(10);
    d.info.setDefaultTransitionStep(10);
    d.info.setDefaultExitStep(10);
    d.items.push_back({NoPackageItem(), TinyJpeg()});
    return d;
}

class PackageUnpackTest : public XscrTest {
protected:
    // Unpacks a package file into a fresh folder and reads its manifest back.
    void Unpack(const std::string& path) {
        const XSCR package(path);
        contents = ReadPackageContents(package);
        folder = temp_.file("unpacked" + std::to_string(++unpacks));
        fs::create_directory(folder);
        std::string error;
        ASSERT_TRUE(WriteManifestFolder(contents.description, folder, &error)) << error;
        ASSERT_TRUE(LoadPackageManifest(folder + "/" + kManifestFileName, packed, &error)) << error;
    }

    std::string WritePackage(const std::vector<uint8_t>& package, const std::string& name) {
        std::vector<uint8_t> file;
        file.reserve(100 + package.size());
        file.assign(100, 0x90);
        file.insert(file.end(), package.begin(), package.end());
        WriteFile(temp_.file(name), file);
        return temp_.file(name);
    }

    PackageContents contents;
    PackageDescription packed;
    std::string folder;
    int unpacks = 0;
};

TEST_F(PackageUnpackTest, BuilderPackagesComeBackByteForByte) {
    const struct {
        const char* name;
        std::function<PackageDescription()> make;
    } cases[] = {{"level 5, every block", LevelFive},
                 {"level 4", LevelFour},
                 {"level 3", LevelThree},
                 {"plain", Plain}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const std::vector<uint8_t> original = BuildPackage(c.make(), &error);
        ASSERT_FALSE(original.empty()) << error;
        Unpack(WritePackage(original, "original.scr"));
        EXPECT_TRUE(contents.skipped.empty()) << contents.skipped.front();
        EXPECT_EQ(DescriptionDifferences(contents.description, packed), std::vector<std::string>());
        EXPECT_EQ(BuildPackage(packed), original);
    }
}

TEST_F(PackageUnpackTest, TheFolderHoldsTheContentUnderNamesOfItsOwn) {
    Unpack(WritePackage(BuildPackage(LevelFive()), "original.scr"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"background.jpg", "dynamic_texts.txt", "item-01.jpg",
                                               "item-02.swf", "item-03.bin", "license.txt", "manifest.json",
                                               "static_captions.ini", "track-01.wav", "track-02.mp3"}));
    EXPECT_EQ(ReadFile(folder + "/item-02.swf"), TinySwf());

    std::ifstream in(folder + "/manifest.json");
    const auto manifest = nlohmann::json::parse(in);
    // Stored values, not defaults: the reserved bytes in the groups of the record.
    EXPECT_EQ(manifest["reserved"],
              "a1000000 0000 000000a2000000 000000000000000000000000a300000000 00 00 a4000000");
    EXPECT_EQ(manifest["kind"], "E");
    EXPECT_EQ(manifest["background_color"], "#112233");
    EXPECT_EQ(manifest["items"][0]["display_seconds"], -5);
    EXPECT_EQ(manifest["items"][1]["reserved"], "000100");
    EXPECT_EQ(manifest["items"][2]["kind"], 2);
    EXPECT_EQ(manifest["items"][2]["pinned"], true);
    EXPECT_EQ(manifest["items"][0]["labels"][0]["reserved"], "010203000000");
    EXPECT_EQ(manifest["tracks"][1]["name"], "Second tune");
    EXPECT_EQ(manifest["name"], "Full \u00c9t\u00e9 Package");
}

// A package written by another writer, storing its music names without a final
// line end, gives a package with the same contents.
TEST_F(PackageUnpackTest, OtherLayoutsComeBackWithTheSameContents) {
    FixturePackage p;
    p.name = "Foreign";
    p.info.setFormatLevel(5);
    p.info.setPackageKind('S');
    p.info.setDefaultDisplaySeconds(9);
    p.info.setDefaultTransitionStep(3);
    p.info.setDefaultExitStep(4);
    p.info.setDesignWidth(800);
    p.info.bytes()[107] = 0x77;
    p.items.push_back(PictureItem(MakeJpeg(40, 30), 10, 20, 300, 200));
    p.items.back().item.transitionStep = 5;
    p.items.back().item.exitStep = 6;
    p.items.back().item.displaySeconds = 3;
    FixtureTrack track;
    track.music.setExtension(".ogg");
    track.data.assign(50, 0x21);
    p.tracks.push_back(track);
    p.labels.AppendGroupCopy({MakeLabel("Label", 5, 6, LabelItalic)});
    p.extension.designHeight = 600;
    p.musicNames = "Only song";
    p.background = MakeJpeg(16, 16);
    p.license = "Terms";
    p.dynamicTexts = {'d', '\r', '\n'};
    p.staticCaptions = {'[', 'F', 'S', '_', '0', ']', '\r', '\n'};
    const std::string original = temp_.file("foreign.scr");
    WriteFile(original, BuildAppendedPackage(p));

    Unpack(original);
    EXPECT_TRUE(contents.skipped.empty());
    const std::string rebuilt = WritePackage(BuildPackage(packed), "rebuilt.scr");
    EXPECT_NE(ReadFile(rebuilt), ReadFile(original));
    const PackageContents again = ReadPackageContents(XSCR(rebuilt));
    EXPECT_EQ(DescriptionDifferences(contents.description, again.description), std::vector<std::string>());
    EXPECT_EQ(again.description.info.bytes()[107], 0x77);
}

TEST_F(PackageUnpackTest, WhatTheManifestCannotCarryIsNamed) {
    PackageDescription d = LevelFive();
    const PackageDescription same = d;
    d.labels.Group(0)->front().record().fontStyle |= 0x10; // a bit the manifest has no key for
    d.items[2].record.kind = 3;
    d.musicNames[1] = "Other";
    d.info.setRandomOrder(2);
    EXPECT_EQ(DescriptionDifferences(same, d),
              (std::vector<std::string>{"the information record, bytes 64", "item 1: its labels",
                                        "item 3: its settings", "the music names"}));
}

TEST_F(PackageUnpackTest, ReservedBytesInTheManifestAreCheckedHexText) {
    const struct {
        const char* reserved;
        const char* error; // empty: accepted
    } cases[] = {
        {"a1000000 0000 00000000000000 0000000000000000000000000000000000 00 00 000000ff", ""},
        {"a100000000000000000000000000000000000000000000000000000000000000000000ff", ""},
        {"a1", "reserved: must be 36 bytes written as hexadecimal text; it holds 2 digits"},
        {"g1000000 0000 00000000000000 0000000000000000000000000000000000 00 00 000000ff",
         "reserved: must be 36 bytes written as hexadecimal text, not 'g'"},
    };
    WriteFile(temp_.file("pic.jpg"), TinyJpeg());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reserved);
        nlohmann::json manifest = {{"name", "R"},
                                   {"reserved", c.reserved},
                                   {"items", {{{"file", "pic.jpg"}, {"reserved", "0a0b0c"}}}}};
        std::ofstream(temp_.file("m.json")) << manifest.dump();
        PackageDescription d;
        std::string error;
        const bool loaded = LoadPackageManifest(temp_.file("m.json"), d, &error);
        EXPECT_EQ(loaded, *c.error == 0);
        EXPECT_EQ(error, c.error);
        if (!loaded) continue;
        EXPECT_EQ(d.info.bytes()[32], 0xA1);
        EXPECT_EQ(d.info.bytes()[121], 0xFF);
        EXPECT_EQ(d.items[0].record.reserved, (std::array<uint8_t, 3>{10, 11, 12}));
    }
}

} // namespace
} // namespace scr::test
