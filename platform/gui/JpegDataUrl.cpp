#include "platform/gui/JpegDataUrl.h"

#include <QBuffer>
#include <QImageReader>

namespace scr {

QImage JpegFromDataUrl(const QString& text, int maxSide) {
    static constexpr QLatin1String kPrefix("data:image/jpeg;base64,");
    // A JPEG of the largest picture allowed is far shorter than this.
    const qsizetype maxText = qsizetype(maxSide) * maxSide;
    if (maxSide <= 0 || !text.startsWith(kPrefix) || text.size() > maxText) return {};
    QByteArray bytes = QByteArray::fromBase64Encoding(QStringView(text).mid(kPrefix.size()).toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors)
                           .decoded;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > maxSide || size.height() > maxSide) return {};
    return reader.read();
}

} // namespace scr
