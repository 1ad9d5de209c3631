// A Flash movie file as the show sees it: one item, the movie covering the
// screen, shown for a fixed time (not waited for, since it loops), looping,
// its bytes exactly as stored, its folder the movie file's own.

#include "show/MovieShowContent.h"

#include "package/ScreenSaverFileRecogniser.h"
#include "show/ShowPackageFile.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

TEST(MovieShowContent, OneLoopingItemCoversTheScreen) {
    test::TempDir dir;
    const auto movie = test::TestMovie({.frames = 10, .compression = SwfCompression::Zlib});
    test::WriteFile(dir.file("Fish.swf"), movie);
    std::unique_ptr<ShowPackage> content = OpenShowPackage(dir.file("Fish.swf"), {{1600, 900}, {}});
    ASSERT_TRUE(dynamic_cast<MovieShowContent*>(content.get()));
    EXPECT_EQ(content->Name(), "Fish");
    EXPECT_TRUE(content->LoopMovies());
    ASSERT_EQ(content->ItemCount(), 1);
    EXPECT_EQ(content->CountPinnedItems(), 0);
    const ShowItem item = content->GetItem(0);
    EXPECT_EQ(item.kind, ShowItem::Flash);
    EXPECT_EQ(item.displaySeconds, -MovieShowContent::kItemSeconds);
    EXPECT_EQ(item.fixedPosition, 1);
    EXPECT_EQ(item.left, 0);
    EXPECT_EQ(item.top, 0);
    EXPECT_EQ(item.width, 1600);
    EXPECT_EQ(item.height, 900);
    EXPECT_EQ(content->DesignWidth(), 1600);
    EXPECT_EQ(content->BackgroundColor(), 0u);
    EXPECT_EQ(content->ReadMovie(0), movie);
    EXPECT_EQ(content->MovieFolder(0), dir.path());
    EXPECT_EQ(content->MusicCount(), 0);
    EXPECT_EQ(content->Labels(0), nullptr);

    // A file that holds no movie is the package reader's (empty) package.
    test::WriteFile(dir.file("plain.bin"), std::vector<uint8_t>(100, 1));
    std::unique_ptr<ShowPackage> empty = OpenShowPackage(dir.file("plain.bin"), {{1600, 900}, {}});
    EXPECT_FALSE(dynamic_cast<MovieShowContent*>(empty.get()));
    EXPECT_EQ(empty->ItemCount(), 0);
    EXPECT_FALSE(empty->LoopMovies());
    EXPECT_EQ(empty->MovieFolder(0), "");
}

} // namespace
} // namespace scr
