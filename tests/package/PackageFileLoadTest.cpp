#include "package/JpegCodec.h"
#include "platform/ReadOnlyFile.h"
#include "tests/package/PackageFileTestSupport.h"

#include <filesystem>
#include <random>

namespace scr::test {
namespace {

LabelItem Label(const std::string& text, int x, int y) {
    LabelRecord record;
    record.setFontName("Liberation Sans");
    record.fontSize = 20;
    record.fontStyle = LabelBold;
    record.textColor = 0x0000FF;
    record.backColor = 0x102030;
    record.centerX = x;
    record.centerY = y;
    return LabelItem(record, text);
}

// A package with every block filled.
FixturePackage FullPackage() {
    FixturePackage p;
    p.name = "  Caf\xE9 Pictures";
    p.info.setDefaultDisplaySeconds(7);
    p.info.setDefaultTransitionStep(3);
    p.info.setDefaultTransitionDelay(4);
    p.info.setDefaultExitStep(5);
    p.info.setDefaultExitDelay(6);
    p.info.setBackgroundColor(0x00336699);
    p.info.setRandomOrder(1);
    p.info.setDesignWidth(800);
    p.info.setNoSaving(1);
    p.info.setFormatLevel(5);
    p.info.setPlacementMode(3);
    p.info.setIgnoreMouseMove(1);
    p.info.setDefaultTransitionEffect(-1);
    p.info.setDefaultExitEffect(17);
    p.info.setPackageKind('E');
    p.info.setDescription("A description \xE0 la carte");
    p.info.bytes()[33] = 0x5A; // reserved bytes travel unchanged
    p.info.bytes()[100] = 0xA5;
    AuthorInfo author;
    author.setName("Ann Author");
    author.setEmail("ann@example.org");
    author.setHomepage("https://example.org/ann");
    p.author = author;
    p.items.push_back(PictureItem(MakeJpeg(64, 48), 10, 20, 300, 200));
    FixtureItem movie;
    movie.item.kind = ShowItem::Flash;
    movie.item.displaySeconds = -30;
    movie.item.pinned = 1;
    movie.data = std::vector<uint8_t>(100, 0x46);
    p.items.push_back(movie);
    FixtureItem other;
    other.item.kind = 2;
    other.data = {1, 2, 3};
    p.items.push_back(other);
    FixtureTrack track;
    track.music.setExtension(".mp3");
    track.data = std::vector<uint8_t>(77, 0x33);
    p.tracks.push_back(track);
    track.music.setExtension(".wav");
    p.tracks.push_back(track);
    p.labels.AppendGroupCopy({Label("Hello & welcome", 400, 300), Label("Second", 100, 50)});
    p.labels.AppendGroupCopy({});
    p.extension.designHeight = 600;
    p.extension.opacityPercent = 80;
    p.extension.keepCursor = 1;
    p.musicNames = "First song\r\nSecond song\r\n";
    p.background = MakeJpeg(32, 16);
    p.license = "Licence text\r\nline two  ";
    p.dynamicTexts = {'a', 'b', 'c'};
    p.staticCaptions = {'x', 'y'};
    return p;
}

TEST_F(PackageFileTest, AppendedPackageRoundTripsEveryBlock) {
    const FixturePackage p = FullPackage();
    const auto pkg = Open(p);
    ASSERT_TRUE(pkg->IsAppended());
    EXPECT_EQ(pkg->Name(), "Caf\xE9 Pictures");
    EXPECT_EQ(pkg->NameUtf8(), "Café Pictures");
    EXPECT_EQ(pkg->DescriptionUtf8(), "A description à la carte");
    EXPECT_EQ(pkg->Info().bytes()[33], 0x5A);
    EXPECT_EQ(pkg->Info().bytes()[100], 0xA5);
    EXPECT_EQ(pkg->DefaultDisplaySeconds(), 7);
    EXPECT_EQ(pkg->BackgroundColor(), 0x00336699u);
    EXPECT_TRUE(pkg->RandomOrder());
    EXPECT_TRUE(pkg->NoSaving());
    EXPECT_EQ(pkg->PlacementMode(), 3);
    EXPECT_TRUE(pkg->IgnoreMouseMove());
    EXPECT_EQ(pkg->PackageKind(), 'E');
    EXPECT_EQ(pkg->FormatLevel(), 5);
    ASSERT_TRUE(pkg->HasAuthorInfo());
    EXPECT_EQ(pkg->Author().name(), "Ann Author");
    EXPECT_EQ(pkg->Author().email(), "ann@example.org");
    EXPECT_EQ(pkg->Author().homepage(), "https://example.org/ann");

    ASSERT_EQ(pkg->ItemCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pkg->GetItem(i), p.items[static_cast<std::size_t>(i)].item) << i;
    EXPECT_EQ(pkg->GetItemLocation(1).size, 100);
    EXPECT_EQ(pkg->CountPinnedItems(), 1);
    ASSERT_EQ(pkg->MusicCount(), 2);
    EXPECT_EQ(pkg->GetMusic(1).extension(), ".wav");
    EXPECT_EQ(pkg->MusicName(0), "First song");
    EXPECT_EQ(pkg->MusicName(1), "Second song");

    ASSERT_EQ(pkg->Labels().GroupCount(), 3); // padded to the item count
    EXPECT_EQ(LabelText(scr::Label(pkg->Labels().Group(0), 0)), "Hello & welcome");
    EXPECT_EQ(LabelCount(pkg->Labels().Group(2)), 0);
    EXPECT_EQ(pkg->DesignWidth(), 800);
    EXPECT_EQ(pkg->DesignHeight(), 600);
    EXPECT_EQ(pkg->OpacityPercent(), 80);
    EXPECT_TRUE(pkg->KeepCursor());
    ASSERT_NE(pkg->Background(), nullptr);
    EXPECT_EQ(pkg->Background()->width(), 32);
    EXPECT_EQ(pkg->Background()->height(), 16);
    EXPECT_EQ(pkg->LicenseText(), p.license); // not trimmed
    EXPECT_EQ(pkg->ReadLanguageTable(false), p.dynamicTexts);
    EXPECT_EQ(pkg->ReadLanguageTable(true), p.staticCaptions);

    Bitmap24 picture;
    ShowItem item;
    ASSERT_TRUE(pkg->LoadPicture(picture, 0, JpegFull, &item));
    EXPECT_EQ(item, p.items[0].item);
    EXPECT_EQ(picture.width(), 64);
    EXPECT_EQ(pkg->ReadMovie(1), p.items[1].data);
}

TEST_F(PackageFileTest, TrailerCopyMatchesTheStoredTrailer) {
    const auto bytes = BuildAppendedPackage(FullPackage());
    const auto pkg = OpenBytes(bytes);
    std::vector<uint8_t> stored(bytes.end() - kTrailerSize, bytes.end());
    ScrambleBytes(stored.data(), kTrailerSize);
    const TrailerBytes trailer = pkg->Trailer();
    EXPECT_EQ(std::vector<uint8_t>(trailer.begin(), trailer.end()), stored);
}

TEST_F(PackageFileTest, DefaultItemAndOutOfRangeIndexes) {
    const auto pkg = Open(FullPackage());
    for (int index : {-1, 3, 1000}) {
        const ShowItem item = pkg->GetItem(index);
        EXPECT_EQ(item.displaySeconds, 7);
        EXPECT_EQ(item.transitionStep, 3);
        EXPECT_EQ(item.transitionDelay, 4);
        EXPECT_EQ(item.exitStep, 5);
        EXPECT_EQ(item.exitDelay, 6);
        EXPECT_EQ(item.transitionEffect, -1);
        EXPECT_EQ(item.exitEffect, 17);
        EXPECT_EQ(item.fixedPosition, 0); // placement mode 3
        EXPECT_EQ(item.kind, 0);
        EXPECT_EQ(pkg->GetMusic(index), MusicItem{});
        EXPECT_EQ(pkg->MusicName(index), "");
        Bitmap24 untouched(3, 3);
        ShowItem returned;
        EXPECT_FALSE(pkg->LoadPicture(untouched, index, JpegFull, &returned));
        EXPECT_EQ(returned, item);
        EXPECT_EQ(untouched.width(), 3);
        EXPECT_FALSE(pkg->ReadMovie(index));
        EXPECT_NE(pkg->ExtractMusic(index).error(), ""); // a failure, with its reason
        EXPECT_FALSE(pkg->DeleteItem(index));
        EXPECT_FALSE(pkg->DeleteMusic(index));
    }
    FixturePackage fixed = FullPackage();
    fixed.info.setPlacementMode(0);
    EXPECT_EQ(Open(fixed)->GetItem(-1).fixedPosition, 1);
}

TEST_F(PackageFileTest, TheNoPackageItem) {
    const ShowItem none = NoPackageItem();
    EXPECT_EQ(none.displaySeconds, 10);
    EXPECT_EQ(none.transitionEffect, -1);
    EXPECT_EQ(none.transitionStep, 10);
    EXPECT_EQ(none.exitEffect, -1);
    EXPECT_EQ(none.exitStep, 10);
    EXPECT_EQ(none.left, 0);
}

TEST_F(PackageFileTest, MusicNamesFallBackToGeneratedNamesForAllTracks) {
    FixturePackage p = FullPackage();
    p.tracks.push_back(p.tracks[0]);
    p.musicNames = "Only one\n";
    auto pkg = Open(p);
    ASSERT_EQ(pkg->MusicCount(), 3);
    EXPECT_EQ(pkg->MusicName(0), "Music-1.mp3");
    EXPECT_EQ(pkg->MusicName(1), "Music-2.wav");
    EXPECT_EQ(pkg->MusicName(2), "Music-3.mp3");

    p.info.setFormatLevel(3); // no names stored at all
    pkg = Open(p);
    EXPECT_EQ(pkg->MusicName(0), "Music-1.mp3");
    EXPECT_EQ(pkg->Background(), nullptr);
    EXPECT_EQ(pkg->LicenseText(), "");
}

TEST_F(PackageFileTest, LicenceLengthBounds) {
    struct Case {
        int32_t length;
        std::size_t textSize;
        bool accepted;
    };
    const Case cases[] = {{0, 0, false},
                          {-1, 10, false},
                          {10, 10, true},
                          {0x10000, 0x10000, true},
                          {0x10001, 0x10001, false},
                          {INT32_MAX, 10, false}};
    for (const auto& c : cases) {
        FixturePackage p = FullPackage();
        p.license = std::string(c.textSize, 'L');
        p.licenseLengthWord = c.length;
        const auto pkg = Open(p);
        EXPECT_EQ(pkg->LicenseText().size(), c.accepted ? c.textSize : 0u) << c.length;
        EXPECT_EQ(pkg->ItemCount(), 3);
    }
}

TEST_F(PackageFileTest, BrokenBackgroundIsDroppedAndTheRestStays) {
    FixturePackage p = FullPackage();
    p.background = {0xFF, 0xD8, 0x00, 0x01, 0x02};
    const auto pkg = Open(p);
    EXPECT_EQ(pkg->Background(), nullptr);
    EXPECT_EQ(pkg->LicenseText(), p.license);
    EXPECT_EQ(pkg->MusicName(0), "First song");
}

TEST_F(PackageFileTest, LabelsWithoutLocatorArePaddedEmptyGroups) {
    FixturePackage p = FullPackage();
    p.info.setFormatLevel(3);
    p.writeLabels = false;
    const auto pkg = Open(p);
    EXPECT_EQ(pkg->Labels().GroupCount(), 3);
    EXPECT_EQ(LabelCount(pkg->Labels().Group(0)), 0);
    EXPECT_EQ(pkg->ItemCount(), 3);
}

TEST_F(PackageFileTest, NameIsTrimmedOfControlAndBlankBytesAtBothEnds) {
    using namespace std::string_literals;
    const struct {
        std::string stored;
        std::string name;
    } cases[] = {
        {"Plain"s, "Plain"},
        {"\0\0Leading NULs"s, "Leading NULs"},
        {"  \t\x01Leading blanks"s, "Leading blanks"},
        {"\0 \x1f\0Mixed \r\n"s, "Mixed"},
        {"Up to\0the NUL"s, "Up to"},
        {"Blank before \0NUL"s, "Blank before"},
        {std::string(64, ' '), ""},
        {std::string(64, '\0'), ""},
        {"\0"s + std::string(63, 'N'), std::string(63, 'N')},
    };
    for (const auto& c : cases) {
        FixturePackage p = FullPackage();
        p.name = c.stored;
        EXPECT_EQ(Open(p)->Name(), c.name) << testing::PrintToString(c.stored);
    }
}

TEST_F(PackageFileTest, FilesWithoutPackageGiveAnEmptyUsablePackage) {
    SetScreen(1024, 768);
    auto bytes = BuildAppendedPackage(FullPackage());
    bytes[bytes.size() - 400 + 20] ^= 0x01; // signature
    const std::vector<std::vector<uint8_t>> files = {
        {}, std::vector<uint8_t>(399, 1), std::vector<uint8_t>(5000, 0), bytes};
    for (const auto& file : files) {
        const auto pkg = OpenBytes(file);
        EXPECT_FALSE(pkg->IsAppended());
        EXPECT_EQ(pkg->ItemCount(), 0);
        EXPECT_EQ(pkg->MusicCount(), 0);
        EXPECT_EQ(pkg->Name(), "");
        EXPECT_EQ(pkg->DesignWidth(), 1024);
        EXPECT_EQ(pkg->DesignHeight(), 768);
        EXPECT_EQ(pkg->Labels().GroupCount(), 0);
    }
    EXPECT_EQ(std::make_unique<PackageFile>(temp_.file("missing"))->ItemCount(), 0);
    EXPECT_EQ(std::make_unique<PackageFile>("")->ItemCount(), 0);
}

TEST_F(PackageFileTest, TruncatedAndDamagedFilesNeverCrash) {
    const auto bytes = BuildAppendedPackage(FullPackage());
    // Every truncation from the end (the trailer moves into the data).
    for (std::size_t cut = 1; cut < bytes.size(); cut += 7) {
        const auto pkg = OpenBytes(std::vector<uint8_t>(bytes.begin(), bytes.end() - static_cast<long>(cut)));
        Bitmap24 b;
        for (int i = 0; i < pkg->ItemCount(); ++i)
            pkg->GetThumbnail(b, i, 90, 120);
    }
    // Random damage inside the package, trailer included.
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        auto damaged = bytes;
        for (int k = 0; k < 4; ++k)
            damaged[100 + random() % (damaged.size() - 100)] = static_cast<uint8_t>(random());
        const auto pkg = OpenBytes(damaged);
        Bitmap24 b;
        for (int i = 0; i < pkg->ItemCount(); ++i) {
            pkg->LoadPicture(b, i, static_cast<int>(random() % 4));
            pkg->ReadMovie(i);
        }
        for (int i = 0; i < pkg->MusicCount(); ++i)
            static_cast<void>(pkg->ExtractMusic(i));
    }
}

TEST_F(PackageFileTest, HugeCountsAndOffsetsAreBoundedByTheFile) {
    FixturePackage p = FullPackage();
    auto bytes = BuildAppendedPackage(p);
    // Unscramble the trailer, claim two billion items and tracks, scramble again.
    uint8_t* trailer = bytes.data() + bytes.size() - kTrailerSize;
    ScrambleBytes(trailer, kTrailerSize);
    WriteLE32(trailer + 20 + 36, INT32_MAX);
    WriteLE32(trailer + 20 + 72, INT32_MAX);
    ScrambleBytes(trailer, kTrailerSize);
    const auto pkg = OpenBytes(bytes);
    EXPECT_TRUE(pkg->IsAppended());
    EXPECT_LT(pkg->ItemCount(), 100); // only the complete entries that exist
    EXPECT_EQ(pkg->Labels().GroupCount(), pkg->ItemCount());
}

TEST_F(PackageFileTest, LongTablesLoadEveryEntryInOrder) {
    // Tables are read a block of entries at a time: 2,500 items and 3 tracks
    // cross several blocks, and each entry must land at its own index.
    FixturePackage p;
    p.name = "Many";
    for (int i = 0; i < 2500; ++i) {
        FixtureItem item;
        item.item.kind = ShowItem::Picture;
        item.item.displaySeconds = i + 1;
        item.data = {static_cast<uint8_t>(i)};
        p.items.push_back(item);
        p.labels.AppendGroupCopy({});
    }
    for (const char* extension : {".mp3", ".wav", ".mid"}) {
        FixtureTrack track;
        track.music.setExtension(extension);
        track.data = {1, 2};
        p.tracks.push_back(track);
    }
    const auto pkg = Open(p);
    ASSERT_EQ(pkg->ItemCount(), 2500);
    for (int i : {0, 1023, 1024, 1025, 2047, 2048, 2499})
        EXPECT_EQ(pkg->GetItem(i).displaySeconds, i + 1) << i;
    ASSERT_EQ(pkg->MusicCount(), 3);
    EXPECT_EQ(pkg->GetMusic(0).extension(), ".mp3");
    EXPECT_EQ(pkg->GetMusic(2).extension(), ".mid");
}

TEST_F(PackageFileTest, DeleteItemKeepsDataAndLabelsAligned) {
    const FixturePackage p = FullPackage();
    const auto pkg = Open(p);
    ASSERT_TRUE(pkg->DeleteItem(0));
    EXPECT_EQ(pkg->ItemCount(), 2);
    EXPECT_EQ(pkg->Labels().GroupCount(), 2);
    EXPECT_EQ(LabelCount(pkg->Labels().Group(0)), 0); // the deleted item's labels went with it
    EXPECT_EQ(pkg->GetItem(0), p.items[1].item);
    EXPECT_EQ(pkg->ReadMovie(0), p.items[1].data); // now the movie, with its own data
    ASSERT_TRUE(pkg->DeleteMusic(0));
    EXPECT_EQ(pkg->MusicName(0), "Second song");
    const auto track = pkg->ExtractMusic(0);
    ASSERT_TRUE(track) << track.error();
    pkg->Clear();
    EXPECT_EQ(pkg->ItemCount(), 0);
    EXPECT_FALSE(pkg->HasAuthorInfo());
    EXPECT_EQ(pkg->Name(), "Caf\xE9 Pictures");         // kept by Clear
    EXPECT_FALSE(std::filesystem::exists(track->path)); // Clear removes the temporary files
}

TEST_F(PackageFileTest, ResourceFormFromAWindowsExecutable) {
    FixturePackage p = FullPackage();
    p.tracks[0].music.setResourceName("TRACK1");
    p.tracks[1].music.setResourceName("track2");
    std::vector<uint8_t> track1(80, 0x11), track2(16, 0x22);
    auto stored1 = track1, stored2 = track2;
    ScrambleBytes(stored1.data(), 10);
    ScrambleBytes(stored2.data(), 2);
    auto labels = WriteLabelStream(p.labels);
    ScrambleBytes(labels.data(), static_cast<long long>(labels.size()));
    const auto pe = BuildPeFile(
        {{"SCRINFO", BuildScrInfoResource(p)}, {"XLABELS", labels}, {"TRACK1", stored1}, {"TRACK2", stored2}},
        {{1, std::string(70, 'N')}, {2, "other"}});
    const auto pkg = OpenBytes(pe, "old.scr");
    EXPECT_FALSE(pkg->IsAppended());
    EXPECT_EQ(pkg->Name(), std::string(63, 'N'));
    ASSERT_EQ(pkg->ItemCount(), 3);
    EXPECT_EQ(pkg->GetItem(0), p.items[0].item);
    EXPECT_EQ(pkg->GetItemLocation(0), ItemLocation{});
    EXPECT_EQ(pkg->Author().name(), "Ann Author");
    EXPECT_EQ(LabelText(scr::Label(pkg->Labels().Group(0), 1)), "Second");
    EXPECT_EQ(pkg->Labels().GroupCount(), 3);
    EXPECT_EQ(pkg->MusicName(0), ""); // the resource form has no music names
    EXPECT_EQ(pkg->LicenseText(), "");
    const auto music = pkg->ExtractMusic(1);
    ASSERT_TRUE(music) << music.error(); // found although the stored name differs in case
    EXPECT_EQ(ReadFile(music->path), track2);
    EXPECT_EQ(ReadFile(pkg->ExtractMusic(0)->path), track1);
    Bitmap24 b;
    EXPECT_FALSE(pkg->LoadPicture(b, 0, JpegFull)); // no item data in this form
    EXPECT_FALSE(pkg->ReadMovie(1));
}

TEST_F(PackageFileTest, ResourceFormDamageEndsInAnEmptyPackageWithItsName) {
    FixturePackage p = FullPackage();
    auto info = BuildScrInfoResource(p);
    info.resize(info.size() - 1); // last track record incomplete
    auto pkg = OpenBytes(BuildPeFile({{"SCRINFO", info}}, {{1, "Named"}}), "a.scr");
    EXPECT_EQ(pkg->ItemCount(), 0);
    EXPECT_EQ(pkg->MusicCount(), 0);
    EXPECT_EQ(pkg->Name(), "Named");

    pkg = OpenBytes(BuildPeFile({}, {{1, "Just a name"}}), "b.scr");
    EXPECT_EQ(pkg->ItemCount(), 0);
    EXPECT_EQ(pkg->Name(), "Just a name");

    // Every truncation and random damage of a PE file is handled quietly.
    const auto pe = BuildPeFile({{"SCRINFO", BuildScrInfoResource(p)}}, {{1, "x"}});
    for (std::size_t size = 0; size < pe.size(); size += 3)
        OpenBytes(std::vector<uint8_t>(pe.begin(), pe.begin() + static_cast<long>(size)), "c.scr");
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        auto damaged = pe;
        for (int k = 0; k < 3; ++k)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        OpenBytes(damaged, "d.scr");
    }
}

