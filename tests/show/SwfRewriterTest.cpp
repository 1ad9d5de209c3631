#include "show/SwfRewriter.h"

#include "platform/ReadOnlyFile.h"
#include "tests/show/SwfTestMovies.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace scr {
namespace {

using test::TestMovie;
using test::TestMovieOptions;

struct Tag {
    uint16_t code;
    std::vector<uint8_t> data;
    bool operator==(const Tag&) const = default;
};

// An independent walk over the tags of a decoded body (test-side, strict: a bad length fails).
std::vector<Tag> Tags(const std::vector<uint8_t>& body) {
    size_t offset = (5 + 4 * static_cast<size_t>(body.at(0) >> 3) + 7) / 8 + 4;
    std::vector<Tag> tags;
    while (offset < body.size()) {
        uint16_t head = static_cast<uint16_t>(body.at(offset) | body.at(offset + 1) << 8);
        size_t length = head & 0x3f;
        offset += 2;
        if (length == 0x3f) {
            length = body.at(offset) | body.at(offset + 1) << 8 | body.at(offset + 2) << 16 |
                     static_cast<size_t>(body.at(offset + 3)) << 24;
            offset += 4;
        }
        if (offset + length > body.size()) throw std::runtime_error("tag past the end");
        tags.push_back(
            {static_cast<uint16_t>(head >> 6), {body.begin() + offset, body.begin() + offset + length}});
        offset += length;
    }
    return tags;
}

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

constexpr std::string_view kPrefix = "scr0123456789abcdef:";

// trace("<message>") as ActionPush of one string and ActionTrace, written out by hand.
std::vector<uint8_t> TraceAction(const std::string& message) {
    size_t length = 1 + message.size() + 1;
    std::vector<uint8_t> out{0x96, static_cast<uint8_t>(length), 0, 0};
    for (char c : message)
        out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
    out.push_back(0x26);
    return out;
}

std::vector<uint8_t> Decoded(const std::vector<uint8_t>& file) {
    std::optional<SwfContainer> movie = DecodeSwf(file);
    EXPECT_TRUE(movie);
    return movie ? movie->body : std::vector<uint8_t>{};
}

class SwfCompressionTest : public ::testing::TestWithParam<SwfCompression> {};

TEST_P(SwfCompressionTest, DecodesProbesAndRewritesEveryFrame) {
    TestMovieOptions options;
    options.compression = GetParam();
    std::vector<uint8_t> file = TestMovie(options);
    std::vector<uint8_t> body = test::TestMovieBody(options);
    ASSERT_EQ(Decoded(file), body);

    std::optional<SwfMovieInfo> info = ProbeSwf(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->compression, GetParam());
    EXPECT_EQ(info->headerFrames, 24);
    EXPECT_EQ(info->showFrames, 24);
    EXPECT_DOUBLE_EQ(info->frameRate, 12.0);
    EXPECT_EQ(info->width, 320);
    EXPECT_EQ(info->height, 240);
    EXPECT_FALSE(info->actionScript3);
    EXPECT_FALSE(info->damaged);

    for (bool loop : {false, true}) {
        std::optional<SwfRewrite> rewrite = RewriteSwfForHost(file, loop, kPrefix);
        ASSERT_TRUE(rewrite);
        ASSERT_FALSE(rewrite->movie.empty());
        EXPECT_EQ(rewrite->movie[0], 'F'); // prepared movies are stored uncompressed

        // Expected: the original tags with a DoAction before each ShowFrame.
        std::vector<Tag> expected;
        int frame = 0;
        for (const Tag& tag : Tags(body)) {
            if (tag.code == 1) {
                std::vector<uint8_t> actions =
                    TraceAction(std::string(kPrefix) + "hostFrame " + std::to_string(frame));
                if (!loop && frame == 23) {
                    actions.push_back(0x07); // stop
                    std::vector<uint8_t> end = TraceAction(std::string(kPrefix) + "hostEnd");
                    actions.insert(actions.end(), end.begin(), end.end());
                }
                actions.push_back(0x00);
                expected.push_back({12, actions});
                ++frame;
            }
            expected.push_back(tag);
        }
        EXPECT_EQ(Tags(Decoded(rewrite->movie)), expected) << "loop " << loop;
        std::optional<SwfMovieInfo> again = ProbeSwf(rewrite->movie);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->showFrames, 24);
        EXPECT_FALSE(again->damaged);
    }
}

