// Unpacking a package into files and a manifest, and packing that again:
// builder-made packages come back byte for byte, others with the same
// contents; what the manifest cannot carry is named.

#include "package/DescriptionDifferences.h"
#include "package/ManifestWriter.h"
#include "package/PackageContents.h"
#include "package/PackageManifest.h"
#include "tests/package/ForeignPackage.h"
#include "tests/package/PackageFileTestSupport.h"
#include "tests/package/PackageFixtures.h"

#include <climits>
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

// Every stored field at one end of what it can hold: 32-bit fields at their
// smallest or largest value, bytes at 0 or 255, texts empty or full of bytes
// that UTF-8 cannot carry (lone line ends, bytes the code page leaves
// undefined, bytes after a field's NUL). Blocks the format level cannot carry
// are left out.
PackageDescription Extremes(int32_t level, bool high) {
    const int32_t word = high ? INT32_MAX : INT32_MIN;
    const uint8_t byte = high ? 255 : 0;
    const uint32_t colour = high ? 0xFFFFFFFF : 0;
    PackageDescription d;
    d.name = high ? std::string(63, '\xFF') : "";
    ScreenSaverInfo& info = d.info;
    info.setFormatLevel(level);
    for (auto set : {&ScreenSaverInfo::setDefaultDisplaySeconds, &ScreenSaverInfo::setDefaultTransitionStep,
                     &ScreenSaverInfo::setDefaultTransitionDelay, &ScreenSaverInfo::setDefaultExitStep,
                     &ScreenSaverInfo::setDefaultExitDelay, &ScreenSaverInfo::setDesignWidth,
                     &ScreenSaverInfo::setDefaultTransitionEffect, &ScreenSaverInfo::setDefaultExitEffect})
        (info.*set)(word);
    info.setBackgroundColor(colour);
    for (auto set :
         {&ScreenSaverInfo::setRandomOrder, &ScreenSaverInfo::setNoSaving, &ScreenSaverInfo::setPlacementMode,
          &ScreenSaverInfo::setIgnoreMouseMove, &ScreenSaverInfo::setPackageKind})
        (info.*set)(byte);
    std::array<uint8_t, ScreenSaverInfo::kReservedSize> reserved;
    reserved.fill(byte);
    info.setReservedBytes(reserved);
    if (high) {
        info.setDescription(std::string("lone\nline \x81") + '\0' + "tail after the NUL");
        info.setHasAuthorInfo(byte);
        d.author.setName(std::string(31, '\x8D'));
        d.author.setEmail(std::string(31, 'e'));
        d.author = AuthorInfo::Parse([&] {
            AuthorInfo::Bytes bytes = d.author.bytes();
            bytes[31] = 'e'; // the e-mail fills its field, without a NUL
            return bytes;
        }()
                                         .data());
        d.author.setHomepage(std::string(62, 'h') + "\x01");
    }

    for (const bool withData : {false, true}) {
        PackageItemSource item;
        ShowItem& r = item.record;
        for (int32_t* field :
             {&r.displaySeconds, &r.transitionEffect, &r.transitionStep, &r.transitionDelay, &r.exitEffect,
              &r.exitStep, &r.exitDelay, &r.left, &r.top, &r.width, &r.height, &r.kind, &r.pinned})
            *field = word;
        r.fixedPosition = byte;
        r.reserved.fill(byte);
        if (withData) item.data = high ? TinySwf() : std::vector<uint8_t>{'n', 'o', 't'};
        d.items.push_back(item);
    }
    LabelRecord record;
    record.fontSize = record.centerX = record.centerY = word;
    record.fontStyle = record.transparent = byte;
    record.textColor = record.backColor = colour;
    record.setReservedBytes({byte, byte, byte, byte, byte, byte});
    if (high) record.fontName.fill(0x90); // no NUL
    d.labels.AppendGroupCopy({LabelItem(record, high ? "\x81 lone\rCR\tand tab" : "")});

    PackageTrackSource track;
    if (high) {
        track.record.setExtension("\x81.a b");
        MusicItem::Bytes bytes = track.record.bytes();
        std::copy_n("RESOURCE", MusicItem::kFieldSize, bytes.begin() + MusicItem::kFieldSize); // no NUL
        track.record = MusicItem::Parse(bytes.data());
        track.data.assign(70, 0x5A);
    }
    d.tracks.push_back(track);
    if (level >= 4) {
        d.extension = {word, 0, word, word, 0};
        if (high) {
            d.musicNames = {"\x81\ttune"};
            d.background = {'n', 'o', ' ', 'J', 'P', 'E', 'G'};
        }
    }
    if (level >= 5 && high) {
        d.licenseText.assign(kMaxLicenseLength, 'L');
        d.licenseText[5] = '\n';
        d.licenseText[9] = '\0';
        d.licenseText[10] = '\x81';
    }
    if (high) {
        d.dynamicTexts = "lone\nLF\r\n";
        d.staticCaptions = "[FS_0]\r\nS_1=\x81\r\n";
    }
    return d;
}

