#include "show/SwfRewriter.h"

#include "show/As3FrameProbe.h"

#include <set>
#include <string>

namespace scr {
namespace {

constexpr uint16_t kTagDoAction = 12;
constexpr uint16_t kTagPlaceObject = 4;
constexpr uint16_t kTagRemoveObject = 5;
constexpr uint16_t kTagPlaceObject2 = 26;
constexpr uint16_t kTagRemoveObject2 = 28;
constexpr uint16_t kTagPlaceObject3 = 70;

constexpr uint8_t kActionEnd = 0x00;
constexpr uint8_t kActionStop = 0x07;
constexpr uint8_t kActionTrace = 0x26;
constexpr uint8_t kActionPush = 0x96;
constexpr uint8_t kPushString = 0;

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// The parsed movie header and its tags, read once and shared by probe and rewrite.
struct SwfLayout {
    SwfMovieInfo info;
    size_t frameCountOffset = 0; // in the body
    std::vector<SwfTag> tags;    // whole tags of the main timeline, End excluded
};

std::optional<SwfLayout> ReadLayout(const SwfContainer& movie) {
    SwfLayout layout;
    const SwfTimeline timeline =
        WalkSwfTimeline(movie.body, movie.version, [&](const SwfTag& tag) { layout.tags.push_back(tag); });
    if (!timeline.headerRead) return std::nullopt;
    SwfMovieInfo& info = layout.info;
    info.compression = movie.compression;
    info.version = movie.version;
    info.width = timeline.header.width;
    info.height = timeline.header.height;
    info.frameRate = timeline.header.frameRate;
    info.headerFrames = timeline.header.frameCount;
    info.showFrames = timeline.showFrames;
    info.actionScript3 = timeline.actionScript3;
    info.damaged = !movie.complete || !timeline.ended;
    layout.frameCountOffset = timeline.header.frameCountAt;
    return layout;
}

void AppendTagHeader(std::vector<uint8_t>& out, uint16_t code, size_t length) {
    auto put16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    if (length < 0x3f) {
        put16(static_cast<uint32_t>(code) << 6 | static_cast<uint32_t>(length));
    } else {
        put16(static_cast<uint32_t>(code) << 6 | 0x3f);
        put16(static_cast<uint32_t>(length));
        put16(static_cast<uint32_t>(length >> 16));
    }
}

// trace("<message>"): ActionPush of the string, then ActionTrace.
void AppendTrace(std::vector<uint8_t>& actions, const std::string& message) {
    size_t length = 1 + message.size() + 1;
    actions.push_back(kActionPush);
    actions.push_back(static_cast<uint8_t>(length));
    actions.push_back(static_cast<uint8_t>(length >> 8));
    actions.push_back(kPushString);
    actions.insert(actions.end(), message.begin(), message.end());
    actions.push_back(0);
    actions.push_back(kActionTrace);
}

// Where the ActionScript 3 probe goes: a character id that no tag of the
// movie starts with (every tag's first two bytes count as used, which is
// more than the ids really defined) and a depth no placing or removing tag
// of the main timeline names. nullopt when every id or depth is taken.
std::optional<As3ProbePlace> FreeProbePlace(std::span<const uint8_t> body, const std::vector<SwfTag>& tags) {
    std::set<uint16_t> ids, depths;
    for (const SwfTag& tag : tags) {
        if (tag.length >= 2) ids.insert(Le16(&body[tag.data]));
        size_t depthAt = 0;
        switch (tag.code) {
        case kTagPlaceObject:
        case kTagRemoveObject:
            depthAt = 2;
            break;
        case kTagPlaceObject2:
            depthAt = 1;
            break;
        case kTagPlaceObject3:
            depthAt = 2;
            break;
        case kTagRemoveObject2:
            depthAt = 0;
            break;
        default:
            continue;
        }
        if (tag.length >= depthAt + 2) depths.insert(Le16(&body[tag.data + depthAt]));
    }
    As3ProbePlace place;
    for (uint32_t id = 65535; id >= 1 && !place.character; --id)
        if (!ids.count(static_cast<uint16_t>(id))) place.character = static_cast<uint16_t>(id);
    for (uint32_t depth = 16000; depth >= 1 && !place.depth; --depth)
        if (!depths.count(static_cast<uint16_t>(depth))) place.depth = static_cast<uint16_t>(depth);
    if (!place.character || !place.depth) return std::nullopt;
    return place;
}

} // namespace

std::vector<uint8_t> FrameNoticeTag(int frame, bool stopAndNotifyEnd, std::string_view prefix) {
    std::vector<uint8_t> actions;
    AppendTrace(actions, std::string(prefix) + std::string(kFrameNotice) + " " + std::to_string(frame));
    if (stopAndNotifyEnd) {
        actions.push_back(kActionStop);
        AppendTrace(actions, std::string(prefix) + std::string(kEndNotice));
    }
    actions.push_back(kActionEnd);
    std::vector<uint8_t> tag;
    AppendTagHeader(tag, kTagDoAction, actions.size());
    tag.insert(tag.end(), actions.begin(), actions.end());
    return tag;
}

std::optional<SwfMovieInfo> ProbeSwf(std::span<const uint8_t> file) {
    std::optional<SwfContainer> movie = DecodeSwf(file);
    if (!movie) return std::nullopt;
    std::optional<SwfLayout> layout = ReadLayout(*movie);
    if (!layout) return std::nullopt;
    return layout->info;
}

std::optional<HostNotice> ParseHostNotice(std::string_view message) {
    if (message == kEndNotice) return HostNotice{true, -1};
    if (message.size() <= kFrameNotice.size() + 1 || !message.starts_with(kFrameNotice) ||
        message[kFrameNotice.size()] != ' ')
        return std::nullopt;
    std::string_view digits = message.substr(kFrameNotice.size() + 1);
    int frame = 0;
    if (digits.size() > 5) return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        frame = frame * 10 + (c - '0');
    }
    return HostNotice{false, frame};
}