TEST(SwfRewriterTest, ReadsOnlyWellFormedNotices) {
    struct Case {
        std::string_view message;
        std::optional<int> frame; // nullopt: not a notice; -1: the end
    };
    const Case cases[] = {
        {"hostFrame 0", 0},       {"hostFrame 23", 23}, {"hostFrame 65535", 65535}, {"hostEnd", -1},
        {"hostFrame", {}},        {"hostFrame ", {}},   {"hostFrame -1", {}},       {"hostFrame 1x", {}},
        {"hostFrame 999999", {}}, {"hostFrame12", {}},  {"hostEnd ", {}},           {"", {}},
        {"HOSTFRAME 1", {}},      {"xhostFrame 1", {}},
    };
    for (const Case& c : cases) {
        std::optional<HostNotice> notice = ParseHostNotice(c.message);
        ASSERT_EQ(notice.has_value(), c.frame.has_value()) << c.message;
        if (!notice) continue;
        EXPECT_EQ(notice->end, *c.frame == -1) << c.message;
        EXPECT_EQ(notice->frame, *c.frame) << c.message;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSignatures, SwfCompressionTest,
                         ::testing::Values(SwfCompression::None, SwfCompression::Zlib, SwfCompression::Lzma));

TEST(SwfRewriterTest, LeavesActionScript3MoviesAsTheyAreWithoutAProbeClass) {
    TestMovieOptions options;
    options.version = 10;
    options.actionScript3 = true;
    std::optional<SwfRewrite> rewrite = RewriteSwfForHost(TestMovie(options), false, kPrefix);
    ASSERT_TRUE(rewrite);
    EXPECT_TRUE(rewrite->info.actionScript3);
    EXPECT_EQ(rewrite->info.showFrames, 24);
    EXPECT_TRUE(rewrite->movie.empty());

    // Before version 9 the flag means nothing: the movie is ActionScript 1/2.
    options.version = 8;
    rewrite = RewriteSwfForHost(TestMovie(options), false, kPrefix);
    ASSERT_TRUE(rewrite);
    EXPECT_FALSE(rewrite->info.actionScript3);
    EXPECT_FALSE(rewrite->movie.empty());
}

bool Contains(const std::vector<uint8_t>& data, std::string_view text) {
    return std::search(data.begin(), data.end(), text.begin(), text.end()) != data.end();
}

uint16_t Le16At(const std::vector<uint8_t>& data, size_t at) {
    return static_cast<uint16_t>(data.at(at) | data.at(at + 1) << 8);
}

// An ActionScript 3 test movie whose first frame also holds a tag starting
// with character id 65535 and a PlaceObject2 at depth 16000, the probe's
// first choices, so the probe must take others.
std::vector<uint8_t> As3MovieUsingTheProbesFirstChoices() {
    TestMovieOptions options;
    options.version = 10;
    options.actionScript3 = true;
    std::vector<uint8_t> body = TestMovieBody(options);
    std::vector<uint8_t> out(body.begin(), body.begin() + static_cast<ptrdiff_t>(body.size() - 2)); // no End
    // Before the End: a DefineBinaryData (87) of id 65535, PlaceObject2 at depth 16000 of character 1.
    out.insert(out.end(), {0xc6, 0x15, 0xff, 0xff, 0, 0, 0, 0});
    out.insert(out.end(), {0x85, 0x06, 0x02, 0x80, 0x3e, 0x01, 0x00});
    out.insert(out.end(), {0x40, 0x00, 0x00, 0x00}); // ShowFrame, End
    return EncodeSwf(SwfCompression::None, 10, out);
}

TEST(SwfRewriterTest, ActionScript3MoviesGetTheFrameProbeBeforeTheirFirstFrame) {
    const std::vector<uint8_t> movie = As3MovieUsingTheProbesFirstChoices();
    const std::vector<Tag> original = Tags(Decoded(movie));
    const std::string frameNotice = std::string(kPrefix) + "hostFrame ",
                      endNotice = std::string(kPrefix) + "hostEnd";
    for (bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "looping" : "not looping");
        std::optional<SwfRewrite> rewrite = RewriteSwfForHost(movie, loop, kPrefix, "scrProbeClass1");
        ASSERT_TRUE(rewrite);
        EXPECT_TRUE(rewrite->info.actionScript3);
        EXPECT_EQ(rewrite->info.showFrames, 25);
        ASSERT_FALSE(rewrite->movie.empty());
        std::vector<Tag> tags = Tags(Decoded(rewrite->movie));
        const auto firstFrame =
            std::find_if(tags.begin(), tags.end(), [](const Tag& t) { return t.code == 1; });
        ASSERT_GE(firstFrame - tags.begin(), 4);
        // DoABC, DefineSprite, SymbolClass, PlaceObject2 just before the first ShowFrame; the rest as it was.
        const std::vector<Tag> probe(firstFrame - 4, firstFrame);
        ASSERT_EQ(probe[0].code, 82);
        ASSERT_EQ(probe[1].code, 39);
        ASSERT_EQ(probe[2].code, 76);
        ASSERT_EQ(probe[3].code, 26);
        tags.erase(firstFrame - 4, firstFrame);
        EXPECT_EQ(tags, original);

        EXPECT_TRUE(Contains(probe[0].data, frameNotice));
        EXPECT_EQ(Contains(probe[0].data, endNotice), !loop);
        EXPECT_TRUE(Contains(probe[0].data, "scrProbeClass1"));
        const uint16_t character = Le16At(probe[1].data, 0);
        EXPECT_EQ(character, 65534) << "65535 is taken";
        EXPECT_EQ(Le16At(probe[2].data, 0), 1);
        EXPECT_EQ(Le16At(probe[2].data, 2), character);
        EXPECT_TRUE(Contains(probe[2].data, std::string("scrProbeClass1") + '\0'));
        EXPECT_EQ(probe[3].data.at(0), 0x02); // a character, nothing else
        EXPECT_EQ(Le16At(probe[3].data, 1), 15999) << "16000 is taken";
        EXPECT_EQ(Le16At(probe[3].data, 3), character);
    }
}