class PackageUnpackTest : public PackageFileTest {
protected:
    // Unpacks a package file into a fresh folder and reads its manifest back.
    void Unpack(const std::string& path) {
        const PackageFile package(path);
        contents = ReadPackageContents(package);
        folder = temp_.file("unpacked" + std::to_string(++unpacks));
        fs::create_directory(folder);
        const Result<void> written = WriteManifestFolder(contents.description, folder);
        ASSERT_TRUE(written) << written.error();
        Result<PackageDescription> loaded = LoadPackageManifest(folder + "/" + kManifestFileName);
        ASSERT_TRUE(loaded) << loaded.error();
        packed = std::move(loaded).value();
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
        const Result<std::vector<uint8_t>> built = BuildPackage(c.make());
        ASSERT_TRUE(built) << built.error();
        const std::vector<uint8_t>& original = *built;
        Unpack(WritePackage(original, "original.scr"));
        EXPECT_TRUE(contents.skipped.empty()) << contents.skipped.front();
        EXPECT_EQ(DescriptionDifferences(contents.description, packed), std::vector<std::string>());
        EXPECT_EQ(BuildPackage(packed).value(), original);
    }
}

TEST_F(PackageUnpackTest, StoredValuesAtBothExtremesComeBackByteForByte) {
    for (const int32_t level : {3, 4, 5, INT32_MIN, 0, INT32_MAX}) {
        for (const bool high : {false, true}) {
            SCOPED_TRACE("format level " + std::to_string(level) +
                         (high ? ", highest values" : ", lowest values"));
            const PackageDescription d = Extremes(level, high);
            const Result<std::vector<uint8_t>> built = BuildPackage(d);
            ASSERT_TRUE(built) << built.error();
            const std::vector<uint8_t>& original = *built;
            Unpack(WritePackage(original, "extremes.scr"));
            EXPECT_EQ(contents.skipped, std::vector<std::string>());
            EXPECT_EQ(DescriptionDifferences(d, contents.description), std::vector<std::string>());
            EXPECT_EQ(DescriptionDifferences(contents.description, packed), std::vector<std::string>());
            EXPECT_EQ(BuildPackage(packed).value(), original);
        }
    }
}

// Packages of another writer at format levels 3 to 5, with stored values
// outside the manifest's usual ranges: unpacked and packed again they hold
// the same content, though their bytes differ.
TEST_F(PackageUnpackTest, OtherWritersPackagesRepackToTheSameContent) {
    const struct {
        const char* name;
        ForeignLayout layout;
    } layouts[] = {{"blocks reordered", {}},
                   {"gaps between blocks", {.gap = 29}},
                   {"unneeded blocks", {.gap = 3, .unneededBlocks = true, .musicNamesJoinedByLf = false}}};
    for (const int32_t level : {3, 4, 5}) {
        for (const bool high : {false, true}) {
            for (const auto& l : layouts) {
                SCOPED_TRACE("format level " + std::to_string(level) +
                             (high ? ", highest values, " : ", lowest values, ") + l.name);
                const PackageDescription d = Extremes(level, high);
                const std::string original = temp_.file("foreign.scr");
                WriteFile(original, BuildForeignPackage(d, l.layout));
                Unpack(original);
                ASSERT_EQ(contents.skipped, std::vector<std::string>());
                EXPECT_EQ(DescriptionDifferences(d, contents.description), std::vector<std::string>());
                EXPECT_EQ(DescriptionDifferences(contents.description, packed), std::vector<std::string>());

                const std::string rebuilt = WritePackage(BuildPackage(packed).value(), "rebuilt.scr");
                EXPECT_NE(ReadFile(rebuilt), ReadFile(original));
                const PackageContents again = ReadPackageContents(PackageFile(rebuilt));
                EXPECT_EQ(again.skipped, std::vector<std::string>());
                EXPECT_EQ(DescriptionDifferences(contents.description, again.description),
                          std::vector<std::string>());
            }
        }
    }
}

// Below format level 4 a package may carry no label data at all; its items then have no labels.
TEST_F(PackageUnpackTest, APackageWithoutLabelDataRepacksWithEmptyLabelGroups) {
    PackageDescription d = Extremes(3, true);
    d.labels = {};
    Unpack(WritePackage(BuildForeignPackage(d, {.labels = false}), "unlabelled.scr"));
    EXPECT_EQ(contents.skipped, std::vector<std::string>());
    EXPECT_EQ(DescriptionDifferences(d, packed), std::vector<std::string>());
}

