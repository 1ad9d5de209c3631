#pragma once
// Reads a picture handed over as text, as a web page gives it: a data URL
// "data:image/jpeg;base64,...". The text comes from a page that runs a
// stranger's content, so anything but a JPEG of at most `maxSide` pixels a
// side is refused with a null image before it is decoded.

#include <QImage>
#include <QString>

namespace scr {

QImage JpegFromDataUrl(const QString& text, int maxSide);

} // namespace scr
