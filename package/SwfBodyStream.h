#pragma once
// The uncompressed body of a movie, read a piece at a time from where it is
// stored (a file, or memory), so that a movie of any size is walked in a few
// kilobytes and decompression stops where the caller says. A zlib ("CWS")
// or LZMA ("ZWS") body is inflated as it is read; nothing is read outside
// the bounds given, whatever the movie's own lengths claim.

#include "package/ByteSource.h"
#include "package/SwfContainer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scr {

// Something that hands out the bytes of a movie body in order.
class SwfBodyReader {
public:
    virtual ~SwfBodyReader() = default;
    // Up to `count` bytes; fewer only where the body ends or cannot be read further.
    virtual std::size_t Read(uint8_t* out, std::size_t count) = 0;
};

class SwfBodyStream final : public SwfBodyReader {
public:
    // How far the LZMA data of a "ZWS" movie is read: to the compressed
    // length its header states, or on to the end of the bounds (some writers
    // state that length wrongly; a player reads on until the body is whole).
    enum class LzmaData { StatedLength, UpToEnd };

    // The movie whose header (already parsed into `header`) lies at `start`
    // of `source`. Nothing at or after `end` is read, and at most `bodyLimit`
    // bytes of body come out.
    SwfBodyStream(const ByteSource& source, int64_t start, int64_t end, const SwfHeader& header,
                  std::size_t bodyLimit, LzmaData lzmaData = LzmaData::StatedLength);
    ~SwfBodyStream() override;
    SwfBodyStream(const SwfBodyStream&) = delete;
    SwfBodyStream& operator=(const SwfBodyStream&) = delete;

    std::size_t Read(uint8_t* out, std::size_t count) override;

    // Bytes of body produced so far, also those read past the limit by StoredEnd.
    uint64_t produced() const { return produced_; }
    // Empty while nothing went wrong; otherwise why the body ended early, in
    // words fit for a user ("its zlib stream is cut short").
    const std::string& problem() const { return problem_; }

    // Where the stored movie ends in the source (one past its last byte): for
    // "FWS" its start plus the declared length, for "ZWS" its start plus 17
    // plus the compressed length of its header, for "CWS" the end of its zlib
    // stream, which is looked for by inflating on, past the body limit, by at
    // most `slack` bytes. Nothing, with problem() set, when that end does not
    // lie within the bounds.
    std::optional<int64_t> StoredEnd(std::size_t slack);

private:
    struct Decoder;
    std::size_t ReadPlain(uint8_t* out, std::size_t count);
    std::size_t Inflate(uint8_t* out, std::size_t count);
    std::size_t InflateLzma(uint8_t* out, std::size_t count);
    // Refills the input buffer from the source; false when nothing is left.
    bool Refill();
    void Fail(std::string problem);

    const ByteSource& source_;
    SwfHeader header_;
    int64_t start_ = 0;
    int64_t dataEnd_ = 0; // end of the stored data that may be read
    int64_t readPos_ = 0; // next source byte to read into the buffer
    uint64_t bodyLimit_ = 0;
    uint64_t produced_ = 0;
    bool streamEnded_ = false;
    std::string problem_;
    std::vector<uint8_t> input_;
    std::unique_ptr<Decoder> decoder_;
};

} // namespace scr
