// The recogniser of screen-saver files: every kind, found with its movie
// byte for byte, on files built here from stubs of our own; the order of
// priority; the largest movie among decoys; damaged files refused with
// their reason.

#include "package/ScreenSaverFileRecogniser.h"

#include "package/ElfImage.h"
#include "package/SwfBodyStream.h"
#include "tests/package/PackageFixture.h"
#include "tests/package/ProjectorFixtures.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace scr::test {
namespace {

namespace fs = std::filesystem;

RecognisedFile Recognise(const std::vector<uint8_t>& bytes) {
    const MemoryByteSource source(bytes);
    return RecogniseScreenSaverSource(source, "file");
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, const FoundMovie& movie) {
    return {bytes.begin() + movie.offset, bytes.begin() + movie.offset + movie.size};
}

std::vector<uint8_t> CompiledStub() {
    return ReadFile(BuildBinDir() + "/projector_stub");
}

TEST(ScreenSaverFileRecogniser, EachKindIsFoundWithItsMovieByteForByte) {
    const auto fws = TestMovie({.frames = 20, .fps = 15, .width = 400, .height = 300});
    const auto cws = TestMovie({.frames = 12, .compression = SwfCompression::Zlib});
    const auto zws = TestMovie({.frames = 8, .version = 13, .compression = SwfCompression::Lzma});
    const auto smallMovie = TestMovie({.frames = 1, .width = 20, .height = 20});
    const auto resourceExe = BuildPeWithResources({
        {"", 3, "", 1, 1033, std::vector<uint8_t>(300, 1)}, // an icon
        {"FLASH", 0, "INTRO", 0, 1033, smallMovie},         // a smaller movie of a named type
        {"SWF", 0, "", 101, 1031, cws},                     // the movie: named type, numbered name
        {"", 10, "NOTAMOVIE", 0, 1033, {'C', 'W', 'S', 9, 1, 2, 3, 4, 5, 6}},
    });
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        ScreenSaverFileKind kind;
        const std::vector<uint8_t>& movie;
    };
    const std::vector<Case> cases = {
        {"Windows projector", WindowsProjector(BuildPeFile({}), cws), ScreenSaverFileKind::WindowsProjector,
         cws},
        {"Linux projector, 32-bit", LinuxProjector(MinimalElfProgram(32), fws, 32),
         ScreenSaverFileKind::LinuxProjector32, fws},
        {"Linux projector, 64-bit (hand-made ELF)", LinuxProjector(MinimalElfProgram(64), zws, 64),
         ScreenSaverFileKind::LinuxProjector64, zws},
        {"Linux projector, 64-bit (compiled stub)", LinuxProjector(CompiledStub(), cws, 64),
         ScreenSaverFileKind::LinuxProjector64, cws},
        {"movie stored as a resource", resourceExe, ScreenSaverFileKind::PeResource, cws},
        {"another maker's wrapper", WrapperWithDecoys(fws), ScreenSaverFileKind::EmbeddedSwf, fws},
        {"bare FWS movie", fws, ScreenSaverFileKind::Swf, fws},
        {"bare CWS movie", cws, ScreenSaverFileKind::Swf, cws},
        {"bare ZWS movie", zws, ScreenSaverFileKind::Swf, zws},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RecognisedFile found = Recognise(c.file);
        ASSERT_TRUE(found.HasMovie()) << found.reason;
        EXPECT_EQ(found.kind, c.kind);
        EXPECT_EQ(Slice(c.file, *found.movie), c.movie);
        EXPECT_GT(found.movie->showFrames, 0);
        EXPECT_GT(found.movie->frame.width, 0);
    }
    // What the resource kind and the scan list beside the movie.
    const RecognisedFile resources = Recognise(resourceExe);
    ASSERT_EQ(resources.others.size(), 1u);
    EXPECT_EQ(resources.movie->place, "resource SWF/101, language 1031");
    EXPECT_EQ(resources.others[0].place, "resource FLASH/INTRO, language 1033");
    ASSERT_EQ(resources.rejected.size(), 1u);
    EXPECT_NE(resources.rejected[0].reason.find("RCDATA/NOTAMOVIE"), std::string::npos);

