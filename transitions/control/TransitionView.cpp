#include "transitions/control/TransitionView.h"

#include "platform/gui/QtColorRef.h"
#include "transitions/BitmapBlit.h"

#include <QBackingStore>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

namespace scr {
namespace {

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

TransitionView::TransitionView(QWidget* parent)
    : TransitionView(parent, WallClock::Instance(), ownRandom_, PixelOptions{}) {}

TransitionView::TransitionView(QWidget* parent, ShowClock& clock, RandomSource& random, PixelOptions pixels)
    : QWidget(parent), player_(clock, random, pixels) {
    // Opaque: the parent does not paint beneath the view, and no background is erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(100, 100);
    // The size as it is now, also while hidden (a hidden widget hears of its
    // resizing only when shown).
    player_.Scene().clientArea = [this] { return Rect{0, 0, width(), height()}; };
    connect(&player_, &TransitionPlayer::areasChanged, this, &TransitionView::RepaintAreas);
    connect(&player_, &TransitionPlayer::frameCleared, this, qOverload<>(&QWidget::update));
}

void TransitionView::RepaintAreas(const std::vector<Rect>& areas) {
    QRegion region;
    for (const Rect& area : areas) {
        const Rect r = player_.Scene().FrameAreaToClient(player_.Frame(), area).normalised();
        if (!r.isEmpty()) region += ToQRect(r);
    }
    // Shown at once: the next step may come before the event loop paints.
    if (!region.isEmpty()) repaint(region);
}

void TransitionView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!player_.Frame().isEmpty()) update();
}

void TransitionView::PaintDirect(QPainter& painter, const QRect& area) {
    const Bitmap24& frame = player_.Frame();
    const Rect placed = player_.Scene().PictureRect(frame);
    QRect frameArea;
    if (!frame.isEmpty()) frameArea = ToQRect(placed) & area;
    // The parts the frame does not cover show the colour.
    const QColor color = ColorFromColorRef(player_.Scene().color);
    for (const QRect& r : QRegion(area) - QRegion(frameArea))
        painter.fillRect(r, color);
    if (frameArea.isEmpty()) return;
    if (PaintIntoScreenImage(painter, frameArea)) return;
    // The frame's own pixels, wrapped without a copy; only the part in the
    // area is converted for the screen.
    const QImage image(frame.bits(), frame.width(), frame.height(), static_cast<qsizetype>(frame.stride()),
                       QImage::Format_BGR888);
    painter.drawImage(frameArea.topLeft(), image, frameArea.translated(-placed.left, -placed.top));
}

bool TransitionView::PaintIntoScreenImage(QPainter& painter, const QRect& frameArea) {
    // The window's backing store, when it is a 32-bit image of device
    // pixels, takes the frame's pixels straight: one pass that only widens
    // them, instead of the painter's general conversion of 24-bit images
    // (several times slower, the largest cost of a 4K frame). Only what Qt
    // lets this view paint is written: its system clip, which leaves out
    // what lies outside the window and under opaque widgets above it.
    QPaintEngine* engine = painter.paintEngine();
    QBackingStore* store = backingStore();
    // Renderings into other images (captures, grabs) go through the painter.
    if (!engine || !store || engine->paintDevice() != store->paintDevice()) return false;
    auto* image = dynamic_cast<QImage*>(engine->paintDevice());
    if (!image || image->devicePixelRatio() != 1.0) return false;
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QRegion allowed = engine->systemClip();
    if (allowed.isEmpty()) return false;
    // Window coordinates are the image's: the store belongs to the top-level window.
    const Bitmap24& frame = player_.Frame();
    const Rect placed = player_.Scene().PictureRect(frame);
    const QPoint offset = mapTo(window(), QPoint(0, 0));
    const QRegion target = allowed & QRegion(frameArea.translated(offset)) & QRegion(image->rect());
    const QPoint frameOrigin = offset + QPoint(placed.left, placed.top);
    for (const QRect& r : target) {
        const Rect source{r.left() - frameOrigin.x(), r.top() - frameOrigin.y(),
                          r.right() + 1 - frameOrigin.x(), r.bottom() + 1 - frameOrigin.y()};
        CopyToXrgb32(player_.Pixels(), frame, source,
                     image->scanLine(r.top()) + static_cast<std::size_t>(r.left()) * 4,
                     static_cast<std::size_t>(image->bytesPerLine()));
    }
    return true;
}

void TransitionView::paintEvent(QPaintEvent* event) {
    // One rectangle around the changed parts; the painter's clip (the
    // region itself) keeps drawing inside them. Only that part is drawn and
    // converted for the screen: a step repaints just what it changed.
    const QRect area = event->region().boundingRect() & rect();
    if (area.isEmpty()) return;
    QPainter painter(this);
    const TransitionScene& scene = player_.Scene();
    if (!scene.stretch && !scene.DrawsBackground()) {
        PaintDirect(painter, area);
        return;
    }
    scene.Render(player_.Pixels(), paintBuffer_,
                 {area.left(), area.top(), area.right() + 1, area.bottom() + 1}, player_.Frame());
    if (paintBuffer_.isEmpty()) return;
    const QImage image(paintBuffer_.bits(), paintBuffer_.width(), paintBuffer_.height(),
                       static_cast<qsizetype>(paintBuffer_.stride()), QImage::Format_BGR888);
    painter.drawImage(area.topLeft(), image, area);
}

} // namespace scr
