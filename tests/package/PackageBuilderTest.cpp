#include "package/PackageBuilder.h"

#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"
#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace scr {
namespace {

std::vector<uint8_t> Unscrambled(const std::vector<uint8_t>& bytes, std::size_t offset, std::size_t size) {
    std::vector<uint8_t> out(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                             bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
    ScrambleBytes(out.data(), static_cast<long long>(out.size()));
    return out;
}

TEST(PackageBuilderTest, SameDescriptionGivesTheSameBytes) {
    const PackageDescription d = test::FullDescription();
    const auto first = BuildPackage(d);
    ASSERT_TRUE(first) << first.error();
    ASSERT_FALSE(first->empty());
    EXPECT_EQ(BuildPackage(d).value(), *first);
}

// The stored form, checked block by block against the layout the player walks.
TEST(PackageBuilderTest, LaysOutEveryBlockWithItsScrambling) {
    const PackageDescription d = test::FullDescription();
    const auto package = BuildPackage(d).value();
    ASSERT_GT(package.size(), static_cast<std::size_t>(kTrailerSize));

    TrailerBytes trailer{};
    std::copy(package.end() - kTrailerSize, package.end(), trailer.begin());
    ScrambleBytes(trailer.data(), kTrailerSize);
    const TrailerFields fields = ParseTrailerFields(trailer);
    EXPECT_EQ(fields.packageSize, static_cast<int32_t>(package.size()));
    const ScreenSaverInfo info = ScreenSaverInfo::Parse(&trailer[kInfoRecordOffset]);
    EXPECT_TRUE(info.signatureMatches());
    EXPECT_EQ(info.itemCount(), 3);
    EXPECT_EQ(info.musicCount(), 2);
    ScreenSaverInfo expected = d.info;
    expected.setSignature();
    expected.setItemCount(3);
    expected.setMusicCount(2);
    EXPECT_EQ(info, expected); // reserved bytes included

    EXPECT_EQ(Unscrambled(package, 0, 64)[0], 'F');
    EXPECT_EQ(AuthorInfo::Parse(Unscrambled(package, 64, AuthorInfo::kSize).data()), d.author);

    // Tables are plain; item data has only its first eighth scrambled.
    std::size_t at = static_cast<std::size_t>(fields.tableOffset);
    for (const auto& item : d.items) {
        const ItemLocation location = ItemLocation::Parse(&package[at]);
        EXPECT_EQ(ShowItem::Parse(&package[at + 8]), item.record);
        ASSERT_EQ(location.size, static_cast<int32_t>(item.data.size()));
        const auto offset = static_cast<std::size_t>(location.offset);
        const std::size_t head = item.data.size() / 8;
        std::vector<uint8_t> stored(package.begin() + static_cast<std::ptrdiff_t>(offset),
                                    package.begin() + static_cast<std::ptrdiff_t>(offset + item.data.size()));
        EXPECT_NE(stored, item.data);
        ScrambleBytes(stored.data(), static_cast<long long>(head));
        EXPECT_EQ(stored, item.data);
        at += 64;
    }
    for (const auto& track : d.tracks) {
        EXPECT_EQ(MusicItem::Parse(&package[at + 8]), track.record);
        at += 24;
    }

    const auto language = Unscrambled(package, static_cast<std::size_t>(fields.languageOffset),
                                      d.dynamicTexts.size() + d.staticCaptions.size());
    EXPECT_EQ(std::string(language.begin(), language.end()), d.dynamicTexts + d.staticCaptions);

    // The locator is plain and points at the scrambled label stream, which the
    // extension block, music names, background and licence follow directly.
    const LabelBlockLocator locator = LabelBlockLocator::Parse(&package[package.size() - 424]);
    ASSERT_TRUE(locator.markerMatches);
    LabelGroupList labels;
    labels.LoadLabelStream(Unscrambled(package, static_cast<std::size_t>(locator.labelOffset),
                                       static_cast<std::size_t>(locator.labelSize)));
    EXPECT_EQ(labels, d.labels);
    std::size_t next = static_cast<std::size_t>(locator.labelOffset + locator.labelSize);
    const PackageExtension extension = PackageExtension::Parse(Unscrambled(package, next, 20).data());
    EXPECT_EQ(extension.designHeight, 768);
    EXPECT_EQ(extension.opacityPercent, 85);
    EXPECT_EQ(extension.keepCursor, 1);
    next += 20;
    const auto names = Unscrambled(package, next, static_cast<std::size_t>(extension.musicNamesSize));
    EXPECT_EQ(std::string(names.begin(), names.end()), "First tune\r\nSecond tune\r\n");
    next += names.size();
    EXPECT_EQ(Unscrambled(package, next, static_cast<std::size_t>(extension.backgroundSize)), d.background);
    next += static_cast<std::size_t>(extension.backgroundSize);
    const auto license = Unscrambled(package, next, 4 + d.licenseText.size());
    EXPECT_EQ(ReadLE32(license.data()), static_cast<int32_t>(d.licenseText.size()));
    EXPECT_EQ(std::string(license.begin() + 4, license.end()), d.licenseText);
    EXPECT_EQ(next + license.size(), package.size() - 424);
}

TEST(PackageBuilderTest, LowerFormatLevelsStopAfterTheBlocksTheyCarry) {
    PackageDescription d = test::FullDescription();
    d.licenseText.clear();
    d.info.setFormatLevel(4);
    const auto level4 = BuildPackage(d).value();
    d.musicNames.clear();
    d.background.clear();
    d.extension = {};
    d.info.setFormatLevel(3);
    const auto level3 = BuildPackage(d).value();
    ASSERT_FALSE(level4.empty());
    ASSERT_FALSE(level3.empty());
    const auto labelEnd = [](const std::vector<uint8_t>& p) {
        const LabelBlockLocator locator = LabelBlockLocator::Parse(&p[p.size() - 424]);
        return static_cast<std::size_t>(locator.labelOffset + locator.labelSize);
    };
    const std::string names = "First tune\r\nSecond tune\r\n";
    EXPECT_EQ(labelEnd(level4) + 20 + names.size() + test::TinyJpeg().size(), level4.size() - 424);
    EXPECT_EQ(labelEnd(level3), level3.size() - 424);
}

TEST(PackageBuilderTest, RefusesWhatThePackageCannotHold) {
    struct Case {
        const char* what;
        std::function<void(PackageDescription&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"long name", [](auto& d) { d.name.assign(64, 'n'); }, "name"},
        {"background at level 3",
         [](auto& d) {
             d.info.setFormatLevel(3);
             d.licenseText.clear();
             d.musicNames.clear();
             d.extension = {};
         },
         "background"},
        {"licence at level 4", [](auto& d) { d.info.setFormatLevel(4); }, "licence"},
        {"long licence", [](auto& d) { d.licenseText.assign(65537, 'x'); }, "licence"},
        {"names for some tracks", [](auto& d) { d.musicNames.pop_back(); }, "music name"},
        {"line break in a name", [](auto& d) { d.musicNames[0] = "a\nb"; }, "line break"},
        {"more groups than items", [](auto& d) { d.items.pop_back(); }, "label groups"},
    };
    for (const Case& c : cases) {
        PackageDescription d = test::FullDescription();
        c.change(d);
        bool wrote = false;
        const Result<void> written =
            WritePackage(d, [&](const uint8_t*, std::size_t) { return wrote = true; });
        EXPECT_FALSE(written) << c.what;
        EXPECT_FALSE(wrote) << c.what;
        EXPECT_NE(written.error().find(c.message), std::string::npos) << c.what << ": " << written.error();
    }
}

TEST(PackageBuilderTest, PackedFileIsProgramThenPackageAndExecutable) {
    test::TempDir dir;
    const std::vector<uint8_t> program = {'\x7f', 'E', 'L', 'F', 1, 2, 3};
    const std::string out = dir.file("out.scr");
    const Result<void> packed = WritePackedFile(out, program, test::FullDescription());
    ASSERT_TRUE(packed) << packed.error();
    std::vector<uint8_t> expected = program;
    const auto package = BuildPackage(test::FullDescription()).value();
    expected.insert(expected.end(), package.begin(), package.end());
    EXPECT_EQ(test::ReadFile(out), expected);
    EXPECT_TRUE(HasValidTrailer(out));
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    // Packing onto a packed file takes only its program image.
    const Result<std::vector<uint8_t>> image = ReadProgramImage(out);
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(*image, program);
}

TEST(PackageBuilderTest, ARefusedPackageLeavesTheDestinationAsItWas) {
    test::TempDir dir;
    const std::string out = dir.file("out.scr");
    test::WriteFile(out, {1, 2, 3});
    PackageDescription d = test::FullDescription();
    d.name.assign(80, 'x');
    const Result<void> packed = WritePackedFile(out, std::vector<uint8_t>{9, 9}, d);
    EXPECT_FALSE(packed);
    EXPECT_EQ(packed.error(), "the name is longer than 63 bytes");
    EXPECT_EQ(test::ReadFile(out), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1);
}

} // namespace
} // namespace scr
