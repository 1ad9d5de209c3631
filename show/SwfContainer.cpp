#include "show/SwfContainer.h"

#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <lzma.h>
#include <zlib.h>

namespace scr {
namespace {

constexpr size_t kHeaderBytes = 8;
// A "ZWS" file: header, compressed length (4 bytes), LZMA properties (5 bytes), data.
constexpr size_t kLzmaPrefixBytes = 4 + 5;
constexpr size_t kChunk = 64 * 1024;

void PutLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Inflates until the wanted size, the end of the stream or an error; keeps what came out.
void Inflate(std::span<const uint8_t> in, size_t wanted, std::vector<uint8_t>& out) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return;
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(std::min<size_t>(in.size(), UINT32_MAX));
    int status = Z_OK;
    while (status == Z_OK && out.size() < wanted) {
        size_t old = out.size();
        out.resize(old + std::min(kChunk, wanted - old));
        zs.next_out = out.data() + old;
        zs.avail_out = static_cast<uInt>(out.size() - old);
        status = inflate(&zs, Z_NO_FLUSH);
        out.resize(out.size() - zs.avail_out);
        if (status == Z_BUF_ERROR && zs.avail_in == 0) break; // input cut short
    }
    inflateEnd(&zs);
}

// Decodes raw LZMA data as the .lzma ("alone") format expects it: the five
// property bytes, then the uncompressed size as 64 bits, then the data.
void InflateLzma(std::span<const uint8_t> props, std::span<const uint8_t> data, size_t wanted,
                 std::vector<uint8_t>& out) {
    std::vector<uint8_t> input(props.begin(), props.end());
    for (int i = 0; i < 8; ++i)
        input.push_back(static_cast<uint8_t>(static_cast<uint64_t>(wanted) >> (8 * i)));
    input.insert(input.end(), data.begin(), data.end());
    lzma_stream ls = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&ls, UINT64_MAX) != LZMA_OK) return;
    ls.next_in = input.data();
    ls.avail_in = input.size();
    lzma_ret status = LZMA_OK;
    while (status == LZMA_OK && out.size() < wanted) {
        size_t old = out.size();
        out.resize(old + std::min(kChunk, wanted - old));
        ls.next_out = out.data() + old;
        ls.avail_out = out.size() - old;
        status = lzma_code(&ls, LZMA_FINISH);
        out.resize(out.size() - ls.avail_out);
        if (out.size() == old) break; // no progress: input cut short
    }
    lzma_end(&ls);
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

std::optional<SwfContainer> DecodeSwf(std::span<const uint8_t> file) {
    if (file.size() < kHeaderBytes || file[1] != 'W' || file[2] != 'S') return std::nullopt;
    SwfContainer movie;
    switch (file[0]) {
    case 'F':
        movie.compression = SwfCompression::None;
        break;
    case 'C':
        movie.compression = SwfCompression::Zlib;
        break;
    case 'Z':
        movie.compression = SwfCompression::Lzma;
        break;
    default:
        return std::nullopt;
    }
    movie.version = file[3];
    movie.declaredLength = static_cast<uint32_t>(ReadLE32(&file[4]));
    size_t wanted = movie.declaredLength > kHeaderBytes ? movie.declaredLength - kHeaderBytes : 0;
    wanted = std::min<size_t>(wanted, kMaxSwfBodyBytes);
    std::span<const uint8_t> rest = file.subspan(kHeaderBytes);
    switch (movie.compression) {
    case SwfCompression::None:
        movie.body.assign(rest.begin(), rest.begin() + static_cast<ptrdiff_t>(std::min(wanted, rest.size())));
        break;
    case SwfCompression::Zlib:
        Inflate(rest, wanted, movie.body);
        break;
    case SwfCompression::Lzma:
        if (rest.size() >= kLzmaPrefixBytes)
            InflateLzma(rest.subspan(4, 5), rest.subspan(kLzmaPrefixBytes), wanted, movie.body);
        break;
    }
    movie.complete =
        movie.declaredLength >= kHeaderBytes && movie.body.size() == movie.declaredLength - kHeaderBytes;
    return movie;
}

std::vector<uint8_t> EncodeSwf(SwfCompression compression, uint8_t version, std::span<const uint8_t> body) {
    if (body.size() > UINT32_MAX - kHeaderBytes) return {};
    std::vector<uint8_t> out;
    out.push_back(compression == SwfCompression::None   ? 'F'
                  : compression == SwfCompression::Zlib ? 'C'
                                                        : 'Z');
    out.push_back('W');
    out.push_back('S');
    out.push_back(version);
    PutLe32(out, static_cast<uint32_t>(kHeaderBytes + body.size()));
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
