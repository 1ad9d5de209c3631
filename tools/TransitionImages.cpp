#include "tools/TransitionImages.h"

#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QString>
#include <charconv>
#include <cstring>

namespace scr {

std::optional<Bitmap24> LoadPictureFile(const std::string& path, std::string& error) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        error = "cannot read picture '" + path + "': " + reader.errorString().toStdString();
        return std::nullopt;
    }
    return ImageToBitmap(image);
}

QImage BitmapToImage(const Bitmap24& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.row(y), bitmap.stride());
    return image;
}

Bitmap24 ImageToBitmap(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_BGR888);
    Bitmap24 bitmap(image.width(), image.height());
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(bitmap.row(y), image.constScanLine(y), bitmap.stride());
    return bitmap;
}

bool SavePng(const QImage& image, const std::string& path, std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = "cannot write '" + path + "': " + file.errorString().toStdString();
        return false;
    }
    if (!image.save(&file, "PNG") || !file.commit()) {
        error = "cannot write '" + path + "': " + file.errorString().toStdString();
        file.cancelWriting();
        return false;
    }
    return true;
}

std::optional<int> ParseIntArgument(const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < min || value > max) return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> ParseSizeArgument(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const auto w = ParseIntArgument(text.substr(0, x), 1, 16384);
    const auto h = ParseIntArgument(text.substr(x + 1), 1, 16384);
    if (!w || !h) return std::nullopt;
    return std::make_pair(*w, *h);
}

} // namespace scr
