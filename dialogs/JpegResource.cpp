#include "dialogs/JpegResource.h"

#include "dialogs/ProgramResource.h"
#include "package/PackageTrailer.h"
#include "platform/gui/Bitmap24Image.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>

namespace scr {

bool LoadJpegResource(const QString& name, Bitmap24& bitmap, bool unscramble, int scale) {
    std::optional<QByteArray> data = LoadProgramResource(name);
    if (!data) return false;
    if (unscramble) ScrambleBytes(data->data(), data->size() / 8);
    // Every JPEG stream starts with the start-of-image marker.
    if (data->size() < 2 || static_cast<uint8_t>((*data)[0]) != 0xFF ||
        static_cast<uint8_t>((*data)[1]) != 0xD8)
        return false;

    QBuffer buffer(&*data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize full = reader.size();
    const int denominator = 1 << std::clamp(scale, 0, 3);
    if (denominator > 1 && full.isValid()) {
        // The JPEG reader scales in the DCT when asked for exactly this size.
        reader.setScaledSize(QSize((full.width() + denominator - 1) / denominator,
                                   (full.height() + denominator - 1) / denominator));
    }
    const QImage image = reader.read();
    if (image.isNull()) return false;
    bitmap = BitmapFromImage(image);
    return true;
}

} // namespace scr
