#include "dialogs/LanguageTables.h"

#include "dialogs/ComponentRole.h"
#include "dialogs/MemIniFile.h"
#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"
#include "tests/support/TempDir.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <optional>

namespace scr {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// Writes a program image with an appended package whose language tables hold
// the given texts. `sizeBias` is added to the static table's stored size;
// `dynamicSize` replaces the dynamic table's stored size.
struct PackageFile {
    TrailerFields fields;
    std::string path;

    PackageFile(const test::TempDir& dir, const std::string& dynamicText, const std::string& staticText,
                int32_t sizeBias = 0, std::optional<int32_t> dynamicSize = std::nullopt) {
        std::vector<uint8_t> file = Bytes(std::string(300, 'P'));   // the program image
        std::vector<uint8_t> package = Bytes(std::string(40, 'I')); // item data before the tables
        fields.languageOffset = static_cast<int32_t>(package.size());
        for (const std::string* table : {&dynamicText, &staticText}) {
            std::vector<uint8_t> bytes = Bytes(*table);
            ScrambleBytes(bytes.data(), static_cast<long long>(bytes.size()));
            package.insert(package.end(), bytes.begin(), bytes.end());
        }
        fields.dynamicTextSize = dynamicSize.value_or(static_cast<int32_t>(dynamicText.size()));
        fields.staticTextSize = static_cast<int32_t>(staticText.size()) + sizeBias;
        fields.packageSize = static_cast<int32_t>(package.size()) + kTrailerSize;

        std::vector<uint8_t> trailer(kTrailerSize, 0);
        WriteLE32(&trailer[0], fields.packageSize);
        WriteLE32(&trailer[8], fields.languageOffset);
        WriteLE32(&trailer[12], fields.dynamicTextSize);
        WriteLE32(&trailer[16], fields.staticTextSize);
        std::copy_n(kPackageSignature, kSignatureFieldSize, trailer.begin() + kInfoRecordOffset);
        ScrambleBytes(trailer.data(), kTrailerSize);
        file.insert(file.end(), package.begin(), package.end());
        file.insert(file.end(), trailer.begin(), trailer.end());
        path = dir.file("saver.scr");
        test::WriteFile(path, file);
    }
};

TEST(LanguageTables, TableLinesAndEscapes) {
    struct Case {
        std::string bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\ntwo\rthree", {"one", "two", "three"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"Caf\xE9", {QStringLiteral("Caf\u00E9")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitTableLines(c.bytes), c.lines) << c.bytes;

    QStringList lines{"first\\nsecond", "no escape", "\\\\n", "\\t stays"};
    ReplaceLineBreakEscapes(lines);
    EXPECT_EQ(lines, (QStringList{"first\nsecond", "no escape", "\\\n", "\\t stays"}));
}

TEST(LanguageTables, DynamicTextBounds) {
    QStringList table;
    for (int i = 0; i < 26; ++i)
        table << QStringLiteral("text %1").arg(i);
    EXPECT_EQ(DynamicText(0, table), QStringLiteral("text 0"));
    EXPECT_EQ(DynamicText(25, table), QStringLiteral("text 25"));
    EXPECT_EQ(DynamicText(26, table), QString());
    EXPECT_EQ(DynamicText(-1, table), QString());
    EXPECT_EQ(DynamicText(0, {}), QString());
}

TEST(MemIniFile, ReadsWithTheClassLibraryRules) {
    const MemIniFile ini(QStringList{
        "S_1=before any section",
        "  [Fs_0]  ",
        "; S_2=comment",
        "  s_2  =  spaced value  ",
        "S_3=a=b",
        "S_2=second entry of a key",
        "no equals sign",
        "S_4=",
        "[other]",
        "S_5=other section",
        "[FS_0]",
        "S_6=section seen again",
    });
    EXPECT_TRUE(ini.SectionExists("fs_0"));
    EXPECT_FALSE(ini.SectionExists("missing"));
    EXPECT_EQ(ini.ReadString("FS_0", "S_1", "default"), "default");
    EXPECT_EQ(ini.ReadString("FS_0", "S_2"), "spaced value");
    EXPECT_EQ(ini.ReadString("FS_0", "S_3"), "a=b");
    EXPECT_EQ(ini.ReadString("FS_0", "S_4", "default"), "");
    EXPECT_EQ(ini.ReadString("FS_0", "S_5", "default"), "default");
    EXPECT_EQ(ini.ReadString("OTHER", "s_5"), "other section");
    EXPECT_EQ(ini.ReadString("FS_0", "S_6"), "section seen again");
    EXPECT_EQ(ini.ReadString("missing", "S_2", "default"), "default");
}

TEST(LanguageTables, AppendedPackageSuppliesBothTables) {
    test::TempDir dir;
    const PackageFile package(dir, "zero\r\nfirst\\nsecond\r\n",
                              "[FS_0]\r\nS_7=Seven\r\nS_8=Two\\nlines\r\n");
    const LanguageSource source = LanguageSourceOf(package.path);
    ASSERT_TRUE(source.appended);
    EXPECT_EQ(source.trailer.dynamicTextSize, package.fields.dynamicTextSize);

    QWidget form;
    auto* seven = new QPushButton(QStringLiteral("form default"), &form);
    DeclareComponent(seven, ComponentRole::Button, 7);
    auto* eight = new QLabel(QStringLiteral("one line"), &form);
    DeclareComponent(eight, ComponentRole::Label, 8);
    const int oneLineHeight = eight->sizeHint().height();

    QStringList texts{"stale"};
    LoadLanguage(QStringLiteral("FS_0"), texts, source, &form);
    EXPECT_EQ(texts, (QStringList{"zero", "first\nsecond"}));
    EXPECT_EQ(seven->text(), QStringLiteral("Seven"));
    EXPECT_EQ(eight->text(), QStringLiteral("Two\nlines"));
    EXPECT_GT(eight->sizeHint().height(), oneLineHeight * 3 / 2) << "the caption shows on two lines";
}

TEST(LanguageTables, EmptyTablesOfAPackageAreNotReplacedByTheProgramsOwn) {
    test::TempDir dir;
    const PackageFile package(dir, "", "");
    QWidget form;
    auto* cancel = new QPushButton(QStringLiteral("form default"), &form);
    DeclareComponent(cancel, ComponentRole::Button, 1024);
    QStringList texts{"stale"};
    LoadLanguage(QStringLiteral("FS_0"), texts, LanguageSourceOf(package.path), &form);
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_EQ(cancel->text(), QStringLiteral("form default"));
}

TEST(LanguageTables, SizesBeyondTheFileEndTheConstruction) {
    test::TempDir dir;
    struct Case {
        int32_t staticBias;
        std::optional<int32_t> dynamicSize;
    };
    for (const Case& c : {Case{400 + 1, {}}, Case{0, -5}, Case{-100, {}}, Case{0x7FFFFF00, {}}}) {
        const PackageFile package(dir, "dyn\r\n", "[FS_0]\r\n", c.staticBias, c.dynamicSize);
        QStringList texts{"stale"};
        QWidget form;
        EXPECT_THROW(LoadLanguage(QStringLiteral("FS_0"), texts, LanguageSourceOf(package.path), &form),
                     LanguageTableError)
            << c.staticBias << " " << c.dynamicSize.value_or(0);
        EXPECT_EQ(texts, QStringList{"stale"});
    }
    // Tables that end exactly at the trailer's last byte are still inside the file.
    const PackageFile exact(dir, "dyn\r\n", "[FS_0]\r\n", 400);
    LanguageTables tables;
    EXPECT_NO_THROW(ReadLanguageTables(LanguageSourceOf(exact.path), tables));
}

TEST(LanguageTables, AnUnreadableFileChangesNothing) {
    test::TempDir dir;
    LanguageSource source;
    source.path = dir.file("missing.scr");
    source.appended = true;
    source.trailer.dynamicTextSize = 10;
    QStringList texts{"stale"};
    QWidget form;
    auto* cancel = new QPushButton(QStringLiteral("form default"), &form);
    DeclareComponent(cancel, ComponentRole::Button, 1024);
    LoadLanguage(QStringLiteral("FS_0"), texts, source, &form);
    EXPECT_EQ(texts, QStringList{"stale"});
    EXPECT_EQ(cancel->text(), QStringLiteral("form default"));
}

// Without an appended package the program's compiled-in English tables serve,
// with a caption for every Tag of the configuration dialog and the installer
// and the message form's button texts.
TEST(LanguageTables, ProgramTablesCoverBothDialogs) {
    test::TempDir dir;
    const std::string bare = dir.file("bare.scr");
    test::WriteFile(bare, Bytes(std::string(1000, 'P')));
    const LanguageSource source = LanguageSourceOf(bare);
    ASSERT_FALSE(source.appended);
    LanguageTables tables;
    ASSERT_TRUE(ReadLanguageTables(source, tables));

    ASSERT_EQ(tables.dynamicTexts.size(), 26);
    EXPECT_EQ(tables.dynamicTexts[17], QStringLiteral("&OK"));
    EXPECT_EQ(tables.dynamicTexts[18], QStringLiteral("&Cancel"));
    EXPECT_EQ(tables.dynamicTexts[19], QStringLiteral("&Yes"));
    EXPECT_EQ(tables.dynamicTexts[20], QStringLiteral("&No"));
    EXPECT_TRUE(tables.dynamicTexts[3].endsWith(u' '))
        << "the music filter's description is followed by its pattern";
    for (int used : {0, 1, 2, 4, 5, 6, 8, 11, 13, 16, 21, 23, 24})
        EXPECT_FALSE(tables.dynamicTexts[used].isEmpty()) << "dynamic text " << used;
    EXPECT_TRUE(tables.dynamicTexts[7].contains(u'|'));
    EXPECT_TRUE(tables.dynamicTexts[25].contains(u'|'));
    EXPECT_TRUE(tables.dynamicTexts[23].contains(u'\n'));

    const MemIniFile ini(tables.staticCaptions);
    const int tags[] = {1001, 1002, 1003, 1007, 1008, 1009, 1017, 1018, 1019, 1020,
                        1021, 1023, 1024, 1025, 1026, 1028, 1029, 1030, 1031, 1032,
                        2001, 2002, 2003, 2004, 2005, 2007, 2008, 2009, 2010, 2011};
    for (int tag : tags)
        EXPECT_FALSE(ini.ReadString("FS_0", QStringLiteral("S_%1").arg(tag)).isEmpty()) << "S_" << tag;
    EXPECT_EQ(ini.ReadString("FS_0", "S_1024"), QStringLiteral("Cancel"));
    EXPECT_EQ(ini.ReadString("FS_0", "S_0", "none"), QStringLiteral("none"))
        << "untagged components keep theirs";
}

} // namespace
} // namespace scr
