// Writes the starting corpus of the fuzz targets: small valid packages, label
// streams and PE files, built with the same fixtures the tests use, and bytes
// for the targets that build their input from any bytes.
//
//   fuzz_write_seeds CORPUS_ROOT   (creates CORPUS_ROOT/<target>/seed-N)

#include "package/LabelData.h"
#include "package/PackageTrailer.h"
#include "tests/package/PackageFixture.h"
#include "tests/package/ProjectorFixtures.h"
#include "tests/show/SwfTestMovies.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace scr;
using namespace scr::test;

namespace {

void Write(const std::filesystem::path& dir, int n, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / ("seed-" + std::to_string(n)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

FixturePackage Package(int formatLevel) {
    FixturePackage p;
    p.name = "Seed";
    p.info.setFormatLevel(formatLevel);
    p.info.setDesignWidth(800);
    p.extension.designHeight = 600;
    AuthorInfo author;
    author.setName("A");
    p.author = author;
    p.items.push_back(PictureItem(MakeJpeg(24, 16, 50), 10, 10, 100, 80));
    FixtureItem movie;
    movie.item.kind = ShowItem::Flash;
    movie.data = std::vector<uint8_t>(32, 'F');
    p.items.push_back(movie);
    FixtureTrack track;
    track.music.setExtension(".mp3");
    track.music.setResourceName("TRACK1");
    track.data = std::vector<uint8_t>(24, 'M');
    p.tracks.push_back(track);
    LabelRecord record;
    record.setFontName("Sans");
    record.fontSize = 12;
    record.centerX = 100;
    p.labels.AppendGroupCopy({LabelItem(record, "hello"), LabelItem(record, "")});
    p.musicNames = "One\r\n";
    p.background = MakeJpeg(8, 8, 50);
    p.license = "licence";
    p.dynamicTexts = {'d'};
    return p;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path root = argv[1];
    int n = 0;
    for (int level : {3, 4, 5})
        Write(root / "appended_package", n++, BuildAppendedPackage(Package(level), {}));
    n = 0;
    Write(root / "label_stream", n++, WriteLabelStream(Package(5).labels));
    Write(root / "label_stream", n++, WriteLabelStream(LabelGroupList()));
    n = 0;
    const FixturePackage p = Package(5);
    auto labels = WriteLabelStream(p.labels);
    ScrambleBytes(labels.data(), static_cast<long long>(labels.size()));
    Write(root / "pe_resources", n++,
          BuildPeFile({{"SCRINFO", BuildScrInfoResource(p)}, {"XLABELS", labels}, {"TRACK1", {1, 2, 3}}},
                      {{1, "Seed name"}, {17, "x"}}));
    Write(root / "pe_resources", n++, BuildPeFile({}, {{1, "Only"}}));
    // Every kind of movie file, small.
    n = 0;
    const auto movie = TestMovie({.frames = 2, .width = 16, .height = 16});
    const auto cws = TestMovie({.frames = 2, .width = 16, .height = 16, .compression = SwfCompression::Zlib});
    const auto zws = TestMovie(
        {.frames = 2, .width = 16, .height = 16, .version = 13, .compression = SwfCompression::Lzma});
    for (const auto& file :
         {movie, cws, zws, WindowsProjector(BuildPeFile({}), cws),
          LinuxProjector(MinimalElfProgram(32), movie, 32), LinuxProjector(MinimalElfProgram(64), zws, 64),
          WrapperWithDecoys(cws), BuildPeWithResources({{"SWF", 0, "MOVIE", 0, 1033, movie}}),
          BuildAppendedPackage(Package(5), {})})
        Write(root / "screen_saver_file_recogniser", n++, file);
    // Any bytes drive the random package descriptions; a package gives varied ones.
    n = 0;
    Write(root / "manifest_round_trip", n++, BuildAppendedPackage(Package(5), {}));
    std::vector<uint8_t> counting(2048);
    for (std::size_t i = 0; i < counting.size(); ++i)
        counting[i] = static_cast<uint8_t>(i * 37);
    Write(root / "manifest_round_trip", n++, counting);
    return 0;
}
