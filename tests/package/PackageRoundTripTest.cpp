// Packages made by the builder, read back by the package reader: every field
// and block must come back as described.

#include "package/JpegCodec.h"
#include "package/PackageBuilder.h"
#include "package/PackageFile.h"
#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

class PackageRoundTripTest : public ::testing::Test {
protected:
    // Packs the description onto a small program and reads it back.
    std::unique_ptr<PackageFile> RoundTrip(const PackageDescription& d) {
        const std::string path = dir.file("package.scr");
        const Result<void> packed = WritePackedFile(path, program, d);
        EXPECT_TRUE(packed) << packed.error();
        return std::make_unique<PackageFile>(path);
    }

    static std::vector<uint8_t> FileBytes(const Result<ExtractedTrack>& track) {
        EXPECT_TRUE(track) << track.error();
        return track ? test::ReadFile(track->path) : std::vector<uint8_t>();
    }

    test::TempDir dir;
    const std::vector<uint8_t> program = std::vector<uint8_t>(333, 0x90);
};

TEST_F(PackageRoundTripTest, EveryFieldAndBlockComesBack) {
    const PackageDescription d = test::FullDescription();
    const auto package = RoundTrip(d);
    ASSERT_TRUE(package->IsAppended());

    EXPECT_EQ(package->Name(), d.name);
    EXPECT_EQ(package->NameUtf8(), "Full \u00c9t\u00e9 Package");
    ScreenSaverInfo expected = d.info;
    expected.setSignature();
    expected.setItemCount(3);
    expected.setMusicCount(2);
    EXPECT_EQ(package->Info(), expected); // every setting, reserved bytes included
    EXPECT_EQ(package->Description(), "A description\r\non two lines.");
    EXPECT_EQ(package->PackageKind(), 'E');
    EXPECT_EQ(package->Author(), d.author);
    EXPECT_TRUE(package->HasAuthorInfo());
    EXPECT_EQ(package->DesignWidth(), 1024);
    EXPECT_EQ(package->DesignHeight(), 768);
    EXPECT_EQ(package->OpacityPercent(), 85);
    EXPECT_TRUE(package->KeepCursor());

    ASSERT_EQ(package->ItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(package->GetItem(i), d.items[static_cast<std::size_t>(i)].record) << i;
        // Item data comes back byte for byte, whatever its kind.
        EXPECT_EQ(package->ReadMovie(i), d.items[static_cast<std::size_t>(i)].data) << i;
    }
    Bitmap24 picture;
    ASSERT_TRUE(package->LoadPicture(picture, 0, JpegFull));
    EXPECT_EQ(picture.width(), 16);
    EXPECT_EQ(picture.height(), 8);
    EXPECT_EQ(package->Labels(), d.labels);

    ASSERT_EQ(package->MusicCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const Result<ExtractedTrack> track = package->ExtractMusic(i);
        ASSERT_TRUE(track) << track.error();
        EXPECT_EQ(track->music, d.tracks[static_cast<std::size_t>(i)].record);
        EXPECT_EQ(FileBytes(track), d.tracks[static_cast<std::size_t>(i)].data);
        EXPECT_EQ(package->MusicName(i), d.musicNames[static_cast<std::size_t>(i)]);
    }

    ASSERT_NE(package->Background(), nullptr);
    EXPECT_EQ(package->Background()->width(), 16);
    EXPECT_EQ(package->LicenseText(), d.licenseText);
    const auto dynamic = package->ReadLanguageTable(false);
    const auto captions = package->ReadLanguageTable(true);
    EXPECT_EQ(std::string(dynamic.begin(), dynamic.end()), d.dynamicTexts);
    EXPECT_EQ(std::string(captions.begin(), captions.end()), d.staticCaptions);
}

TEST_F(PackageRoundTripTest, OlderFormatLevelsCarryLessAndTheReaderFillsIn) {
    PackageDescription d = test::FullDescription();
    d.info.setFormatLevel(3);
    d.info.setHasAuthorInfo(0);
    d.licenseText.clear();
    d.musicNames.clear();
    d.background.clear();
    d.extension = {};
    d.labels = {};
    const auto package = RoundTrip(d);
    ASSERT_TRUE(package->IsAppended());
    EXPECT_EQ(package->FormatLevel(), 3);
    EXPECT_FALSE(package->HasAuthorInfo());
    EXPECT_EQ(package->Author(), AuthorInfo());
    EXPECT_EQ(package->Background(), nullptr);
    EXPECT_EQ(package->LicenseText(), "");
    EXPECT_EQ(package->MusicName(0), "Music-1.wav");
    EXPECT_EQ(package->MusicName(1), "Music-2.mp3");
    ASSERT_EQ(package->Labels().GroupCount(), 3);
    EXPECT_EQ(LabelCount(package->Labels().Group(2)), 0);
    // Item data still lies where the tables say, without an author block before it.
    EXPECT_EQ(package->ReadMovie(1), test::TinySwf());
}

TEST_F(PackageRoundTripTest, LevelFourHasNamesAndBackgroundButNoLicence) {
    PackageDescription d = test::FullDescription();
    d.info.setFormatLevel(4);
    d.licenseText.clear();
    const auto package = RoundTrip(d);
    EXPECT_EQ(package->MusicName(1), "Second tune");
    EXPECT_NE(package->Background(), nullptr);
    EXPECT_EQ(package->LicenseText(), "");
    EXPECT_EQ(package->Labels(), d.labels);
}

TEST_F(PackageRoundTripTest, AnEmptyPackageIsAValidPackage) {
    PackageDescription d;
    d.name = "Empty";
    d.info.setFormatLevel(5);
    const auto package = RoundTrip(d);
    ASSERT_TRUE(package->IsAppended());
    EXPECT_EQ(package->Name(), "Empty");
    EXPECT_EQ(package->ItemCount(), 0);
    EXPECT_EQ(package->MusicCount(), 0);
    EXPECT_EQ(package->Labels().GroupCount(), 0);
    EXPECT_EQ(package->Background(), nullptr);
    EXPECT_TRUE(package->ReadLanguageTable(false).empty());
}

} // namespace
} // namespace scr
