#pragma once
// The inside of a movie body: the frame header (stage rectangle, frame rate,
// frame count) and the tags of the main timeline up to the End tag. One walk
// serves every reader: the recogniser's full parse of a candidate (streamed,
// in little memory) and the Flash host's preparation of a movie (in memory).

#include "package/SwfBodyStream.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace scr {

inline constexpr uint16_t kSwfTagEnd = 0;
inline constexpr uint16_t kSwfTagShowFrame = 1;
inline constexpr uint16_t kSwfTagFileAttributes = 69;

struct SwfFrameHeader {
    int width = 0, height = 0;    // stage size in pixels
    double frameRate = 0;         // frames per second
    uint16_t frameCount = 0;      // as the header states it
    std::size_t frameCountAt = 0; // offset of the frame count in the body
    std::size_t size = 0;         // bytes of the frame header
};

// One tag of the main timeline, by its offsets in the body.
struct SwfTag {
    uint16_t code = 0;
    std::size_t start = 0;  // first byte of the tag header
    std::size_t data = 0;   // first byte after the header
    std::size_t length = 0; // bytes of data
    std::size_t end() const { return data + length; }
};

struct SwfTimeline {
    SwfFrameHeader header;
    bool headerRead = false;
    int showFrames = 0;         // ShowFrame tags on the main timeline
    bool actionScript3 = false; // first tag is FileAttributes with the ActionScript 3 flag (version 9 on)
    bool ended = false;         // the End tag was reached
    std::size_t endAt = 0;      // when ended: the body offset just past the End tag
    std::size_t bodyRead = 0;   // when ended: bytes of body there were (the rest is read too)
    bool zeroAfterEnd = false;  // when ended: every byte after the End tag is 0 (padding)
    // Why the walk stopped before the End tag, in words fit for a user; empty when it did not.
    std::string problem;
};

// Called for every whole tag before End (End itself excluded).
using SwfTagVisitor = std::function<void(const SwfTag&)>;

// Walks a body from its reader. The body's end (a short read) ends the walk.
SwfTimeline WalkSwfTimeline(SwfBodyReader& body, uint8_t version, const SwfTagVisitor& visit = {});
// The same over a body in memory.
SwfTimeline WalkSwfTimeline(std::span<const uint8_t> body, uint8_t version, const SwfTagVisitor& visit = {});

} // namespace scr
