#include "package/BitmapFiles.h"

#include "package/JpegCodec.h"
#include "platform/CodePage.h"
#include "platform/ExecutablePath.h"
#include "platform/ReadOnlyFile.h"
#include "platform/SafeFile.h"

#include <cstring>

namespace scr {

std::vector<uint8_t> EncodeBmp(const Bitmap24& bitmap) {
    constexpr std::size_t kHeaders = 14 + 40;
    const std::size_t rowSize = (bitmap.stride() + 3) & ~std::size_t{3};
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(bitmap.height());
    std::vector<uint8_t> out(kHeaders + imageSize, 0);
    uint8_t* h = out.data();
    h[0] = 'B';
    h[1] = 'M';
    WriteLE32(h + 2, static_cast<int32_t>(out.size()));
    WriteLE32(h + 10, static_cast<int32_t>(kHeaders));
    WriteLE32(h + 14, 40);
    WriteLE32(h + 18, bitmap.width());
    WriteLE32(h + 22, bitmap.height());
    h[26] = 1;  // planes
    h[28] = 24; // bits per pixel; compression 0 = none
    WriteLE32(h + 34, static_cast<int32_t>(imageSize));
    WriteLE32(h + 38, 2835); // 72 dpi
    WriteLE32(h + 42, 2835);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::size_t target = kHeaders + rowSize * static_cast<std::size_t>(bitmap.height() - 1 - y);
        std::memcpy(out.data() + target, bitmap.row(y), bitmap.stride());
    }
    return out;
}

bool SaveBitmapByExtension(const Bitmap24& bitmap, const std::string& path, int jpegQuality) {
    if (bitmap.isEmpty()) return false;
    const std::string ext = AnsiLowerCase(ExtractFileExt(path));
    std::vector<uint8_t> data;
    if (ext == ".bmp") {
        data = EncodeBmp(bitmap);
    } else if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") {
        if (!EncodeJpeg(bitmap, jpegQuality, data)) return false;
    } else {
        return false;
    }
    return WriteFileReplacing(path, data);
}

} // namespace scr
