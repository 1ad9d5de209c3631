#include "show/BackgroundImage.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace scr {

void CopyBitmapRect(const Bitmap24& source, const Rect& from, Bitmap24& target, Point to) {
    // Clip the source rectangle to the source, then to the target.
    Rect src = from.intersected({0, 0, source.width(), source.height()});
    if (src.isEmpty()) return;
    Point dst{to.x + (src.left - from.left), to.y + (src.top - from.top)};
    const Rect dstRect = Rect{dst.x, dst.y, dst.x + src.width(), dst.y + src.height()}.intersected(
        {0, 0, target.width(), target.height()});
    if (dstRect.isEmpty()) return;
    src = {src.left + (dstRect.left - dst.x), src.top + (dstRect.top - dst.y), 0, 0};
    const std::size_t bytes = static_cast<std::size_t>(dstRect.width()) * 3;
    for (int y = 0; y < dstRect.height(); ++y)
        std::memcpy(target.row(dstRect.top + y) + static_cast<std::size_t>(dstRect.left) * 3,
                    source.row(src.top + y) + static_cast<std::size_t>(src.left) * 3, bytes);
}

void TileBitmap(Bitmap24& target, const Rect& area, const Bitmap24& tile) {
    if (tile.width() < 1 || tile.height() < 1) return;
    const Rect clipped = area.intersected({0, 0, target.width(), target.height()});
    for (int y = area.top; y < clipped.bottom; y += tile.height()) {
        for (int x = area.left; x < clipped.right; x += tile.width()) {
            const int w = std::min(tile.width(), area.right - x);
            const int h = std::min(tile.height(), area.bottom - y);
            CopyBitmapRect(tile, {0, 0, w, h}, target, {x, y});
        }
    }
}

BackgroundImage::BackgroundImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BackgroundImage::Paint(int width, int height, uint32_t colorRef, const Bitmap24* picture) {
    canvas_.setSize(width, height);
    canvas_.fill(colorRef);
    if (picture) TileBitmap(canvas_, {0, 0, width, height}, *picture);
    setGeometry(0, 0, width, height);
    update();
}

Bitmap24 BackgroundImage::Copy(const Rect& r) const {
    Bitmap24 part(std::max(0, r.width()), std::max(0, r.height()));
    CopyBitmapRect(canvas_, r, part, {0, 0});
    return part;
}

void BackgroundImage::Draw(const Bitmap24& picture, Point to) {
    CopyBitmapRect(picture, {0, 0, picture.width(), picture.height()}, canvas_, to);
    update(QRect(to.x, to.y, picture.width(), picture.height()));
}

void BackgroundImage::paintEvent(QPaintEvent* event) {
    if (canvas_.isEmpty()) return;
    const QImage image(canvas_.bits(), canvas_.width(), canvas_.height(),
                       static_cast<qsizetype>(canvas_.stride()), QImage::Format_BGR888);
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
}

} // namespace scr
