// Stored colours keep red in the lowest byte; text and channels read it so.
#include "platform/ColorRef.h"

#include <gtest/gtest.h>

namespace scr {
namespace {

TEST(ColorRef, RedIsTheLowestByte) {
    const RgbColor rgb = RgbFromColorRef(0x00C08040);
    EXPECT_EQ(rgb.red, 0x40);
    EXPECT_EQ(rgb.green, 0x80);
    EXPECT_EQ(rgb.blue, 0xC0);
    EXPECT_EQ(ColorRefFromRgb({0x12, 0x34, 0x56}), 0x00563412u);
}

TEST(ColorRef, HexTextIsRedGreenBlueAndIgnoresTheTopByte) {
    EXPECT_EQ(ColorRefHexText(0x00C08040), "#4080C0");
    EXPECT_EQ(ColorRefHexText(0xFF0000FF), "#FFFF0000");
    EXPECT_EQ(ColorRefHexText(0), "#000000");
}

} // namespace
} // namespace scr