    const RecognisedFile bare = Recognise(fws);
    EXPECT_EQ(bare.movie->frame.width, 400);
    EXPECT_EQ(bare.movie->frame.height, 300);
    EXPECT_EQ(bare.movie->frame.frameRate, 15);
    EXPECT_EQ(bare.movie->frame.frameCount, 20);
    EXPECT_EQ(KindWord(ScreenSaverFileKind::LinuxProjector32), "linux-projector-32");
}

// Public movies no one here wrote, in every kind of file, are found byte
// for byte: their End tags close their declared lengths, as the scan asks.
TEST(ScreenSaverFileRecogniser, RealMoviesAreFoundInEveryKindOfFile) {
    std::vector<std::string> movies = {SourceDir() + "/tests/data/jpexs-morphshape.swf"};
    for (const auto& entry : fs::directory_iterator(RealWorldMovieFolder()))
        if (entry.path().extension() == ".swf") movies.push_back(entry.path().string());
    ASSERT_GE(movies.size(), 5u);
    for (const std::string& path : movies) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> movie = ReadFile(path);
        const std::vector<std::pair<ScreenSaverFileKind, std::vector<uint8_t>>> files = {
            {ScreenSaverFileKind::Swf, movie},
            {ScreenSaverFileKind::WindowsProjector, WindowsProjector(BuildPeFile({}), movie)},
            {ScreenSaverFileKind::LinuxProjector32, LinuxProjector(MinimalElfProgram(32), movie, 32)},
            {ScreenSaverFileKind::PeResource, BuildPeWithResources({{"FLASH", 0, "", 1, 1033, movie}})},
            {ScreenSaverFileKind::EmbeddedSwf, WrapperWithDecoys(movie)},
        };
        for (const auto& [kind, file] : files) {
            const RecognisedFile found = Recognise(file);
            ASSERT_EQ(found.kind, kind) << KindWord(kind) << ": " << found.reason;
            EXPECT_EQ(Slice(file, *found.movie), movie) << KindWord(kind);
        }
    }
}

TEST(ScreenSaverFileRecogniser, TheLargestMovieThatParsesWinsAmongDecoysAndTheRestIsListed) {
    const auto movie = TestMovie({.frames = 30, .compression = SwfCompression::Zlib});
    const auto wrapper = WrapperWithDecoys(movie);
    const RecognisedFile found = Recognise(wrapper);
    ASSERT_EQ(found.kind, ScreenSaverFileKind::EmbeddedSwf) << found.reason;
    EXPECT_EQ(found.movie->offset, WrappedMovieOffset(wrapper, movie));
    // The smaller movie parses too; each decoy is named with its reason.
    ASSERT_EQ(found.others.size(), 1u);
    EXPECT_EQ(found.others[0].showFrames, 1);
    std::string reasons;
    for (const RejectedCandidate& candidate : found.rejected)
        reasons += candidate.reason + "\n";
    for (const char* reason : {"zlib stream is damaged", "properties are not valid", "no frames",
                               "End tag ends at byte 300 of the 412"})
        EXPECT_NE(reasons.find(reason), std::string::npos) << reason << " in\n" << reasons;

    // Zero bytes after the End tag, within the declared length, are padding.
    std::vector<uint8_t> paddedBody = TestMovieBody({.frames = 4});
    paddedBody.resize(paddedBody.size() + 16, 0);
    for (const SwfCompression compression : {SwfCompression::None, SwfCompression::Zlib}) {
        const auto padded = EncodeSwf(compression, 8, paddedBody);
        std::vector<uint8_t> file = MinimalElfProgram(32);
        file.insert(file.end(), padded.begin(), padded.end());
        const RecognisedFile withPadding = Recognise(file);
        ASSERT_EQ(withPadding.kind, ScreenSaverFileKind::EmbeddedSwf) << withPadding.reason;
        EXPECT_EQ(Slice(file, *withPadding.movie), padded);
    }

    // A movie inside another (in a binary data tag) is part of it, not a movie of its own.
    const auto inner = TestMovie({.frames = 3});
    std::vector<uint8_t> body = TestMovieBody({.frames = 5});
    std::vector<uint8_t> tag = {0x3f, 0x15}; // DefineBinaryData (87), long length
    const uint32_t length = static_cast<uint32_t>(inner.size() + 6);
    for (int i = 0; i < 4; ++i)
        tag.push_back(static_cast<uint8_t>(length >> (8 * i)));
    tag.insert(tag.end(), {1, 0, 0, 0, 0, 0}); // character id, reserved
    tag.insert(tag.end(), inner.begin(), inner.end());
    body.insert(body.end() - 2, tag.begin(), tag.end()); // before End
    const auto outer = EncodeSwf(SwfCompression::None, 10, body);
    std::vector<uint8_t> nested = MinimalElfProgram(64);
    nested.insert(nested.end(), outer.begin(), outer.end());
    const RecognisedFile both = Recognise(nested);
    ASSERT_TRUE(both.HasMovie()) << both.reason;
    EXPECT_EQ(Slice(nested, *both.movie), outer);
    EXPECT_TRUE(both.others.empty());
}