// The number of whole frames before byte `cut` of the body.
int FramesBefore(const std::vector<uint8_t>& body, size_t cut) {
    int frames = 0;
    size_t offset = (5 + 4 * static_cast<size_t>(body[0] >> 3) + 7) / 8 + 4;
    for (const Tag& tag : Tags(body)) {
        size_t end = offset + 2 + (tag.data.size() >= 0x3f ? 4 : 0) + tag.data.size();
        if (end > cut) break;
        frames += tag.code == 1;
        offset = end;
    }
    return frames;
}

TEST(SwfRewriterTest, CutMoviesKeepTheirWholeFramesAndStayWellFormed) {
    for (SwfCompression compression : {SwfCompression::None, SwfCompression::Zlib}) {
        TestMovieOptions options;
        options.compression = compression;
        std::vector<uint8_t> file = TestMovie(options);
        std::vector<uint8_t> body = test::TestMovieBody(options);
        for (size_t keep : {size_t{9}, size_t{40}, file.size() / 2, file.size() - 3}) {
            std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(keep));
            std::optional<SwfRewrite> rewrite = RewriteSwfForHost(cut, false, kPrefix);
            std::optional<SwfContainer> decoded = DecodeSwf(cut);
            ASSERT_TRUE(decoded);
            if (!rewrite) continue; // not even the header survived
            // A zlib stream cut in its checksum still yields the whole body.
            EXPECT_EQ(rewrite->info.damaged, decoded->body.size() < body.size()) << "keep " << keep;
            int frames = FramesBefore(body, decoded->body.size());
            EXPECT_EQ(rewrite->info.showFrames, frames) << "keep " << keep;
            if (frames == 0) {
                EXPECT_TRUE(rewrite->movie.empty());
                continue;
            }
            std::vector<Tag> tags = Tags(Decoded(rewrite->movie));
            ASSERT_FALSE(tags.empty());
            EXPECT_EQ(tags.back().code, 0); // closed with End
            std::optional<SwfMovieInfo> again = ProbeSwf(rewrite->movie);
            ASSERT_TRUE(again);
            EXPECT_EQ(again->headerFrames, frames); // the header states the frames that remain
            EXPECT_FALSE(again->damaged);
        }
    }
}

