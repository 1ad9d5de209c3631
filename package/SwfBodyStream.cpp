#include "package/SwfBodyStream.h"

#include <algorithm>
#include <array>
#include <lzma.h>
#include <zlib.h>

namespace scr {
namespace {

constexpr std::size_t kInputChunk = 64 * 1024;
// The LZMA decoder's dictionary may not be larger than this: a movie's
// properties could otherwise ask for gigabytes.
constexpr uint64_t kLzmaMemoryLimit = 256u << 20;
constexpr int64_t kLzmaPropertiesOffset = kSwfHeaderBytes + 4;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

struct SwfBodyStream::Decoder {
    z_stream zlib{};
    lzma_stream lzma = LZMA_STREAM_INIT;
    bool zlibOpen = false;
    bool lzmaOpen = false;
    ~Decoder() {
        if (zlibOpen) inflateEnd(&zlib);
        if (lzmaOpen) lzma_end(&lzma);
    }
};

SwfBodyStream::SwfBodyStream(const ByteSource& source, int64_t start, int64_t end, const SwfHeader& header,
                             std::size_t bodyLimit, LzmaData lzmaData)
    : source_(source), header_(header), start_(start),
      bodyLimit_(std::min<uint64_t>(bodyLimit, header.bodyLength())), decoder_(std::make_unique<Decoder>()) {
    end = std::min(end, source.size());
    switch (header.compression) {
    case SwfCompression::None:
        readPos_ = start + static_cast<int64_t>(kSwfHeaderBytes);
        dataEnd_ = std::min<int64_t>(end, start + header.declaredLength);
        break;
    case SwfCompression::Zlib:
        readPos_ = start + static_cast<int64_t>(kSwfHeaderBytes);
        dataEnd_ = end;
        if (inflateInit(&decoder_->zlib) != Z_OK) {
            Fail("its zlib stream cannot be opened");
            break;
        }
        decoder_->zlibOpen = true;
        break;
    case SwfCompression::Lzma: {
        uint8_t prefix[kZwsPrefixBytes - kSwfHeaderBytes];
        if (!source.readAt(start + static_cast<int64_t>(kSwfHeaderBytes), prefix, sizeof prefix) ||
            start + static_cast<int64_t>(kZwsPrefixBytes) > end) {
            Fail("it is cut short inside its LZMA header");
            break;
        }
        readPos_ = start + static_cast<int64_t>(kZwsPrefixBytes);
        dataEnd_ = lzmaData == LzmaData::UpToEnd ? end : std::min<int64_t>(end, readPos_ + Le32(prefix));
        if (lzma_alone_decoder(&decoder_->lzma, kLzmaMemoryLimit) != LZMA_OK) {
            Fail("its LZMA stream cannot be opened");
            break;
        }
        decoder_->lzmaOpen = true;
        // The decoder reads the .lzma form: the five properties, the
        // uncompressed size as 64 bits, then the data. The movie carries the
        // size in its own header, so the first two are given here.
        input_.assign(prefix + 4, prefix + 9);
        for (int i = 0; i < 8; ++i)
            input_.push_back(static_cast<uint8_t>(bodyLimit_ >> (8 * i)));
        decoder_->lzma.next_in = input_.data();
        decoder_->lzma.avail_in = input_.size();
        break;
    }
    }
}

SwfBodyStream::~SwfBodyStream() = default;

void SwfBodyStream::Fail(std::string problem) {
    if (problem_.empty()) problem_ = std::move(problem);
}

bool SwfBodyStream::Refill() {
    const int64_t left = dataEnd_ - readPos_;
    if (left <= 0) return false;
    const auto count = static_cast<std::size_t>(std::min<int64_t>(left, kInputChunk));
    input_.resize(count);
    if (!source_.readAt(readPos_, input_.data(), count)) {
        input_.clear();
        return false;
    }
    readPos_ += static_cast<int64_t>(count);
    return true;
}

std::size_t SwfBodyStream::Read(uint8_t* out, std::size_t count) {
    if (produced_ >= bodyLimit_) return 0;
    count = static_cast<std::size_t>(std::min<uint64_t>(count, bodyLimit_ - produced_));
    switch (header_.compression) {
    case SwfCompression::None:
        return ReadPlain(out, count);
    case SwfCompression::Zlib:
        return Inflate(out, count);
    case SwfCompression::Lzma:
        return InflateLzma(out, count);
    }
    return 0;
}

std::size_t SwfBodyStream::ReadPlain(uint8_t* out, std::size_t count) {
    const auto available = static_cast<std::size_t>(std::max<int64_t>(0, dataEnd_ - readPos_));
    const std::size_t n = std::min(count, available);
    if (n < count) Fail("it is cut short");
    if (n == 0 || !source_.readAt(readPos_, out, n)) return 0;
    readPos_ += static_cast<int64_t>(n);
    produced_ += n;
    return n;
}

std::size_t SwfBodyStream::Inflate(uint8_t* out, std::size_t count) {
    z_stream& zs = decoder_->zlib;
    if (!decoder_->zlibOpen || streamEnded_ || !problem_.empty()) return 0;
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(std::min<std::size_t>(count, UINT32_MAX));
    while (zs.avail_out > 0) {
        if (zs.avail_in == 0) {
            if (!Refill()) {
                Fail("its zlib stream is cut short");
                break;
            }
            zs.next_in = input_.data();
            zs.avail_in = static_cast<uInt>(input_.size());
        }
        const int status = inflate(&zs, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            streamEnded_ = true;
            break;
        }
        if (status == Z_BUF_ERROR && zs.avail_in == 0) continue; // wants more input
        if (status != Z_OK) {
            Fail("its zlib stream is damaged");
            break;
        }
    }
    const std::size_t n = static_cast<std::size_t>(zs.next_out - out);
    produced_ += n;
    return n;
}

std::size_t SwfBodyStream::InflateLzma(uint8_t* out, std::size_t count) {
    lzma_stream& ls = decoder_->lzma;
    if (!decoder_->lzmaOpen || streamEnded_ || !problem_.empty()) return 0;
    ls.next_out = out;
    ls.avail_out = count;
    while (ls.avail_out > 0) {
        if (ls.avail_in == 0) {
            if (!Refill()) {
                Fail("its LZMA data is cut short");
                break;
            }
            ls.next_in = input_.data();
            ls.avail_in = input_.size();
        }
        const lzma_ret status = lzma_code(&ls, LZMA_RUN);
        if (status == LZMA_STREAM_END) {
            streamEnded_ = true;
            break;
        }
        if (status == LZMA_OK) continue;
        if (status == LZMA_FORMAT_ERROR || status == LZMA_OPTIONS_ERROR)
            Fail("its LZMA properties are not valid");
        else if (status == LZMA_MEMLIMIT_ERROR)
            Fail("its LZMA properties ask for a dictionary larger than 256 MiB");
        else
            Fail("its LZMA data is damaged");
        break;
    }
    const std::size_t n = static_cast<std::size_t>(ls.next_out - out);
    produced_ += n;
    return n;
}

std::optional<int64_t> SwfBodyStream::StoredEnd(std::size_t slack) {
    switch (header_.compression) {
    case SwfCompression::None:
    case SwfCompression::Lzma: {
        // The data's end as the header states it; dataEnd_ was cut at the bounds.
        int64_t stated = start_ + header_.declaredLength;
        if (header_.compression == SwfCompression::Lzma) {
            uint8_t length[4];
            if (!source_.readAt(start_ + static_cast<int64_t>(kSwfHeaderBytes), length, 4))
                return std::nullopt;
            stated = start_ + static_cast<int64_t>(kZwsPrefixBytes) + Le32(length);
        }
        if (stated > dataEnd_) {
            Fail("it runs past the end of the space it is stored in");
            return std::nullopt;
        }
        return stated;
    }
    case SwfCompression::Zlib: {
        const uint64_t limit = bodyLimit_;
        bodyLimit_ = produced_ + slack;
        std::array<uint8_t, 4096> scratch{};
        while (!streamEnded_ && problem_.empty() && produced_ < bodyLimit_)
            if (Inflate(scratch.data(), std::min<std::size_t>(scratch.size(), bodyLimit_ - produced_)) == 0)
                break;
        bodyLimit_ = limit;
        if (!streamEnded_) {
            Fail("its zlib stream goes on past the length its header declares");
            return std::nullopt;
        }
        return readPos_ - static_cast<int64_t>(decoder_->zlib.avail_in);
    }
    }
    return std::nullopt;
}

} // namespace scr
