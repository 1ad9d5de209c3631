#include "platform/gui/Bitmap24Image.h"

#include <cstring>

namespace scr {

QImage ImageFromBitmap(const Bitmap24& bitmap) {
    if (bitmap.isEmpty()) return {};
    // Bitmap24 rows are contiguous, so the stride is exactly three bytes per pixel.
    const QImage view(bitmap.bits(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                      QImage::Format_BGR888);
    return view.copy();
}

Bitmap24 BitmapFromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    Bitmap24 bitmap(bgr.width(), bgr.height());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bitmap.row(y), bgr.constScanLine(y), bitmap.stride());
    return bitmap;
}

} // namespace scr
