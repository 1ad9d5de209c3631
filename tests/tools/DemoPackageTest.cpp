// The demo package the build makes: everything it is meant to show is there
// and readable.

#include "package/JpegCodec.h"
#include "package/PackageFile.h"
#include "platform/ReadOnlyFile.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

std::string DemoPath() {
    return test::BuildBinDir() + "/demo.scr";
}

std::vector<std::string> Lines(const std::vector<uint8_t>& table) {
    std::vector<std::string> lines;
    std::string line;
    for (const uint8_t byte : table) {
        if (byte == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (byte != '\r') {
            line += static_cast<char>(byte);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Walks the tags of an uncompressed SWF: the header's length is the file's,
// the tags fill it exactly up to the End tag, and there are as many
// ShowFrame tags as the header's frame count.
void ExpectWellFormedSwf(const std::vector<uint8_t>& swf) {
    ASSERT_GE(swf.size(), 21u);
    ASSERT_EQ(std::string(swf.begin(), swf.begin() + 3), "FWS");
    EXPECT_EQ(static_cast<std::size_t>(ReadLE32(&swf[4])), swf.size());
    const int rectBits = 5 + 4 * (swf[8] >> 3);
    std::size_t pos = 8 + static_cast<std::size_t>((rectBits + 7) / 8);
    const int frameCount = swf[pos + 2] | (swf[pos + 3] << 8);
    pos += 4;
    int frames = 0;
    bool ended = false;
    while (pos + 2 <= swf.size() && !ended) {
        const int header = swf[pos] | (swf[pos + 1] << 8);
        pos += 2;
        std::size_t length = header & 0x3F;
        if (length == 0x3F) {
            ASSERT_LE(pos + 4, swf.size());
            length = static_cast<std::size_t>(ReadLE32(&swf[pos]));
            pos += 4;
        }
        const int code = header >> 6;
        frames += code == 1;
        ended = code == 0;
        pos += length;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(pos, swf.size());
    EXPECT_EQ(frames, frameCount);
}

TEST(DemoPackageTest, CarriesPicturesMovieMusicLabelsAndTexts) {
    if (!std::filesystem::exists(DemoPath())) GTEST_SKIP() << "built without the demo";
    PackageFile demo(DemoPath());
    ASSERT_TRUE(demo.IsAppended());
    EXPECT_EQ(demo.NameUtf8(), "Demo Screen Saver");
    EXPECT_TRUE(demo.HasAuthorInfo());
    EXPECT_FALSE(demo.LicenseText().empty());
    ASSERT_NE(demo.Background(), nullptr);

    int pictures = 0, movies = 0, labelled = 0;
    for (int i = 0; i < demo.ItemCount(); ++i) {
        labelled += LabelCount(demo.Labels().Group(i)) > 0;
        if (demo.GetItem(i).kind == ShowItem::Flash) {
            ++movies;
            const auto movie = demo.ReadMovie(i);
            ASSERT_TRUE(movie);
            ExpectWellFormedSwf(*movie);
            continue;
        }
        Bitmap24 picture;
        ASSERT_TRUE(demo.LoadPicture(picture, i, JpegFull)) << i;
        EXPECT_EQ(picture.width(), 1280);
        EXPECT_EQ(picture.height(), 800);
        ++pictures;
    }
    EXPECT_EQ(pictures, 8);
    EXPECT_EQ(movies, 1);
    EXPECT_GE(labelled, 5);

    ASSERT_EQ(demo.MusicCount(), 1);
    const Result<ExtractedTrack> track = demo.ExtractMusic(0);
    ASSERT_TRUE(track) << track.error();
    const auto wav = test::ReadFile(track->path);
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 12), "WAVE");

    // Every dynamic text the dialogs use, and a caption for every tagged
    // component of both dialogs.
    const auto dynamic = Lines(demo.ReadLanguageTable(false));
    ASSERT_EQ(dynamic.size(), 26u);
    for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 13, 16, 17, 18, 19, 20, 21, 23, 24, 25})
        EXPECT_FALSE(dynamic[static_cast<std::size_t>(index)].empty()) << index;
    const auto captions = Lines(demo.ReadLanguageTable(true));
    EXPECT_NE(std::find(captions.begin(), captions.end(), "[FS_0]"), captions.end());
    for (int tag :
         {1001, 1002, 1003, 1007, 1008, 1009, 1017, 1018, 1019, 1020, 1021, 1023, 1024, 1025, 1026,
          1028, 1029, 1030, 1031, 1032, 2001, 2002, 2003, 2004, 2005, 2007, 2008, 2009, 2010, 2011}) {
        const std::string key = "S_" + std::to_string(tag) + "=";
        const bool found = std::any_of(captions.begin(), captions.end(), [&](const std::string& line) {
            return line.rfind(key, 0) == 0 && line.size() > key.size();
        });
        EXPECT_TRUE(found) << key;
    }
}

} // namespace
} // namespace scr
