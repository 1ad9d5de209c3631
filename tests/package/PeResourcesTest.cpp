#include "package/PeResources.h"

#include "tests/package/PackageFixture.h"

#include <gtest/gtest.h>

namespace scr::test {
namespace {

TEST(PeResources, FindsNamedDataAndStringsInBothFormats) {
    for (const bool pe32Plus : {false, true}) {
        const auto pe = BuildPeFile({{"SCRINFO", {1, 2, 3}}, {"TRACK7", {9}}},
                                    {{1, "Saver"}, {17, "Seventeen"}, {15, "Last of block"}}, pe32Plus);
        const MemoryByteSource source(pe);
        const PeResourceReader reader(source);
        ASSERT_TRUE(reader.valid()) << pe32Plus;
        EXPECT_EQ(reader.FindRcData("SCRINFO"), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(reader.FindRcData("track7"), std::vector<uint8_t>{9}); // names compare without case
        EXPECT_FALSE(reader.FindRcData("XLABELS"));
        EXPECT_FALSE(reader.FindRcData(""));
        EXPECT_EQ(reader.LoadString(1, 63), "Saver");
        EXPECT_EQ(reader.LoadString(17, 63), "Seventeen");
        EXPECT_EQ(reader.LoadString(15, 63), "Last of block");
        EXPECT_EQ(reader.LoadString(17, 5), "Seven");
        EXPECT_FALSE(reader.LoadString(2, 63));  // empty entry of an existing block
        EXPECT_FALSE(reader.LoadString(40, 63)); // block that does not exist
        EXPECT_FALSE(reader.LoadString(-1, 63));
    }
}

TEST(PeResources, OtherFilesHaveNoResources) {
    const std::vector<std::vector<uint8_t>> files = {
        {}, {'M', 'Z'}, std::vector<uint8_t>(4096, 0), BuildPeFile({}, {})};
    for (const auto& file : files) {
        const MemoryByteSource source(file);
        const PeResourceReader reader(source);
        EXPECT_FALSE(reader.FindRcData("SCRINFO"));
        EXPECT_FALSE(reader.LoadString(1, 63));
    }
}

TEST(PeResources, DataOutsideTheFileIsRefused) {
    auto pe = BuildPeFile({{"SCRINFO", std::vector<uint8_t>(32, 7)}});
    pe.resize(pe.size() - 1); // the resource's last byte is missing
    const MemoryByteSource source(pe);
    const PeResourceReader reader(source);
    EXPECT_TRUE(reader.valid());
    EXPECT_FALSE(reader.FindRcData("SCRINFO"));
}

} // namespace
} // namespace scr::test