// A package stored as resources of a Windows program carries no item data:
// its record, labels and tracks unpack into a manifest that packs to an
// appended package with the same content.
TEST_F(PackageUnpackTest, AResourceFormPackageUnpacksToAnAppendedOne) {
    const PackageDescription d = Extremes(5, true);
    FixturePackage p;
    p.info = d.info;
    p.author = d.author;
    for (const PackageItemSource& item : d.items)
        p.items.push_back({item.record, {}});
    std::vector<PeResource> resources;
    for (std::size_t i = 0; i < d.tracks.size(); ++i) {
        FixtureTrack track{d.tracks[i].record, {}};
        const std::string resource = "TUNE" + std::to_string(i);
        track.music.setResourceName(resource);
        p.tracks.push_back(track);
        std::vector<uint8_t> stored = d.tracks[i].data;
        ScrambleBytes(stored.data(), static_cast<long long>(stored.size() / 8));
        resources.push_back({resource, stored});
    }
    std::vector<uint8_t> labels = WriteLabelStream(d.labels);
    ScrambleBytes(labels.data(), static_cast<long long>(labels.size()));
    resources.push_back({"SCRINFO", BuildScrInfoResource(p)});
    resources.push_back({"XLABELS", labels});
    const std::string file = temp_.file("resources.scr");
    WriteFile(file, BuildPeFile(resources, {{1, "Resource form"}}));

    Unpack(file);
    EXPECT_EQ(contents.skipped, std::vector<std::string>());
    EXPECT_FALSE(PackageFile(file).IsAppended());
    EXPECT_EQ(contents.description.name, "Resource form");
    EXPECT_EQ(contents.description.tracks[0].data, d.tracks[0].data);
    EXPECT_EQ(*contents.description.labels.Group(0), *d.labels.Group(0));
    const std::string rebuilt = WritePackage(BuildPackage(packed).value(), "appended.scr");
    ASSERT_TRUE(PackageFile(rebuilt).IsAppended());
    EXPECT_EQ(
        DescriptionDifferences(contents.description, ReadPackageContents(PackageFile(rebuilt)).description),
        std::vector<std::string>());
}

TEST_F(PackageUnpackTest, TheFolderHoldsTheContentUnderNamesOfItsOwn) {
    Unpack(WritePackage(BuildPackage(LevelFive()).value(), "original.scr"));
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
    const std::string rebuilt = WritePackage(BuildPackage(packed).value(), "rebuilt.scr");
    EXPECT_NE(ReadFile(rebuilt), ReadFile(original));
    const PackageContents again = ReadPackageContents(PackageFile(rebuilt));
    EXPECT_EQ(DescriptionDifferences(contents.description, again.description), std::vector<std::string>());
    EXPECT_EQ(again.description.info.bytes()[107], 0x77);
}

TEST_F(PackageUnpackTest, DifferencesAreNamedByTheirManifestKeys) {
    PackageDescription d = LevelFive();
    const PackageDescription same = d;
    d.labels.Group(0)->front().record().fontStyle |= 0x10;
    d.labels.Group(2)->back().setText("Changed");
    d.items[2].record.kind = 3;
    d.items[0].data.push_back(0);
    d.musicNames[1] = "Other";
    d.info.setRandomOrder(2);
    d.info.bytes()[107] = 9;
    d.info.setBackgroundColor(0x01000000);
    d.tracks.pop_back();
    EXPECT_EQ(DescriptionDifferences(same, d),
              (std::vector<std::string>{"background_color: 0x00332211 -> 0x01000000", "random_order: 1 -> 2",
                                        "reserved (byte 107)", "items[0]: its data",
                                        "items[0].labels[0].font_style: 15 -> 31", "items[2].kind: 2 -> 3",
                                        "items[2].labels[1].text", "tracks: 2 -> 1", "the track names"}));
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
        const Result<PackageDescription> d = LoadPackageManifest(temp_.file("m.json"));
        EXPECT_EQ(d.ok(), *c.error == 0);
        EXPECT_EQ(d.error(), c.error);
        if (!d) continue;
        EXPECT_EQ(d->info.bytes()[32], 0xA1);
        EXPECT_EQ(d->info.bytes()[121], 0xFF);
        EXPECT_EQ(d->items[0].record.reserved, (std::array<uint8_t, 3>{10, 11, 12}));
    }
}

} // namespace
} // namespace scr::test