TEST_F(PackageFileTest, ThumbnailsFitTheBoxAndMoviesGetThePlaceholder) {
    FixturePackage p = FullPackage();
    p.items[0] = PictureItem(MakeJpeg(1920, 1080));
    const auto pkg = Open(p);
    Bitmap24 thumb;
    ASSERT_TRUE(pkg->GetThumbnail(thumb, 0, 90, 120));
    EXPECT_EQ(thumb.width(), 120); // 240 x 135 at one eighth, r = 2
    EXPECT_EQ(thumb.height(), 67);
    Bitmap24 movie;
    EXPECT_FALSE(pkg->GetThumbnail(movie, 1, 90, 120));
    EXPECT_EQ(movie.width(), 100);
    EXPECT_EQ(movie.height(), 80);
    Bitmap24 other(5, 5);
    EXPECT_FALSE(pkg->GetThumbnail(other, 2, 90, 120)); // kind 2: nothing
    EXPECT_EQ(other.width(), 5);
}

TEST_F(PackageFileTest, LoadPictureDecodesAtEveryScale) {
    FixturePackage p = FullPackage();
    p.items[0] = PictureItem(MakeJpeg(160, 120));
    const auto pkg = Open(p);
    for (int scale = 0; scale <= 3; ++scale) {
        Bitmap24 picture;
        ASSERT_TRUE(pkg->LoadPicture(picture, 0, scale));
        EXPECT_EQ(picture.width(), 160 >> scale);
        EXPECT_EQ(picture.height(), 120 >> scale);
    }
    Bitmap24 untouched(2, 2);
    EXPECT_FALSE(pkg->LoadPicture(untouched, 1, JpegFull)); // a movie's data is no JPEG
    EXPECT_EQ(untouched.width(), 2);
}

} // namespace
} // namespace scr::test