TEST(ScreenSaverFileRecogniser, AMacProjectorIsAFolderWithItsMovie) {
    TempDir dir;
    const auto movie = TestMovie({.frames = 6});
    WriteMacApp(dir.file("Fish.app"), movie);
    const RecognisedFile found = RecogniseScreenSaverFile(dir.file("Fish.app"));
    ASSERT_EQ(found.kind, ScreenSaverFileKind::MacApp) << found.reason;
    EXPECT_EQ(found.movieFile, dir.file("Fish.app/Contents/Resources/movie.swf"));
    EXPECT_EQ(ReadFoundMovie(found), movie);

    fs::create_directories(dir.file("Empty.app/Contents/Resources"));
    const RecognisedFile empty = RecogniseScreenSaverFile(dir.file("Empty.app"));
    EXPECT_EQ(empty.kind, ScreenSaverFileKind::None);
    EXPECT_NE(NoMovieMessage(empty).find("Empty.app: it is a folder without Contents/Resources/movie.swf"),
              std::string::npos)
        << NoMovieMessage(empty);

    // A movie that is a link out of the folder is not the folder's own.
    WriteFile(dir.file("elsewhere.swf"), movie);
    fs::create_directories(dir.file("Link.app/Contents/Resources"));
    fs::create_symlink(dir.file("elsewhere.swf"), dir.file("Link.app/Contents/Resources/movie.swf"));
    const RecognisedFile link = RecogniseScreenSaverFile(dir.file("Link.app"));
    EXPECT_EQ(link.kind, ScreenSaverFileKind::None);
    EXPECT_NE(link.reason.find("leads out of the folder"), std::string::npos) << link.reason;
}

TEST(ScreenSaverFileRecogniser, OurPackagesKeepPriorityAlsoWhenTheyCarryMovies) {
    const auto movie = TestMovie({.frames = 4});
    FixturePackage package;
    package.name = "With a movie";
    FixtureItem item;
    item.item.kind = ShowItem::Flash;
    item.data = movie;
    package.items.push_back(item);
    // A plain movie before the package and a projector trailer inside it do not count.
    EXPECT_EQ(Recognise(BuildAppendedPackage(package, WindowsProjector(BuildPeFile({}), movie))).kind,
              ScreenSaverFileKind::Package);
    // The resource form: the package's SCRINFO beside a movie resource.
    EXPECT_EQ(Recognise(BuildPeWithResources({{"", 10, "SCRINFO", 0, 1033, BuildScrInfoResource(package)},
                                              {"", 10, "MOVIE", 0, 1033, movie}}))
                  .kind,
              ScreenSaverFileKind::Package);
}

