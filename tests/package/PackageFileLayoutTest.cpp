#include "tests/package/PackageFileTestSupport.h"

namespace scr::test {
namespace {

FixturePackage DesignedAt(int width, int height, int formatLevel) {
    FixturePackage p;
    p.name = "Layout";
    p.info.setDesignWidth(width);
    p.info.setFormatLevel(formatLevel);
    p.extension.designHeight = height;
    p.items.push_back(PictureItem({1}, 100, 50, 200, 150));
    LabelRecord record;
    record.fontSize = 15;
    record.centerX = 400;
    record.centerY = 300;
    p.labels.AppendGroupCopy({LabelItem(record, "centre")});
    return p;
}

struct LayoutCase {
    const char* what;
    int designW, designH, level, screenW, screenH;
    int left, top, width, height; // the item after adaptation
    int labelX, labelY, fontSize;
    int designWAfter, designHAfter;
};

class LayoutTest : public PackageFileTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, AdaptsTheStoredLayoutToTheScreen) {
    const LayoutCase& c = GetParam();
    SetScreen(c.screenW, c.screenH);
    const auto pkg = Open(DesignedAt(c.designW, c.designH, c.level));
    const ShowItem item = pkg->GetItem(0);
    EXPECT_EQ(item.left, c.left);
    EXPECT_EQ(item.top, c.top);
    EXPECT_EQ(item.width, c.width);
    EXPECT_EQ(item.height, c.height);
    const auto& label = scr::Label(pkg->Labels().Group(0), 0)->record();
    EXPECT_EQ(label.centerX, c.labelX);
    EXPECT_EQ(label.centerY, c.labelY);
    EXPECT_EQ(label.fontSize, c.fontSize);
    EXPECT_EQ(pkg->DesignWidth(), c.designWAfter);
    EXPECT_EQ(pkg->DesignHeight(), c.designHAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LayoutTest,
    ::testing::Values(
        // f = 1.28 both ways, no offset.
        LayoutCase{"800x600 on 1024x768", 800, 600, 4, 1024, 768, 128, 64, 256, 192, 512, 384, 19, 1024, 768},
        // f = 1.6 by width, vertical band trunc((1024 - 960) / 2) = 32.
        LayoutCase{"800x600 on 1280x1024", 800, 600, 4, 1280, 1024, 160, 112, 320, 240, 640, 512, 24, 1280,
                   1024},
        // Height the tighter fit: f = 1.0 by height, horizontal band (1600 - 800) / 2.
        LayoutCase{"800x600 on 1600x600", 800, 600, 4, 1600, 600, 500, 50, 200, 150, 800, 300, 15, 1600, 600},
        // Format level 3: width ratio alone, no offset, height ignored.
        LayoutCase{"level 3 on 1280x1024", 800, 600, 3, 1280, 1024, 160, 80, 320, 240, 640, 480, 24, 1280,
                   1024},
        LayoutCase{"same size", 800, 600, 4, 800, 600, 100, 50, 200, 150, 400, 300, 15, 800, 600},
        // Design size 0: the current screen; nothing scales. Below level 4 no height is stored.
        LayoutCase{"design 0x0", 0, 0, 4, 1280, 1024, 100, 50, 200, 150, 400, 300, 15, 1280, 1024},
        LayoutCase{"level 3, width 0", 0, 600, 3, 1280, 1024, 100, 50, 200, 150, 400, 300, 15, 1280, 1024},
        // Unknown screen: no rescaling at all.
        LayoutCase{"unknown screen", 800, 600, 4, 0, 0, 100, 50, 200, 150, 400, 300, 15, 800, 600}),
    [](const auto& param) {
        std::string name = param.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(PackageFileTest, ScaleLayoutTruncatesTowardZero) {
    FixturePackage p = DesignedAt(800, 600, 4);
    p.items[0].item.left = -3;
    p.items[0].item.width = 7;
    const auto pkg = Open(p);
    pkg->ScaleLayout(10, 0, 1.5);
    EXPECT_EQ(pkg->GetItem(0).left, 5);   // trunc(10 - 4.5)
    EXPECT_EQ(pkg->GetItem(0).width, 10); // trunc(10.5)
    pkg->ScaleLayout(0, 0, 1e300);        // absurd factors clamp instead of overflowing
    EXPECT_EQ(pkg->GetItem(0).width, INT32_MAX);
}

} // namespace
} // namespace scr::test
