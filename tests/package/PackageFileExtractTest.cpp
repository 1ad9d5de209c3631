#include "package/JpegCodec.h"
#include "tests/package/PackageFileTestSupport.h"

#include <filesystem>
#include <sys/stat.h>

namespace scr::test {
namespace {

namespace fs = std::filesystem;

FixturePackage MoviesAndTracks() {
    FixturePackage p;
    p.name = "Media";
    p.info.setFormatLevel(5);
    p.items.push_back(PictureItem(MakeJpeg(40, 30), 0, 0, 20, 10));
    FixtureItem movie;
    movie.item.kind = ShowItem::Flash;
    movie.data = std::vector<uint8_t>(64, 'F');
    p.items.push_back(movie);
    FixtureItem other;
    other.item.kind = 2;
    other.data = {9, 9, 9};
    p.items.push_back(other);
    FixtureTrack track;
    track.music.setExtension(".mp3");
    track.data = std::vector<uint8_t>(40, 'M');
    p.tracks.push_back(track);
    track.music.setExtension("/../x");
    track.data = std::vector<uint8_t>(24, 'N');
    p.tracks.push_back(track);
    p.background = MakeJpeg(16, 16);
    return p;
}

TEST(SafeTrackExtension, OnlyPlainExtensionsPass) {
    const std::pair<std::string, std::string> cases[] = {
        {".mp3", ".mp3"}, {".WAV", ".WAV"},  {".abcdefg", ".abcdefg"}, {".abcdefgh", ".bin"},
        {".", ".bin"},    {"", ".bin"},      {"mp3", ".bin"},          {"/../x", ".bin"},
        {"./a", ".bin"},  {".m p3", ".bin"}, {"..", ".bin"},           {".\xE9", ".bin"}};
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(SafeTrackExtension(stored), expected) << stored;
}

// Movies go to the player from memory: no file is written for them.
TEST_F(PackageFileTest, MoviesAreReadIntoMemoryWithoutATemporaryFile) {
    const auto pkg = Open(MoviesAndTracks());
    const auto before = std::distance(fs::directory_iterator(temp_.path()), fs::directory_iterator());
    const auto movie = pkg->ReadMovie(1);
    ASSERT_TRUE(movie);
    EXPECT_EQ(*movie, std::vector<uint8_t>(64, 'F'));
    EXPECT_EQ(pkg->ReadMovie(1), movie); // read again, the same bytes
    for (int index : {-1, 3, 1000})
        EXPECT_FALSE(pkg->ReadMovie(index)) << index;
    EXPECT_EQ(std::distance(fs::directory_iterator(temp_.path()), fs::directory_iterator()), before);
}

// A movie whose stored size is beyond what the player takes is not read at
// all, whatever the file holds.
TEST_F(PackageFileTest, AMovieLargerThanThePlayerTakesIsNotRead) {
    FixturePackage p = MoviesAndTracks();
    const auto pkg = Open(p);
    ASSERT_TRUE(pkg->ReadMovie(1));
    std::vector<uint8_t> bytes = BuildAppendedPackage(p);
    // The movie's location entry in the item table: its size field.
    const ItemLocation location = pkg->GetItemLocation(1);
    bool patched = false;
    for (std::size_t at = 0; at + ItemLocation::kSize <= bytes.size(); ++at) {
        const ItemLocation found = ItemLocation::Parse(&bytes[at]);
        if (found.offset == location.offset && found.size == location.size) {
            ItemLocation{location.offset, PackageFile::kMaxMovieBytes + 1}.Serialize(&bytes[at]);
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    const auto damaged = OpenBytes(bytes, "huge.scr");
    EXPECT_EQ(damaged->GetItemLocation(1).size, PackageFile::kMaxMovieBytes + 1);
    EXPECT_FALSE(damaged->ReadMovie(1));
}

TEST_F(PackageFileTest, ExtractionHappensOnceWhileTheFileExists) {
    const auto pkg = Open(MoviesAndTracks());
    const auto first = pkg->ExtractMusic(0);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first->path, temp_.file("~S_0.mp3"));
    struct stat st {};
    ASSERT_EQ(::stat(first->path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    WriteFile(first->path, {'x'}); // a second extraction must not write again
    const auto second = pkg->ExtractMusic(0);
    EXPECT_EQ(second->path, first->path);
    EXPECT_EQ(ReadFile(second->path), std::vector<uint8_t>{'x'});

    fs::remove(first->path); // deleted by someone else: written anew
    const auto third = pkg->ExtractMusic(0);
    ASSERT_TRUE(third.ok());
    EXPECT_EQ(ReadFile(third->path), std::vector<uint8_t>(40, 'M'));
}

TEST_F(PackageFileTest, TakenNamesAndLinksAreNeverReused) {
    WriteFile(temp_.file("~S_0.mp3"), {'o', 'l', 'd'});
    const std::string victim = temp_.file("victim");
    WriteFile(victim, {'v'});
    fs::create_symlink(victim, temp_.file("~S_1.mp3"));
    fs::create_symlink(temp_.file("nowhere"), temp_.file("~S_2.mp3"));
    const auto pkg = Open(MoviesAndTracks());
    const auto track = pkg->ExtractMusic(0);
    ASSERT_TRUE(track.ok());
    EXPECT_EQ(track->path, temp_.file("~S_3.mp3"));
    EXPECT_EQ(ReadFile(temp_.file("~S_0.mp3")), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(ReadFile(victim), std::vector<uint8_t>{'v'});
    EXPECT_FALSE(fs::exists(temp_.file("nowhere")));
}

TEST_F(PackageFileTest, TrackExtensionsFromThePackageCannotLeaveTheTemporaryFolder) {
    const auto pkg = Open(MoviesAndTracks());
    const auto plain = pkg->ExtractMusic(0);
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain->path, temp_.file("~S_0.mp3"));
    EXPECT_EQ(plain->music.extension(), ".mp3");
    const auto odd = pkg->ExtractMusic(1);
    ASSERT_TRUE(odd.ok());
    EXPECT_EQ(odd->path, temp_.file("~S_0.bin"));
    EXPECT_EQ(odd->music.extension(), "/../x"); // the record itself is handed back as stored
}

TEST_F(PackageFileTest, DestroyingThePackageRemovesItsTemporaryFiles) {
    std::string track, other;
    {
        const auto pkg = Open(MoviesAndTracks());
        track = pkg->ExtractMusic(0)->path;
        other = pkg->ExtractMusic(1)->path;
        ASSERT_TRUE(fs::exists(track));
        ASSERT_TRUE(fs::exists(other));
    }
    EXPECT_FALSE(fs::exists(track));
    EXPECT_FALSE(fs::exists(other));
}

TEST_F(PackageFileTest, ExportWritesEveryKindWithSharedNumbering) {
    const FixturePackage p = MoviesAndTracks();
    const auto pkg = Open(p);
    const std::string out = temp_.file("out");
    fs::create_directory(out);
    WriteFile(out + "/Flash_2.swf", {'o', 'l', 'd'}); // replaced
    ASSERT_TRUE(pkg->ExportContent(true, true, out)); // no trailing slash

    Bitmap24 picture;
    ASSERT_TRUE(DecodeJpeg(ReadFile(out + "/Pic_1.jpg"), JpegFull, picture));
    EXPECT_EQ(picture.width(), 20); // resized to the item's own size
    EXPECT_EQ(picture.height(), 10);
    ASSERT_TRUE(DecodeJpeg(ReadFile(out + "/Pic_bk.jpg"), JpegFull, picture));
    EXPECT_EQ(picture.width(), 16);
    EXPECT_EQ(ReadFile(out + "/Flash_2.swf"), p.items[1].data);
    EXPECT_FALSE(fs::exists(out + "/Pic_3.jpg")); // kind 2 is skipped
    EXPECT_EQ(ReadFile(out + "/Music_1.mp3"), p.tracks[0].data);
    EXPECT_EQ(ReadFile(out + "/Music_2.bin"), p.tracks[1].data);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out))
        ++files;
    EXPECT_EQ(files, 5u);
}

TEST_F(PackageFileTest, ExportChoosesWhatToSave) {
    const auto pkg = Open(MoviesAndTracks());
    const std::string music = temp_.file("music/");
    fs::create_directory(music);
    ASSERT_TRUE(pkg->ExportContent(false, true, music));
    EXPECT_FALSE(fs::exists(music + "Pic_1.jpg"));
    EXPECT_TRUE(fs::exists(music + "Music_1.mp3"));
}

TEST_F(PackageFileTest, ExportToAMissingDirectoryWritesNothing) {
    const auto pkg = Open(MoviesAndTracks());
    EXPECT_FALSE(pkg->ExportContent(true, true, temp_.file("missing")));
    EXPECT_FALSE(fs::exists(temp_.file("missing")));
    EXPECT_FALSE(pkg->ExportContent(true, true, ""));
    EXPECT_FALSE(fs::exists(temp_.file("~F_0.swf"))); // nothing was even extracted
}

TEST_F(PackageFileTest, ExportStopsAtTheFirstFailureAndKeepsWhatWasWritten) {
    FixturePackage p = MoviesAndTracks();
    p.items.insert(p.items.begin() + 1, PictureItem({0xFF, 0xD8, 0xFF, 0x00, 0x13}));
    const auto pkg = Open(p);
    const std::string out = temp_.file("out");
    fs::create_directory(out);
    EXPECT_FALSE(pkg->ExportContent(true, true, out));
    EXPECT_TRUE(fs::exists(out + "/Pic_bk.jpg"));
    EXPECT_TRUE(fs::exists(out + "/Pic_1.jpg"));
    EXPECT_FALSE(fs::exists(out + "/Pic_2.jpg"));
    EXPECT_FALSE(fs::exists(out + "/Flash_3.swf"));
    EXPECT_FALSE(fs::exists(out + "/Music_1.mp3"));
}

} // namespace
} // namespace scr::test
