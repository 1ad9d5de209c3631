// scrtool unpack, run as the real program: the demo unpacked, edited and
// packed again; damaged packages; hostile extensions; folders it refuses.

#include "package/PackageBuilder.h"
#include "package/PackageTrailer.h"
#include "platform/ReadOnlyFile.h"
#include "tests/package/PackageFixtures.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace scr {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class UnpackCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(test::BuildBinDir().empty()) << "SCR_BUILD_BIN is not set"; }

    // Runs scrtool with arguments (already quoted where needed); stderr joins stdout.
    int Tool(const std::string& arguments, std::string* output = nullptr) {
        return test::RunCommand("'" + test::BuildBinDir() + "/scrtool' " + arguments + " 2>&1", output);
    }

    // A program image of 10 bytes followed by the package.
    std::string WritePackage(const std::vector<uint8_t>& package, const std::string& name) {
        std::vector<uint8_t> file;
        file.reserve(kProgramSize + package.size());
        file.assign(kProgramSize, 0x90);
        file.insert(file.end(), package.begin(), package.end());
        test::WriteFile(dir.file(name), file);
        return dir.file(name);
    }

    static std::vector<std::string> Listing(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static constexpr std::size_t kProgramSize = 10;
    test::TempDir dir;
};

TEST_F(UnpackCommandTest, TheDemoUnpacksEditsAndPacksAgain) {
    const std::string demo = test::BuildBinDir() + "/demo.scr";
    if (!fs::exists(demo)) GTEST_SKIP() << "built without the demo";
    const std::string folder = dir.file("demo");
    std::string output;
    ASSERT_EQ(Tool("unpack '" + demo + "' '" + folder + "'", &output), 0) << output;

    // Packed again onto the same program: the same file, byte for byte.
    const std::string again = dir.file("again.scr");
    ASSERT_EQ(Tool("pack '" + folder + "/manifest.json' -o '" + again + "' --stub '" + demo + "'", &output),
              0)
        << output;
    EXPECT_EQ(test::ReadFile(again), test::ReadFile(demo));

    // Change a label and replace a picture, as the walkthrough does.
    json manifest = json::parse(std::ifstream(folder + "/manifest.json"));
    manifest["items"][0]["labels"][0]["text"] = "Edited \u00e9";
    std::ofstream(folder + "/manifest.json") << manifest.dump(2);
    fs::copy_file(folder + "/item-03.jpg", folder + "/item-01.jpg", fs::copy_options::overwrite_existing);
    const std::string edited = dir.file("edited.scr");
    ASSERT_EQ(Tool("pack '" + folder + "/manifest.json' -o '" + edited + "' --stub '" + demo + "'", &output),
              0)
        << output;
    ASSERT_EQ(Tool("info '" + edited + "' --json --screen 1280x800", &output), 0) << output;
    const json info = json::parse(output);
    EXPECT_EQ(info["items"][0]["labels"][0]["text"], "Edited \u00e9");
    EXPECT_EQ(info["items"][0]["data_size"], fs::file_size(folder + "/item-03.jpg"));
    EXPECT_EQ(info["items"].size(), manifest["items"].size());
}

