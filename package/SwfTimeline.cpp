#include "package/SwfTimeline.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace scr {
namespace {

constexpr uint8_t kActionScript3Flag = 0x08;
constexpr std::size_t kBufferBytes = 64 * 1024;
// The longest piece read at once: a stage rectangle of 31-bit fields.
constexpr std::size_t kLongestPiece = 32;

// A body read in order through a buffer, so that small reads are cheap.
class BodyCursor {
public:
    explicit BodyCursor(SwfBodyReader& reader) : reader_(reader), buffer_(kBufferBytes) {}

    // The next `count` (at most kLongestPiece) bytes, or null when the body ends first.
    const uint8_t* Take(std::size_t count) {
        if (end_ - begin_ < count) Fill(count);
        if (end_ - begin_ < count) return nullptr;
        const uint8_t* p = buffer_.data() + begin_;
        begin_ += count;
        offset_ += count;
        return p;
    }
    // Skips `count` bytes; false when the body ends first.
    bool Skip(std::size_t count) {
        while (count > 0) {
            if (begin_ == end_) {
                begin_ = 0;
                end_ = reader_.Read(buffer_.data(), buffer_.size());
                if (end_ == 0) return false;
            }
            const std::size_t n = std::min(count, end_ - begin_);
            begin_ += n;
            offset_ += n;
            count -= n;
        }
        return true;
    }
    std::size_t offset() const { return offset_; }
    // Reads on to the end of the body; true when every byte left is 0.
    bool RestIsZero() {
        bool zero = true;
        for (;;) {
            for (std::size_t i = begin_; i < end_; ++i)
                zero = zero && buffer_[i] == 0;
            offset_ += end_ - begin_;
            begin_ = 0;
            end_ = reader_.Read(buffer_.data(), buffer_.size());
            if (end_ == 0) return zero;
        }
    }

private:
    void Fill(std::size_t wanted) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        while (end_ < wanted) {
            const std::size_t got = reader_.Read(buffer_.data() + end_, buffer_.size() - end_);
            if (got == 0) return;
            end_ += got;
        }
    }

    SwfBodyReader& reader_;
    std::vector<uint8_t> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    std::size_t offset_ = 0; // in the body
};

class SpanReader final : public SwfBodyReader {
public:
    explicit SpanReader(std::span<const uint8_t> data) : data_(data) {}
    std::size_t Read(uint8_t* out, std::size_t count) override {
        const std::size_t n = std::min(count, data_.size() - position_);
        std::memcpy(out, data_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    std::span<const uint8_t> data_;
    std::size_t position_ = 0;
};

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// The stage rectangle: 5 bits of field width, then four signed fields of that width (twips).
bool ReadFrameHeader(BodyCursor& body, SwfFrameHeader& header) {
    const uint8_t* first = body.Take(1);
    if (!first) return false;
    const int bits = first[0] >> 3;
    const std::size_t rectBytes = (5 + 4 * static_cast<std::size_t>(bits) + 7) / 8;
    uint8_t rect[kLongestPiece] = {first[0]};
    if (rectBytes > 1) {
        const uint8_t* rest = body.Take(rectBytes - 1);
        if (!rest) return false;
        std::memcpy(rect + 1, rest, rectBytes - 1);
    }
    const auto field = [&](int index) {
        int64_t value = 0;
        for (int i = 0; i < bits; ++i) {
            const std::size_t bit = 5 + static_cast<std::size_t>(index * bits + i);
            value = value << 1 | ((rect[bit / 8] >> (7 - bit % 8)) & 1);
        }
        if (bits > 0 && (value >> (bits - 1)) & 1) value -= int64_t{1} << bits;
        return value;
    };
    const uint8_t* rateAndCount = body.Take(4);
    if (!rateAndCount) return false;
    header.width = static_cast<int>((field(1) - field(0)) / 20);
    header.height = static_cast<int>((field(3) - field(2)) / 20);
    header.frameRate = rateAndCount[1] + rateAndCount[0] / 256.0;
    header.frameCountAt = rectBytes + 2;
    header.frameCount = Le16(rateAndCount + 2);
    header.size = rectBytes + 4;
    return true;
}

} // namespace

SwfTimeline WalkSwfTimeline(SwfBodyReader& reader, uint8_t version, const SwfTagVisitor& visit) {
    SwfTimeline timeline;
    BodyCursor body(reader);
    if (!ReadFrameHeader(body, timeline.header)) {
        timeline.problem = "its frame header is cut short";
        return timeline;
    }
    timeline.headerRead = true;
    bool first = true;
    for (;;) {
        SwfTag tag;
        tag.start = body.offset();
        const uint8_t* codeAndLength = body.Take(2);
        if (!codeAndLength) {
            timeline.problem = "it ends without an End tag, after " + std::to_string(tag.start) + " bytes";
            return timeline;
        }
        tag.code = static_cast<uint16_t>(Le16(codeAndLength) >> 6);
        tag.length = Le16(codeAndLength) & 0x3fu;
        if (tag.length == 0x3f) {
            const uint8_t* length = body.Take(4);
            if (!length) {
                timeline.problem = "the header of tag " + std::to_string(tag.code) + " at body byte " +
                                   std::to_string(tag.start) + " is cut short";
                return timeline;
            }
            tag.length = static_cast<std::size_t>(Le16(length)) | static_cast<std::size_t>(Le16(length + 2))
                                                                      << 16;
        }
        tag.data = body.offset();
        if (tag.code == kSwfTagEnd) {
            timeline.ended = true;
            timeline.endAt = tag.data + tag.length;
            timeline.zeroAfterEnd = body.RestIsZero();
            timeline.bodyRead = body.offset();
            return timeline;
        }
        const auto runsPast = [&] {
            timeline.problem = "tag " + std::to_string(tag.code) + " at body byte " +
                               std::to_string(tag.start) + " runs past the end of the movie";
            return timeline;
        };
        std::size_t skip = tag.length;
        if (first && tag.code == kSwfTagFileAttributes && tag.length >= 1 && version >= 9) {
            const uint8_t* flags = body.Take(1);
            if (!flags) return runsPast();
            timeline.actionScript3 = (flags[0] & kActionScript3Flag) != 0;
            skip = tag.length - 1;
        }
        if (!body.Skip(skip)) return runsPast();
        first = false;
        if (tag.code == kSwfTagShowFrame) ++timeline.showFrames;
        if (visit) visit(tag);
    }
}

SwfTimeline WalkSwfTimeline(std::span<const uint8_t> body, uint8_t version, const SwfTagVisitor& visit) {
    SpanReader reader(body);
    return WalkSwfTimeline(reader, version, visit);
}

} // namespace scr