std::optional<SwfRewrite> RewriteSwfForHost(std::span<const uint8_t> file, bool loop, std::string_view prefix,
                                            std::string_view probeClass) {
    std::optional<SwfContainer> movie = DecodeSwf(file);
    if (!movie) return std::nullopt;
    std::optional<SwfLayout> layout = ReadLayout(*movie);
    if (!layout) return std::nullopt;
    SwfRewrite result{layout->info, {}};
    const SwfMovieInfo& info = result.info;
    if (info.showFrames == 0 || info.showFrames > 0xffff) return result;
    const std::vector<uint8_t>& body = movie->body;
    std::optional<As3ProbePlace> probe;
    if (info.actionScript3) {
        if (probeClass.empty()) return result;
        probe = FreeProbePlace(body, layout->tags);
        if (!probe) return result;
    }

    std::vector<uint8_t> out(body.begin(), body.begin() + static_cast<ptrdiff_t>(layout->tags.front().start));
    // The header states the frames the movie really has, so the player's frame count matches the notices.
    out[layout->frameCountOffset] = static_cast<uint8_t>(info.showFrames);
    out[layout->frameCountOffset + 1] = static_cast<uint8_t>(info.showFrames >> 8);
    int frame = 0;
    for (const SwfTag& tag : layout->tags) {
        if (tag.code == kSwfTagShowFrame && probe) {
            if (frame == 0) {
                std::vector<uint8_t> tags = As3FrameProbeTags(*probe, probeClass, loop, prefix);
                out.insert(out.end(), tags.begin(), tags.end());
            }
            ++frame;
        } else if (tag.code == kSwfTagShowFrame) {
            std::vector<uint8_t> notice =
                FrameNoticeTag(frame, !loop && frame == info.showFrames - 1, prefix);
            out.insert(out.end(), notice.begin(), notice.end());
            ++frame;
        }
        out.insert(out.end(), body.begin() + static_cast<ptrdiff_t>(tag.start),
                   body.begin() + static_cast<ptrdiff_t>(tag.end()));
    }
    AppendTagHeader(out, kSwfTagEnd, 0);
    result.movie = EncodeSwf(SwfCompression::None, info.version, out);
    return result;
}

} // namespace scr