TEST(SwfRewriterTest, ATagLengthThatLiesEndsTheMovieThere) {
    std::vector<uint8_t> file = TestMovie();
    // Make the 11th PlaceObject2 claim 2 GiB of data.
    size_t offset = 8 + (5 + 4 * static_cast<size_t>(file[8] >> 3) + 7) / 8 + 4;
    int places = 0;
    while (offset + 2 <= file.size()) {
        uint16_t head = static_cast<uint16_t>(file[offset] | file[offset + 1] << 8);
        size_t length = head & 0x3f, headerBytes = 2;
        if (length == 0x3f) {
            length = static_cast<size_t>(ReadLE32(&file[offset + 2]));
            headerBytes = 6;
        }
        if ((head >> 6) == 26 && ++places == 11) {
            std::vector<uint8_t> lie{static_cast<uint8_t>(26 << 6 | 0x3f),
                                     static_cast<uint8_t>((26 << 6) >> 8),
                                     0xff,
                                     0xff,
                                     0xff,
                                     0x7f};
            file.erase(file.begin() + static_cast<ptrdiff_t>(offset),
                       file.begin() + static_cast<ptrdiff_t>(offset + headerBytes));
            file.insert(file.begin() + static_cast<ptrdiff_t>(offset), lie.begin(), lie.end());
            break;
        }
        offset += headerBytes + length;
    }
    ASSERT_EQ(places, 11);
    WriteLE32(&file[4], static_cast<int32_t>(file.size()));
    std::optional<SwfRewrite> rewrite = RewriteSwfForHost(file, false, kPrefix);
    ASSERT_TRUE(rewrite);
    EXPECT_TRUE(rewrite->info.damaged);
    EXPECT_EQ(rewrite->info.showFrames, 10);
    std::vector<Tag> tags = Tags(Decoded(rewrite->movie));
    EXPECT_EQ(tags.back().code, 0);
}

TEST(SwfRewriterTest, RejectsWhatIsNoMovieAndBoundsLyingLengths) {
    EXPECT_FALSE(ProbeSwf(Bytes("")));
    EXPECT_FALSE(ProbeSwf(Bytes("FWS")));
    EXPECT_FALSE(ProbeSwf(Bytes("GIF89a-not-a-movie")));
    EXPECT_FALSE(ProbeSwf(Bytes("FWS\x08\x09\0\0\0"))); // header only, no stage

    // A compressed movie that claims 4 GiB of body: decoding stops at the real data.
    std::vector<uint8_t> file = TestMovie({.compression = SwfCompression::Zlib});
    WriteLE32(&file[4], -1);
    std::optional<SwfContainer> decoded = DecodeSwf(file);
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded->complete);
    EXPECT_EQ(decoded->body, test::TestMovieBody({}));

    // Garbage after a plausible header never crashes and never yields frames.
    std::vector<uint8_t> garbage = Bytes("CWS\x08");
    for (int i = 0; i < 300; ++i)
        garbage.push_back(static_cast<uint8_t>(i * 37 + 11));
    std::optional<SwfRewrite> rewrite = RewriteSwfForHost(garbage, false, kPrefix);
    if (rewrite) {
        EXPECT_TRUE(rewrite->movie.empty());
    }
}

TEST(SwfRewriterTest, HeaderFrameCountFollowsTheFramesFound) {
    std::vector<uint8_t> body = test::TestMovieBody({});
    size_t countOffset = (5 + 4 * static_cast<size_t>(body[0] >> 3) + 7) / 8 + 2;
    body[countOffset] = 100; // the header claims 100 frames; 24 follow
    std::optional<SwfRewrite> rewrite =
        RewriteSwfForHost(EncodeSwf(SwfCompression::None, 8, body), true, kPrefix);
    ASSERT_TRUE(rewrite);
    EXPECT_EQ(rewrite->info.headerFrames, 100);
    EXPECT_EQ(rewrite->info.showFrames, 24);
    EXPECT_EQ(ProbeSwf(rewrite->movie)->headerFrames, 24);
}

} // namespace
} // namespace scr
