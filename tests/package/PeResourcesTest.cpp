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

TEST(PeResources, ListsEveryTypeNameAndLanguageWithTheFileOffsetOfItsData) {
    const std::vector<PeResourceFixture> resources = {
        {"", 10, "SCRINFO", 0, 1033, {1, 2, 3}},
        {"SHOCKWAVE", 0, "MOVIE", 0, 1031, {4, 5, 6, 7}},
        {"SHOCKWAVE", 0, "MOVIE", 0, 1033, {8}},
        {"", 3, "", 7, 0, std::vector<uint8_t>(40, 9)},
    };
    const auto pe = BuildPeWithResources(resources);
    const MemoryByteSource source(pe);
    const PeResourceList list = PeResourceReader(source).ListResources();
    EXPECT_FALSE(list.truncated);
    ASSERT_EQ(list.entries.size(), 4u);
    // Named types first, then numbered ones; a name's languages in order.
    std::vector<std::string> seen;
    for (const PeResourceEntry& e : list.entries) {
        seen.push_back(e.type.Text(true) + "/" + e.name.Text(false) + "/" + std::to_string(e.language));
        ASSERT_GE(e.fileOffset, 0);
        const std::vector<uint8_t> data(pe.begin() + e.fileOffset, pe.begin() + e.fileOffset + e.size);
        bool matches = false;
        for (const auto& r : resources)
            matches = matches || (r.data == data && r.language == e.language);
        EXPECT_TRUE(matches) << seen.back();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"SHOCKWAVE/MOVIE/1031", "SHOCKWAVE/MOVIE/1033", "ICON/7/0",
                                              "RCDATA/SCRINFO/1033"}));
}

TEST(PeResources, AHostileDirectoryTreeIsListedWithinItsBounds) {
    // Every entry of the root claims 65535 subdirectories, all of them the root itself.
    auto pe = BuildPeWithResources({{"", 10, "", 1, 1033, {1}}});
    const std::size_t root = 0x200;
    pe.resize(root + 16 + 8 * 65535, 0);
    pe[root + 14] = 0xff;
    pe[root + 15] = 0xff;
    for (std::size_t i = 0; i < 65535; ++i) {
        WriteLE32(&pe[root + 16 + 8 * i], static_cast<int32_t>(i + 1));
        WriteLE32(&pe[root + 16 + 8 * i + 4], static_cast<int32_t>(0x80000000u));
    }
    // The section holds the whole tree.
    const std::size_t section = 0x80 + 4 + 20 + 224;
    WriteLE32(&pe[section + 8], static_cast<int32_t>(pe.size() - root));
    WriteLE32(&pe[section + 16], static_cast<int32_t>(pe.size() - root));
    const MemoryByteSource source(pe);
    const PeResourceList list = PeResourceReader(source).ListResources();
    EXPECT_TRUE(list.truncated);
    EXPECT_LE(list.entries.size(), kMaxListedResources);
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
