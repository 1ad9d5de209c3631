#include "package/SwfContainer.h"

#include "package/SwfBodyStream.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <lzma.h>
#include <zlib.h>

namespace scr {
namespace {

constexpr size_t kChunk = 64 * 1024;

void PutLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> Deflate(std::span<const uint8_t> body) {
    uLongf size = compressBound(static_cast<uLong>(body.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, body.data(), static_cast<uLong>(body.size()), Z_BEST_COMPRESSION) !=
        Z_OK)
        return {};
    out.resize(size);
    return out;
}

// Raw LZMA data (without the .lzma header) and its five property bytes.
std::vector<uint8_t> DeflateLzma(std::span<const uint8_t> body) {
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 6)) return {};
    lzma_stream ls = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&ls, &options) != LZMA_OK) return {};
    std::vector<uint8_t> out(body.size() + body.size() / 2 + 4096);
    ls.next_in = body.data();
    ls.avail_in = body.size();
    ls.next_out = out.data();
    ls.avail_out = out.size();
    lzma_ret status = lzma_code(&ls, LZMA_FINISH);
    size_t produced = out.size() - ls.avail_out;
    lzma_end(&ls);
    if (status != LZMA_STREAM_END || produced < 13) return {};
    out.resize(produced);
    // Drop the 8-byte size field of the .lzma header: the movie header carries the size.
    out.erase(out.begin() + 5, out.begin() + 13);
    return out;
}

} // namespace

std::optional<SwfHeader> ParseSwfHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < kSwfHeaderBytes || bytes[1] != 'W' || bytes[2] != 'S') return std::nullopt;
    SwfHeader header;
    switch (bytes[0]) {
    case 'F':
        header.compression = SwfCompression::None;
        break;
    case 'C':
        header.compression = SwfCompression::Zlib;
        break;
    case 'Z':
        header.compression = SwfCompression::Lzma;
        break;
    default:
        return std::nullopt;
    }
    header.version = bytes[3];
    header.declaredLength = static_cast<uint32_t>(ReadLE32(&bytes[4]));
    return header;
}

std::string_view SwfSignature(SwfCompression compression) {
    switch (compression) {
    case SwfCompression::None:
        return "FWS";
    case SwfCompression::Zlib:
        return "CWS";
    case SwfCompression::Lzma:
        return "ZWS";
    }
    return {};
}

std::optional<SwfContainer> DecodeSwf(std::span<const uint8_t> file) {
    const std::optional<SwfHeader> header = ParseSwfHeader(file);
    if (!header) return std::nullopt;
    SwfContainer movie;
    movie.compression = header->compression;
    movie.version = header->version;
    movie.declaredLength = header->declaredLength;
    const std::size_t wanted = std::min<std::size_t>(header->bodyLength(), kMaxSwfBodyBytes);
    const MemoryByteSource source(file);
    SwfBodyStream stream(source, 0, source.size(), *header, wanted, SwfBodyStream::LzmaData::UpToEnd);
    while (movie.body.size() < wanted) {
        const std::size_t old = movie.body.size();
        movie.body.resize(old + std::min(kChunk, wanted - old));
        const std::size_t got = stream.Read(movie.body.data() + old, movie.body.size() - old);
        movie.body.resize(old + got);
        if (got == 0) break;
    }
    movie.complete = header->declaredLength >= kSwfHeaderBytes && movie.body.size() == header->bodyLength();
    return movie;
}

std::vector<uint8_t> EncodeSwf(SwfCompression compression, uint8_t version, std::span<const uint8_t> body) {
    if (body.size() > UINT32_MAX - kSwfHeaderBytes) return {};
    std::vector<uint8_t> out;
    out.push_back(compression == SwfCompression::None   ? 'F'
                  : compression == SwfCompression::Zlib ? 'C'
                                                        : 'Z');
    out.push_back('W');
    out.push_back('S');
    out.push_back(version);
    PutLe32(out, static_cast<uint32_t>(kSwfHeaderBytes + body.size()));
    switch (compression) {
    case SwfCompression::None:
        out.insert(out.end(), body.begin(), body.end());
        break;
    case SwfCompression::Zlib: {
        std::vector<uint8_t> packed = Deflate(body);
        if (packed.empty()) return {};
        out.insert(out.end(), packed.begin(), packed.end());
        break;
    }
    case SwfCompression::Lzma: {
        std::vector<uint8_t> packed = DeflateLzma(body);
        if (packed.empty()) return {};
        PutLe32(out, static_cast<uint32_t>(packed.size() - 5));
        out.insert(out.end(), packed.begin(), packed.end());
        break;
    }
    }
    return out;
}

} // namespace scr
