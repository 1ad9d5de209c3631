#include "package/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <new>

namespace scr {
namespace {

// Progressive pictures keep their coefficients for the whole image (about
// three bytes a pixel); beyond this the decode fails instead of growing.
constexpr long kMaxDecoderMemory = 192L * 1024 * 1024;

// How a picture is decoded: the library's scale (eighths of the full size)
// and a further box reduction of its output by `reduce` in each direction.
struct DecodePlan {
    unsigned eighths = 8;
    int reduce = 1;
};

int ScaledSize(JDIMENSION size, unsigned eighths) {
    return static_cast<int>((static_cast<uint64_t>(size) * eighths + 7) / 8);
}

// The largest output of at most the requested scale that fits the limit.
DecodePlan PlanDecode(JDIMENSION width, JDIMENSION height, int scale, const DecodeLimits& limits) {
    DecodePlan plan;
    plan.eighths = 8u >> scale;
    const int limitW = limits.maxWidth;
    const int limitH = limits.maxHeight;
    if (limitW <= 0 || limitH <= 0) return plan;
    while (plan.eighths > 1 &&
           (ScaledSize(width, plan.eighths) > limitW || ScaledSize(height, plan.eighths) > limitH))
        --plan.eighths;
    const int w = ScaledSize(width, plan.eighths);
    const int h = ScaledSize(height, plan.eighths);
    plan.reduce = std::max({1, (w + limitW - 1) / limitW, (h + limitH - 1) / limitH});
    return plan;
}

// Allocates without letting an exception pass through the library's frames.
bool Allocate(Bitmap24& picture, int width, int height, std::vector<uint8_t>& rowBuffer,
              std::size_t rowBytes) noexcept {
    try {
        picture.setSize(width, height);
        rowBuffer.resize(rowBytes);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Adds a decoded row to the sums of its output row (box reduction).
void AccumulateRow(const uint8_t* bgr, int outWidth, int reduce, uint32_t* sums) {
    for (int x = 0; x < outWidth; ++x)
        for (int i = 0; i < reduce; ++i, bgr += 3)
            for (int c = 0; c < 3; ++c)
                sums[x * 3 + c] += bgr[c];
}

void StoreAverages(uint32_t* sums, int outWidth, int reduce, uint8_t* out) {
    const uint32_t count = static_cast<uint32_t>(reduce) * static_cast<uint32_t>(reduce);
    for (int i = 0; i < outWidth * 3; ++i) {
        out[i] = static_cast<uint8_t>((sums[i] + count / 2) / count);
        sums[i] = 0;
    }
}

// Error manager that returns control through longjmp instead of exiting, and
// keeps the library's warnings (for example about truncated data) quiet.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) {}

void InstallErrorManager(jpeg_common_struct* cinfo, ErrorManager& err) {
    cinfo->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
}

// Converts one row of CMYK (as Adobe writes it, inverted) or plain CMYK to BGR.
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<uint8_t>(y * k / 255);
        bgr[1] = static_cast<uint8_t>(m * k / 255);
        bgr[2] = static_cast<uint8_t>(c * k / 255);
    }
}

// The decode itself. No object with a destructor lives in this frame, so the
// longjmp from the error manager skips nothing. `picture` is filled only on
// success by the caller's swap; `rowBuffer` is scratch for CMYK rows and for
// the rows of a box reduction.
bool DecodeInto(const uint8_t* data, std::size_t size, int scale, const DecodeLimits& limits,
                Bitmap24& picture, std::vector<uint8_t>& rowBuffer) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    // Damaged data must fail, not exhaust memory.
    cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > limits.maxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    const DecodePlan plan = PlanDecode(cinfo.image_width, cinfo.image_height, scale, limits);
    cinfo.scale_num = plan.eighths;
    cinfo.scale_denom = 8;
    jpeg_start_decompress(&cinfo);
    const int decodedWidth = static_cast<int>(cinfo.output_width);
    const int reduce = plan.reduce;
    const int width = std::max(1, decodedWidth / reduce);
    const int height = std::max(1, static_cast<int>(cinfo.output_height) / reduce);
    const bool direct = !cmyk && reduce == 1;
    // Scratch: one decoded row (CMYK or BGR) and, when reducing, the sums of
    // one output row.
    const std::size_t rowBytes = direct ? 0
                                        : static_cast<std::size_t>(decodedWidth) * 4 +
                                              (reduce > 1 ? static_cast<std::size_t>(width) * 3 * 4 : 0);
    if (!Allocate(picture, width, height, rowBuffer, rowBytes)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    uint8_t* decoded = rowBuffer.data();
    uint8_t* converted = decoded; // BGR rows of a CMYK picture are converted in place
    auto* sums = reinterpret_cast<uint32_t*>(rowBuffer.data() + static_cast<std::size_t>(decodedWidth) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (direct) {
            JSAMPROW rows[8];
            const int count = std::min<int>(8, height - y);
            for (int i = 0; i < count; ++i)
                rows[i] = picture.row(y + i);
            jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
            continue;
        }
        JSAMPROW row = decoded;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) CmykRowToBgr(decoded, converted, decodedWidth, cinfo.saw_Adobe_marker);
        if (reduce == 1) {
            std::memcpy(picture.row(y), converted, picture.stride());
            continue;
        }
        const int outY = y / reduce;
        if (outY >= height) continue; // rows beyond the last whole block
        AccumulateRow(converted, width, reduce, sums);
        if (y % reduce == reduce - 1) StoreAverages(sums, width, reduce, picture.row(outY));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool HeaderInto(const uint8_t* data, std::size_t size, int& width, int& height) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    width = static_cast<int>(cinfo.image_width);
    height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool EncodeInto(const Bitmap24& bitmap, int quality, unsigned char** buffer, unsigned long* size) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

bool DecodeJpeg(std::span<const uint8_t> data, int scale, Bitmap24& out, const DecodeLimits& limits) {
    if (data.empty() || scale < JpegFull || scale > JpegEighth) return false;
    Bitmap24 picture;
    std::vector<uint8_t> rowBuffer;
    if (!DecodeInto(data.data(), data.size(), scale, limits, picture, rowBuffer) || picture.isEmpty())
        return false;
    out = std::move(picture);
    return true;
}

bool ReadJpegSize(std::span<const uint8_t> data, int& width, int& height) {
    return !data.empty() && HeaderInto(data.data(), data.size(), width, height);
}

int JpegSamplePrecision(std::span<const uint8_t> data) {
    // Markers from the start of image on: each is FF xx with a 16-bit length
    // that counts itself; the frame header (SOF0..SOF15 but DHT, JPG and DAC)
    // holds the precision in its first byte.
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return 0;
    std::size_t pos = 2;
    while (pos + 4 < data.size() && data[pos] == 0xFF) {
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        const std::size_t length = std::size_t{data[pos + 2]} << 8 | data[pos + 3];
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return data[pos + 4];
        if (marker == 0xDA || length < 2) return 0; // scan data before any frame header
        pos += 2 + length;
    }
    return 0;
}

bool EncodeJpeg(const Bitmap24& bitmap, int quality, std::vector<uint8_t>& out) {
    if (bitmap.isEmpty()) return false;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = EncodeInto(bitmap, std::clamp(quality, 1, 100), &buffer, &size);
    if (ok) out.assign(buffer, buffer + size);
    std::free(buffer);
    return ok;
}

} // namespace scr