TEST_F(UnpackCommandTest, ADamagedPackageUnpacksAsFarAsItCanAndSaysWhatItSkipped) {
    const PackageDescription d = test::FullDescription();
    std::vector<uint8_t> package = BuildPackage(d).value();
    ASSERT_FALSE(package.empty());
    // Item 2's data points beyond the file (the item table is stored plain).
    const std::size_t trailer = package.size() - kTrailerSize;
    const auto tableOffset = static_cast<std::size_t>(~ReadLE32(&package[trailer + 4]));
    WriteLE32(&package[tableOffset + 64], 0x7FFFFF00);
    // The licence length word says more than a licence may hold.
    const std::size_t locator = trailer - 24;
    const std::size_t licence =
        static_cast<std::size_t>(ReadLE32(&package[locator + 16]) + ReadLE32(&package[locator + 20])) + 20 +
        std::string("First tune\r\nSecond tune\r\n").size() + d.background.size();
    WriteLE32(&package[licence], ~70000);
    const std::string file = WritePackage(package, "damaged.scr");

    const std::string folder = dir.file("out");
    std::string output;
    EXPECT_EQ(Tool("unpack '" + file + "' '" + folder + "'", &output), 1);
    EXPECT_NE(output.find("skipped: item 2: its data lies outside the file; left out with its labels"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("skipped: the licence text is damaged"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(folder + "/license.txt"));

    // What was read packs again: two items, the third one's labels still its own.
    ASSERT_EQ(Tool("pack '" + folder + "/manifest.json' -o '" + dir.file("repacked.scr") + "'", &output), 0)
        << output;
    ASSERT_EQ(Tool("info '" + dir.file("repacked.scr") + "' --json --screen 1024x768", &output), 0) << output;
    const json info = json::parse(output);
    ASSERT_EQ(info["items"].size(), 2u);
    EXPECT_EQ(info["items"][1]["kind"], 2);
    EXPECT_EQ(info["items"][1]["labels"][1]["text"], "Third \u00b2");
}

TEST_F(UnpackCommandTest, HostileExtensionsAndLinksNeverWriteOutsideTheFolder) {
    PackageDescription d = test::FullDescription();
    d.tracks[0].record.setExtension("/../../");
    d.tracks[1].record.setExtension(".a\\b");
    d.items[2].record.kind = 7;
    const std::string file = WritePackage(BuildPackage(d).value(), "hostile.scr");

    // A link planted where the first picture goes, pointing out of the folder.
    const std::string folder = dir.file("out");
    fs::create_directory(folder);
    test::WriteFile(dir.file("victim"), {'v'});
    fs::create_symlink(dir.file("victim"), folder + "/item-01.jpg");
    const std::vector<std::string> outside = Listing(dir.path());

    std::string output;
    EXPECT_EQ(Tool("unpack '" + file + "' '" + folder + "'", &output), 1) << output; // not empty
    EXPECT_NE(output.find("is not empty; give --force"), std::string::npos) << output;
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"item-01.jpg"});

    // The extensions go into the manifest, never into a file name.
    EXPECT_EQ(Tool("unpack '" + file + "' '" + folder + "' --force", &output), 0) << output;
    const json manifest = json::parse(std::ifstream(folder + "/manifest.json"));
    EXPECT_EQ(manifest["tracks"][0]["extension"], "/../../");
    EXPECT_EQ(manifest["tracks"][1]["extension"], ".a\\b");
    EXPECT_EQ(test::ReadFile(dir.file("victim")), std::vector<uint8_t>{'v'});
    EXPECT_EQ(Listing(dir.path()), outside);
    EXPECT_EQ(Listing(folder),
              (std::vector<std::string>{"background.jpg", "dynamic_texts.txt", "item-01.jpg", "item-02.swf",
                                        "item-03.bin", "license.txt", "manifest.json", "static_captions.ini",
                                        "track-01.bin", "track-02.bin"}));
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entry.path()))) << entry.path();
    EXPECT_EQ(test::ReadFile(folder + "/item-01.jpg"), test::TinyJpeg());
}

// The reported case: items with an exit step of 0, a value the format stores
// and the player reads, unpack, pack again with a warning, and come back the
// same; `scrtool diff` finds no difference.
TEST_F(UnpackCommandTest, AnExitStepOfZeroUnpacksAndPacksAgainUnchanged) {
    PackageDescription d = test::FullDescription();
    for (PackageItemSource& item : d.items)
        item.record.exitStep = 0;
    const std::string original = WritePackage(BuildPackage(d).value(), "zero.scr");
    const std::string folder = dir.file("zero");
    std::string output;
    ASSERT_EQ(Tool("unpack '" + original + "' '" + folder + "'", &output), 0) << output;
    const std::string again = dir.file("again.scr");
    ASSERT_EQ(
        Tool("pack '" + folder + "/manifest.json' -o '" + again + "' --stub '" + original + "'", &output), 0)
        << output;
    EXPECT_NE(
        output.find("warning: items[1].exit_step: 0 lies outside the usual 1..100 and is stored as given"),
        std::string::npos)
        << output;
    EXPECT_EQ(test::ReadFile(again), test::ReadFile(original));
    EXPECT_EQ(Tool("diff '" + original + "' '" + again + "'", &output), 0) << output;
}

