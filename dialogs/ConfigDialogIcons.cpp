#include "dialogs/ConfigDialogIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace scr {
namespace {

QLinearGradient VerticalGradient(QColor light, QColor dark) {
    QLinearGradient gradient(0, 0, 0, 32);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

const QColor kBlueLight(0x4A, 0x93, 0xE6);
const QColor kBlueDark(0x1F, 0x62, 0xB8);
const QColor kOutline(0x17, 0x4A, 0x8C);

void DrawPlay(QPainter& p) {
    QPainterPath path;
    path.moveTo(9, 5);
    path.lineTo(27, 16);
    path.lineTo(9, 27);
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(VerticalGradient(QColor(0x5F, 0xC8, 0x6A), QColor(0x23, 0x8A, 0x3A)));
    p.drawPath(path);
}

void DrawPause(QPainter& p) {
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(VerticalGradient(kBlueLight, kBlueDark));
    p.drawRoundedRect(QRectF(7.5, 6, 6.5, 20), 1.5, 1.5);
    p.drawRoundedRect(QRectF(18, 6, 6.5, 20), 1.5, 1.5);
}

void DrawStop(QPainter& p) {
    p.setPen(QPen(QColor(0x8C, 0x22, 0x1A), 1.5));
    p.setBrush(VerticalGradient(QColor(0xEC, 0x5B, 0x4F), QColor(0xC2, 0x2E, 0x24)));
    p.drawRoundedRect(QRectF(7, 7, 18, 18), 2.5, 2.5);
}

// A disk: body, label and shutter.
void DrawDisk(QPainter& p, QRectF r) {
    const qreal s = r.width() / 24.0;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + 2 * s);
    body.quadTo(r.left(), r.top(), r.left() + 2 * s, r.top());
    body.lineTo(r.right() - 4 * s, r.top());
    body.lineTo(r.right(), r.top() + 4 * s);
    body.lineTo(r.right(), r.bottom() - 2 * s);
    body.quadTo(r.right(), r.bottom(), r.right() - 2 * s, r.bottom());
    body.lineTo(r.left() + 2 * s, r.bottom());
    body.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - 2 * s);
    body.closeSubpath();
    p.setPen(QPen(kOutline, 1.2 * s + 0.3));
    p.setBrush(VerticalGradient(kBlueLight, kBlueDark));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF6, 0xFA));
    p.drawRect(QRectF(r.left() + 4 * s, r.top() + 12 * s, 16 * s, 10 * s));
    p.setBrush(QColor(0xC9, 0xD3, 0xE0));
    p.drawRect(QRectF(r.left() + 6 * s, r.top() + 1 * s, 11 * s, 7 * s));
    p.setBrush(kBlueDark);
    p.drawRect(QRectF(r.left() + 13 * s, r.top() + 2 * s, 2.5 * s, 5 * s));
}

void DrawWallpaper(QPainter& p) {
    // A monitor showing a landscape.
    p.setPen(QPen(QColor(0x40, 0x46, 0x50), 1.5));
    p.setBrush(QColor(0x55, 0x5C, 0x66));
    p.drawRoundedRect(QRectF(3, 5, 26, 19), 2, 2);
    const QRectF screen(5.5, 7.5, 21, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(QColor(0x7C, 0xC4, 0xF5), QColor(0x2E, 0x7C, 0xC8)));
    p.drawRect(screen);
    QPainterPath hills;
    hills.moveTo(screen.left(), screen.bottom());
    hills.lineTo(screen.left(), 17);
    hills.quadTo(11, 12.5, 16, 17);
    hills.quadTo(21, 13.5, screen.right(), 16.5);
    hills.lineTo(screen.right(), screen.bottom());
    hills.closeSubpath();
    p.setBrush(QColor(0x3F, 0x9B, 0x4A));
    p.drawPath(hills);
    p.setBrush(QColor(0xFF, 0xE0, 0x6A));
    p.drawEllipse(QPointF(21, 10.5), 1.8, 1.8);
    p.setBrush(QColor(0x55, 0x5C, 0x66));
    p.drawRect(QRectF(13.5, 24, 5, 3));
    p.drawRoundedRect(QRectF(9, 26.5, 14, 2.5), 1, 1);
}

void DrawNote(QPainter& p) {
    // Two beamed quavers.
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(kBlueLight, kBlueDark));
    QPainterPath beam;
    beam.moveTo(11, 6);
    beam.lineTo(27, 3);
    beam.lineTo(27, 7.5);
    beam.lineTo(11, 10.5);
    beam.closeSubpath();
    p.drawPath(beam);
    p.drawRect(QRectF(11, 8, 2, 16));
    p.drawRect(QRectF(25, 5, 2, 16));
    p.save();
    p.translate(8.5, 24.5);
    p.rotate(-20);
    p.drawEllipse(QRectF(-4.5, -3.2, 9, 6.4));
    p.restore();
    p.save();
    p.translate(22.5, 21.5);
    p.rotate(-20);
    p.drawEllipse(QRectF(-4.5, -3.2, 9, 6.4));
    p.restore();
}

void DrawGlyph(QPainter& p, DialogGlyph glyph) {
    switch (glyph) {
    case DialogGlyph::Play:
        DrawPlay(p);
        break;
    case DialogGlyph::Pause:
        DrawPause(p);
        break;
    case DialogGlyph::Stop:
        DrawStop(p);
        break;
    case DialogGlyph::Save:
        DrawDisk(p, QRectF(4, 4, 24, 24));
        break;
    case DialogGlyph::SaveAll:
        DrawDisk(p, QRectF(10, 2, 19, 19));
        DrawDisk(p, QRectF(3, 11, 19, 19));
        break;
    case DialogGlyph::Wallpaper:
        DrawWallpaper(p);
        break;
    case DialogGlyph::Note:
        DrawNote(p);
        break;
    }
}

} // namespace

QIcon DialogGlyphIcon(DialogGlyph glyph, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        DrawGlyph(painter, glyph);
    }
    QIcon icon(pixmap);
    // A washed-out grey picture for the disabled state.
    QImage grey = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = 150 + qGray(line[x]) / 4;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) * 2 / 3);
        }
    }
    icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
    return icon;
}

} // namespace scr
