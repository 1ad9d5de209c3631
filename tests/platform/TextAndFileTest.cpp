#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/FileAttributes.h"
#include "platform/IntegerText.h"
#include "platform/ReadOnlyFile.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

TEST(IntegerText, FollowsStrToIntRules) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"1234", 1234},
        {"-5", -5},
        {"+7", 7},
        {"  42", 42},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"$FFFFFFFF", -1},
        {"2147483647", INT32_MAX},
        {"2147483648", {}},
        {"-2147483648", INT32_MIN},
        {"abc", {}},
        {"12a", {}},
        {"", {}},
        {"-", {}},
        {"0x", {}},
        {"42 ", {}},
        {"1.5", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TryStrToInt(c.text), c.value) << c.text;
}

TEST(IntegerText, WindowHandlesAcceptUnsignedIds) {
    EXPECT_EQ(TryStrToWindowHandle("4194311"), 4194311u);
    EXPECT_EQ(TryStrToWindowHandle("0x400007"), 0x400007u);
    EXPECT_EQ(TryStrToWindowHandle("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(TryStrToWindowHandle("-1"), 0xFFFFFFFFu);
    EXPECT_FALSE(TryStrToWindowHandle("4294967296"));
    EXPECT_FALSE(TryStrToWindowHandle("abc"));
}

TEST(CodePage, DecodesWindows1252AndMapsCase) {
    EXPECT_EQ(DecodeCodePage("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(EncodeCodePage("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xE9 \x80");
    EXPECT_EQ(EncodeCodePage("\xE6\x97\xA5"), "?"); // not in the code page
    EXPECT_EQ(AnsiLowerCase(".EXE"), ".exe");
    EXPECT_EQ(AnsiLowerCase("\xC9T\xC9"), "\xE9t\xE9");
    EXPECT_EQ(AnsiUpperCase("/s\xE9"), "/S\xC9");
}

TEST(ExecutablePath, ExtensionIsFromTheLastDotOfTheName) {
    EXPECT_EQ(ExtractFileExt("/a.b/c.scr"), ".scr");
    EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("x.tar.EXE"), ".EXE");
    EXPECT_FALSE(ExecutablePath().empty());
}

TEST(FileAttributes, SameFileWhateverLinksThePathsPassThrough) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("real/sub"));
    test::WriteFile(dir.file("real/sub/a.scr"), {1});
    test::WriteFile(dir.file("real/sub/b.scr"), {1});
    std::filesystem::create_directory_symlink(dir.file("real"), dir.file("linked"));
    std::filesystem::create_symlink(dir.file("real/sub/a.scr"), dir.file("a-link.scr"));
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {dir.file("real/sub/a.scr"), dir.file("real/sub/a.scr"), true},
        {dir.file("linked/sub/a.scr"), dir.file("real/sub/a.scr"), true},
        {dir.file("a-link.scr"), dir.file("linked/sub/../sub/a.scr"), true},
        {dir.file("linked/sub/a.scr"), dir.file("real/sub/b.scr"), false},
        // Missing files: the links that exist on the way are resolved.
        {dir.file("linked/sub/gone.scr"), dir.file("real/sub/gone.scr"), true},
        {dir.file("linked/sub/gone.scr"), dir.file("real/sub/other.scr"), false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameFile(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(ReadOnlyFile, EveryReadIsBoundedByTheFile) {
    test::TempDir dir;
    test::WriteFile(dir.file("f"), {1, 0, 0, 0, 2, 3, 4});
    ReadOnlyFile file(dir.file("f"));
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), 7);
    int32_t value = 0;
    ASSERT_TRUE(file.readInt32(value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(file.readInt32(value)); // only 3 bytes remain
    EXPECT_EQ(file.position(), 4);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(file.readBytes(0x7FFFFFFF, bytes)); // a huge count allocates nothing
    ASSERT_TRUE(file.readBytes(3, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 3, 4}));
    EXPECT_FALSE(file.seek(8));
    EXPECT_FALSE(file.seek(-1));
    uint8_t b = 0;
    EXPECT_FALSE(file.readAt(-1, &b, 1));
    EXPECT_FALSE(ReadOnlyFile(dir.file("missing")).isOpen());
    EXPECT_FALSE(ReadOnlyFile(dir.path()).isOpen()); // a directory is not a file
}

} // namespace
} // namespace scr