TEST_F(UnpackCommandTest, DiffNamesWhatDiffersBetweenTwoPackages) {
    PackageDescription d = test::FullDescription();
    const std::string a = WritePackage(BuildPackage(d).value(), "a.scr");
    d.items[1].record.exitStep = 0;
    d.labels.Group(0)->front().setText("Other");
    d.tracks.pop_back();
    d.musicNames.pop_back();
    const std::string b = WritePackage(BuildPackage(d).value(), "b.scr");
    std::string output;
    EXPECT_EQ(Tool("diff '" + a + "' '" + b + "'", &output), 1);
    EXPECT_EQ(output,
              "items[0].labels[0].text\nitems[1].exit_step: 8 -> 0\ntracks: 2 -> 1\nthe track names\n");

    // The same package after another program: no difference.
    std::vector<uint8_t> otherProgram(5000, 0x4D);
    const std::vector<uint8_t> package = BuildPackage(d).value();
    otherProgram.insert(otherProgram.end(), package.begin(), package.end());
    test::WriteFile(dir.file("c.scr"), otherProgram);
    EXPECT_EQ(Tool("diff '" + b + "' '" + dir.file("c.scr") + "'", &output), 0) << output;
    EXPECT_EQ(output, "");

    // A damaged package or a file without one differs; a missing file or a third argument is refused.
    std::vector<uint8_t> damaged = test::ReadFile(b);
    damaged.resize(damaged.size() - 1);
    test::WriteFile(dir.file("cut.scr"), damaged);
    EXPECT_EQ(Tool("diff '" + b + "' '" + dir.file("cut.scr") + "'", &output), 1);
    EXPECT_NE(output.find("cut.scr: carries no package"), std::string::npos) << output;
    std::vector<uint8_t> outside = BuildPackage(d).value();
    const std::size_t trailer = outside.size() - kTrailerSize;
    WriteLE32(&outside[static_cast<std::size_t>(~ReadLE32(&outside[trailer + 4]))], 0x7FFFFF00);
    EXPECT_EQ(Tool("diff '" + b + "' '" + WritePackage(outside, "outside.scr") + "'", &output), 1);
    EXPECT_NE(output.find("outside.scr: damaged: item 1: its data lies outside the file"), std::string::npos)
        << output;
    test::WriteFile(dir.file("none.bin"), std::vector<uint8_t>(1000, 0x41));
    EXPECT_EQ(Tool("diff '" + dir.file("none.bin") + "' '" + dir.file("none.bin") + "'", &output), 0)
        << output;
    EXPECT_EQ(Tool("diff '" + a + "' '" + dir.file("missing.scr") + "'", &output), 2);
    EXPECT_NE(output.find("cannot read"), std::string::npos) << output;
    EXPECT_EQ(Tool("diff '" + a + "' '" + a + "' '" + a + "'", &output), 2);
}

TEST_F(UnpackCommandTest, FilesWithoutAPackageAndBadArgumentsAreRefused) {
    test::WriteFile(dir.file("plain.bin"), std::vector<uint8_t>(1000, 0x41));
    std::string output;
    EXPECT_EQ(Tool("unpack '" + dir.file("plain.bin") + "' '" + dir.file("out") + "'", &output), 1);
    EXPECT_NE(output.find("carries no package"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(dir.file("out")));

    EXPECT_EQ(Tool("unpack '" + dir.file("missing.scr") + "' '" + dir.file("out") + "'", &output), 2);
    EXPECT_NE(output.find("cannot read"), std::string::npos) << output;
    EXPECT_EQ(Tool("unpack '" + dir.file("plain.bin") + "'", &output), 2);
    EXPECT_EQ(Tool("unpack a b --overwrite", &output), 2);

    // DIR names a file: refused, the file untouched.
    const std::string package = WritePackage(BuildPackage(test::FullDescription()).value(), "full.scr");
    EXPECT_EQ(Tool("unpack '" + package + "' '" + dir.file("plain.bin") + "' --force", &output), 1);
    EXPECT_NE(output.find("is not a folder"), std::string::npos) << output;
    EXPECT_EQ(test::ReadFile(dir.file("plain.bin")), std::vector<uint8_t>(1000, 0x41));
}

} // namespace
} // namespace scr