// A zlib stream that holds `body` and then `extra` more zero bytes.
std::vector<uint8_t> DeflateWithTail(const std::vector<uint8_t>& body, std::size_t extra) {
    std::vector<uint8_t> plain = body;
    plain.resize(body.size() + extra, 0);
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<uint8_t> out(size);
    EXPECT_EQ(compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9), Z_OK);
    out.resize(size);
    return out;
}

TEST(ScreenSaverFileRecogniser, DamagedFilesAreRefusedWithTheirReason) {
    const auto movie = TestMovie({.frames = 4});
    const auto program = BuildPeFile({});
    std::vector<uint8_t> lyingTrailer = program;
    lyingTrailer.insert(lyingTrailer.end(), {0x56, 0x34, 0x12, 0xFA, 0xff, 0xff, 0xff, 0x7f});
    std::vector<uint8_t> zeroLength = program;
    zeroLength.insert(zeroLength.end(), {0x56, 0x34, 0x12, 0xFA, 0, 0, 0, 0});
    // A movie whose zlib stream goes on far past its declared length.
    const std::vector<uint8_t> body = TestMovieBody({.frames = 2});
    std::vector<uint8_t> endless = {'C', 'W', 'S', 10};
    for (int i = 0; i < 4; ++i)
        endless.push_back(static_cast<uint8_t>((body.size() + 8) >> (8 * i)));
    const auto stream = DeflateWithTail(body, 8u << 20);
    endless.insert(endless.end(), stream.begin(), stream.end());
    // A zlib bomb: a gigabyte declared.
    std::vector<uint8_t> bomb = {'C', 'W', 'S', 10, 0, 0, 0, 0x40};
    const auto zeros = DeflateWithTail({}, 8u << 20);
    bomb.insert(bomb.end(), zeros.begin(), zeros.end());
    // LZMA properties that are not valid, at the start of a movie.
    std::vector<uint8_t> badLzma =
        TestMovie({.frames = 2, .version = 13, .compression = SwfCompression::Lzma});
    badLzma[12] = 0xff;
    // Candidates that overlap and nest: each header's length covers the next ones, none parses.
    std::vector<uint8_t> overlapping = MinimalElfProgram(64);
    for (int i = 0; i < 5000; ++i)
        overlapping.insert(overlapping.end(), {'F', 'W', 'S', 9, 0x00, 0x01, 0x00, 0x00});

    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a trailer whose length points outside the file", lyingTrailer, "gives a movie of 2147483647 bytes"},
        {"a trailer with a zero length", zeroLength, "gives a movie length of 0"},
        {"a zlib stream that inflates without end", endless, "goes on past the length its header declares"},
        {"a zlib bomb", bomb, "more than the 256 MiB a movie may have"},
        {"LZMA properties that are not valid", badLzma, "LZMA properties are not valid"},
        {"overlapping candidates", overlapping, "after 64 candidates"},
        {"a cut movie", std::vector<uint8_t>(movie.begin(), movie.end() - 10), "starts like a Flash movie"},
        {"no movie at all", MinimalElfProgram(32), "holds no Flash movie header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RecognisedFile found = Recognise(c.file);
        EXPECT_EQ(found.kind, ScreenSaverFileKind::None);
        EXPECT_NE(found.reason.find(c.reason), std::string::npos) << found.reason;
        EXPECT_EQ(NoMovieMessage(found).find('\n'), std::string::npos);
    }
}

