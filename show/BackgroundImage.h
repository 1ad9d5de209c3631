#pragma once
// The show's background: the background colour with the package's background
// picture tiled over it, painted once when the show starts, and afterwards
// the canvas onto which pictures without exit transition stay as a collage.

#include "platform/Bitmap24.h"
#include "transitions/Rect.h"

#include <QWidget>

namespace scr {

// Copies `tile` in rows and columns from the top-left corner of `area` of
// `target`; the last row and column are cut so nothing lands outside `area`
// (or outside the target). Nothing for an empty tile.
void TileBitmap(Bitmap24& target, const Rect& area, const Bitmap24& tile);

// Copies the part `from` of `source` to `target` at `to`, clipped to both bitmaps.
void CopyBitmapRect(const Bitmap24& source, const Rect& from, Bitmap24& target, Point to);

class BackgroundImage : public QWidget {
    Q_OBJECT

public:
    explicit BackgroundImage(QWidget* parent);

    // Fills a canvas of the given size with the colour and tiles the picture
    // (if any) over it.
    void Paint(int width, int height, uint32_t colorRef, const Bitmap24* picture);

    const Bitmap24& canvas() const { return canvas_; }
    // The canvas under r (parts outside the canvas are black).
    Bitmap24 Copy(const Rect& r) const;
    // Draws a picture onto the canvas for good, its top-left at `to`.
    void Draw(const Bitmap24& picture, Point to);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Bitmap24 canvas_;
};

} // namespace scr
