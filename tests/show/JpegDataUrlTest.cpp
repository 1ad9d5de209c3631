// Pictures handed over by a web page as data URLs: only a JPEG of a bounded
// size is decoded.

#include "platform/gui/JpegDataUrl.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace scr {
namespace {

QString DataUrl(const QImage& image, const char* format, const char* mime = "image/jpeg") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return QStringLiteral("data:%1;base64,").arg(QLatin1String(mime)) + QString::fromLatin1(bytes.toBase64());
}

QImage Filled(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    return image;
}

TEST(JpegDataUrlTest, AJpegOfBoundedSizeIsReadAndAnythingElseIsRefused) {
    const QImage read = JpegFromDataUrl(DataUrl(Filled(64, 48), "JPEG"), 100);
    ASSERT_EQ(read.size(), QSize(64, 48));
    const QColor centre = read.pixelColor(32, 24);
    EXPECT_NEAR(centre.red(), 200, 6);
    EXPECT_NEAR(centre.green(), 40, 6);

    const QString jpeg = DataUrl(Filled(64, 48), "JPEG");
    struct Case {
        const char* what;
        QString text;
        int maxSide;
    };
    const Case refused[] = {
        {"empty", QString(), 100},
        {"no data URL", QStringLiteral("hello"), 100},
        {"a PNG", DataUrl(Filled(64, 48), "PNG", "image/png"), 100},
        {"PNG bytes called a JPEG", DataUrl(Filled(64, 48), "PNG"), 100},
        {"not base64", QStringLiteral("data:image/jpeg;base64,!!!*"), 100},
        {"cut short", jpeg.left(jpeg.size() / 3), 100},
        {"wider than allowed", DataUrl(Filled(101, 10), "JPEG"), 100},
        {"taller than allowed", DataUrl(Filled(10, 101), "JPEG"), 100},
        {"longer text than a picture of that size", jpeg + QString(20000, u'A'), 100},
        {"no size allowed", jpeg, 0},
    };
    for (const Case& c : refused)
        EXPECT_TRUE(JpegFromDataUrl(c.text, c.maxSide).isNull()) << c.what;
}

} // namespace
} // namespace scr