TEST(ScreenSaverFileRecogniser, PackedProgramsSayWhatHidesTheMovie) {
    std::vector<uint8_t> upx = BuildPeFile({{"OTHER", {1, 2, 3}}});
    const std::size_t sectionName = 0x80 + 4 + 20 + 224;
    std::copy_n("UPX1\0\0\0", 8, upx.begin() + static_cast<std::ptrdiff_t>(sectionName));
    EXPECT_NE(Recognise(upx).reason.find("packed with UPX"), std::string::npos) << Recognise(upx).reason;

    std::vector<uint8_t> zip = MinimalElfProgram(64);
    zip.insert(zip.end(), {'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0});
    zip.resize(zip.size() + 500, 0x33);
    zip.insert(zip.end(), {'P', 'K', 5, 6, 0, 0, 0, 0});
    EXPECT_NE(Recognise(zip).reason.find("self-extracting ZIP archive"), std::string::npos);
}

TEST(SwfBodyStream, FindsWhereAStoredMovieEndsWithinItsBounds) {
    // A zlib movie ends where its stream ends, whatever follows it.
    const auto cws = TestMovie({.frames = 3, .compression = SwfCompression::Zlib});
    std::vector<uint8_t> file = cws;
    file.resize(file.size() + 100, 0x55);
    const MemoryByteSource source(file);
    const SwfHeader header = *ParseSwfHeader(file);
    SwfBodyStream stream(source, 0, source.size(), header, header.bodyLength());
    std::vector<uint8_t> body(header.bodyLength());
    EXPECT_EQ(stream.Read(body.data(), body.size()), body.size());
    EXPECT_EQ(stream.StoredEnd(1024), static_cast<int64_t>(cws.size()));

    // An LZMA movie ends where its header's compressed length says; data
    // past the bounds is never read.
    const auto zws = TestMovie({.frames = 3, .version = 13, .compression = SwfCompression::Lzma});
    const MemoryByteSource lzmaSource(zws);
    const SwfHeader lzmaHeader = *ParseSwfHeader(zws);
    SwfBodyStream lzma(lzmaSource, 0, lzmaSource.size(), lzmaHeader, lzmaHeader.bodyLength());
    EXPECT_EQ(lzma.StoredEnd(0), static_cast<int64_t>(zws.size()));
    SwfBodyStream bounded(lzmaSource, 0, lzmaSource.size() / 2, lzmaHeader, lzmaHeader.bodyLength());
    std::vector<uint8_t> lzmaBody(lzmaHeader.bodyLength());
    EXPECT_LT(bounded.Read(lzmaBody.data(), lzmaBody.size()), lzmaBody.size());
    EXPECT_FALSE(bounded.StoredEnd(0));
}

// The hand-made stubs are programs that run: they exit with status 0.
TEST(ElfImage, TheHandMadeStubsRun) {
    TempDir dir;
    for (const int bits : {64, 32}) {
        const std::string program = dir.file("stub" + std::to_string(bits));
        WriteFile(program, MinimalElfProgram(bits));
        fs::permissions(program, fs::perms::owner_all);
        const int status = RunCommand("'" + program + "' 2>/dev/null");
        if (bits == 32 && status == 126) continue; // a kernel without 32-bit programs
        EXPECT_EQ(status, 0) << bits;
    }
}

TEST(ElfImage, AProgramEndsWithItsSectionHeaderTable) {
    for (const auto& program : {MinimalElfProgram(32), MinimalElfProgram(64), CompiledStub()}) {
        const MemoryByteSource source(program);
        const auto end = ReadElfImageEnd(source);
        ASSERT_TRUE(end);
        EXPECT_EQ(end->sectionTableEnd, static_cast<int64_t>(program.size()));
        EXPECT_EQ(end->furthestEnd, static_cast<int64_t>(program.size()));
    }
    EXPECT_EQ(ReadElfImageEnd(MemoryByteSource(MinimalElfProgram(32)))->bits, 32);
    // Headers that point outside the file give nothing.
    auto cut = MinimalElfProgram(64);
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(ReadElfImageEnd(MemoryByteSource(cut)));
}

} // namespace
} // namespace scr::test
