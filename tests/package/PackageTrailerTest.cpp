#include "package/PackageTrailer.h"

#include "platform/ReadOnlyFile.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <gtest/gtest.h>

namespace scr {
namespace {

// A program image followed by a scrambled trailer with the given fields.
std::vector<uint8_t> MakeFile(std::size_t imageSize, char kind, int32_t packageSize, const char* signature,
                              std::size_t signatureLength) {
    std::vector<uint8_t> file(imageSize, 0x5A);
    std::array<uint8_t, kTrailerSize> trailer{};
    WriteLE32(&trailer[0], packageSize);
    std::memcpy(&trailer[kInfoRecordOffset], signature, signatureLength);
    trailer[kPackageKindOffset] = static_cast<uint8_t>(kind);
    ScrambleBytes(trailer.data(), kTrailerSize);
    file.insert(file.end(), trailer.begin(), trailer.end());
    return file;
}

TEST(ScrambleBytes, ComplementsAndRoundTrips) {
    std::vector<uint8_t> data{0x00, 0xFF, 0x12, 0xA5};
    const auto original = data;
    ScrambleBytes(data.data(), 4);
    EXPECT_EQ(data, (std::vector<uint8_t>{0xFF, 0x00, 0xED, 0x5A}));
    ScrambleBytes(data.data(), 4);
    EXPECT_EQ(data, original);
    ScrambleBytes(data.data(), 0);
    ScrambleBytes(data.data(), -3);
    EXPECT_EQ(data, original);
    // A scrambled 32-bit integer is its complement.
    uint8_t word[4];
    WriteLE32(word, 1000);
    ScrambleBytes(word, 4);
    EXPECT_EQ(ReadLE32(word), ~1000);
}

TEST(PackageTrailer, KindAndValidityOfFixtures) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        uint8_t kind;
        bool valid;
    };
    const char sig[] = "KorvalinTrailerMarkPackageBlock";
    std::vector<uint8_t> noNul = MakeFile(100, 'E', 500, sig, 31);
    {
        // Put a non-NUL byte where the terminator belongs (stored scrambled).
        const std::size_t at = noNul.size() - kTrailerSize + kInfoRecordOffset + 31;
        noNul[at] = static_cast<uint8_t>(~'X');
    }
    std::vector<uint8_t> afterNul = MakeFile(100, 'S', 500, sig, 32);
    const Case cases[] = {
        {"bare program", std::vector<uint8_t>(5000, 0x90), 0, false},
        {"short file", std::vector<uint8_t>(399, 0), 0, false},
        {"installer package", MakeFile(100, 'E', 500, sig, 32), 'E', true},
        {"screen saver package", MakeFile(100, 'S', 500, sig, 32), 'S', true},
        {"signature without NUL", noNul, 0, false},
        {"package size beyond the file", MakeFile(100, 'E', 501, sig, 32), 'E', false},
        {"package size equal to the file", MakeFile(100, 'S', 500, sig, 32), 'S', true},
        {"trailer only", MakeFile(0, 'E', 400, sig, 32), 'E', true},
        {"wrong signature", MakeFile(100, 'E', 500, "KorvalinTrailerMarkPackageBlocX", 32), 0, false},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.file("f");
        test::WriteFile(path, c.bytes);
        EXPECT_EQ(ReadPackageKind(path), c.kind) << c.what;
        EXPECT_EQ(HasValidTrailer(path), c.valid) << c.what;
    }
    EXPECT_EQ(ReadPackageKind(dir.file("missing")), 0);
    EXPECT_FALSE(HasValidTrailer(dir.file("missing")));
}

TEST(PackageTrailer, SignatureFieldNeedsItsTerminatingNul) {
    std::array<uint8_t, 32> field{};
    std::memcpy(field.data(), kPackageSignature, 32);
    EXPECT_TRUE(SignatureMatches(field.data()));
    field[31] = 'Z';
    EXPECT_FALSE(SignatureMatches(field.data()));
}

} // namespace
} // namespace scr
