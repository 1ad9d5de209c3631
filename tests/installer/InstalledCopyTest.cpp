#include "installer/InstalledCopy.h"

#include "package/PackageTrailer.h"
#include "tests/installer/InstallerFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

TEST(InstalledCopy, DiffersFromTheInstallerOnlyInTheKindByte) {
    test::TempDir dir;
    // Large enough to take several rounds of the copy buffer.
    auto description = test::InstallerDescription("Big");
    description.background.assign(3'500'000, 0x5A);
    const auto source = test::WriteInstallerFile(dir.file("setup.exe"), description);
    ASSERT_TRUE(WriteInstalledCopy(dir.file("setup.exe"), dir.file("Big.scr")));
    const auto copy = test::ReadFile(dir.file("Big.scr"));
    ASSERT_EQ(copy.size(), source.size());
    std::vector<std::size_t> differences;
    for (std::size_t i = 0; i < copy.size(); ++i)
        if (copy[i] != source[i]) differences.push_back(i);
    const std::size_t kind = source.size() - kTrailerSize + kPackageKindOffset;
    EXPECT_EQ(differences, std::vector<std::size_t>{kind});
    EXPECT_EQ(source[kind], 0xBA);
    EXPECT_EQ(copy[kind], kInstalledKindByte);
    EXPECT_EQ(ReadPackageKind(dir.file("Big.scr")), 'S');
    EXPECT_TRUE(HasValidTrailer(dir.file("Big.scr")));
}

TEST(InstalledCopy, FailureLeavesTheDestinationAndNoTemporaryFile) {
    test::TempDir dir;
    test::WriteInstallerFile(dir.file("setup.exe"), test::InstallerDescription("Waves"));
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    test::WriteFile(dir.file("Waves.scr"), old);
    fs::permissions(dir.file("Waves.scr"), fs::perms::owner_read);
    test::WriteFile(dir.file("short.exe"), std::vector<uint8_t>(399, 1));

    struct Case {
        const char* what;
        std::string source;
        long long limit; // file size limit during the copy; 0: none
    };
    const Case cases[] = {
        {"disk full half-way", dir.file("setup.exe"), 1500},
        {"source missing", dir.file("missing.exe"), 0},
        {"source shorter than a trailer", dir.file("short.exe"), 0},
    };
    for (const Case& c : cases) {
        std::string error;
        {
            std::unique_ptr<test::FileSizeLimit> limit;
            if (c.limit) limit = std::make_unique<test::FileSizeLimit>(c.limit);
            EXPECT_FALSE(WriteInstalledCopy(c.source, dir.file("Waves.scr"), &error)) << c.what;
        }
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(test::ReadFile(dir.file("Waves.scr")), old) << c.what;
        EXPECT_EQ(fs::status(dir.file("Waves.scr")).permissions(), fs::perms::owner_read) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3) << c.what;
    }
}

} // namespace
} // namespace scr
