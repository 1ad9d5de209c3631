#include "transitions/TransitionScene.h"

#include "transitions/BitmapBlit.h"
#include "transitions/BitmapHelpers.h"
#include "transitions/MulDiv.h"

namespace scr {

Rect TransitionScene::PictureRect(const Bitmap24& frame) const {
    const Rect whole{0, 0, frame.width(), frame.height()};
    if (frame.isEmpty() || !center) return whole;
    const Rect client = Client();
    return whole.translated((client.width() - frame.width()) / 2, (client.height() - frame.height()) / 2);
}

Rect TransitionScene::DisplayRect(const Bitmap24& frame) const {
    const Rect placed = PictureRect(frame);
    if (!stretch) return placed;
    if (stretchFine && !placed.isEmpty()) return ScaleImageToRect(placed, Client());
    return Client();
}

Rect TransitionScene::FrameAreaToClient(const Bitmap24& frame, const Rect& r) const {
    const Rect P = PictureRect(frame);
    if (stretch) {
        const Rect T = DisplayRect(frame);
        if (P.width() <= 0 || P.height() <= 0) return {};
        return {T.left + MulDiv(r.left, T.width(), P.width()), T.top + MulDiv(r.top, T.height(), P.height()),
                T.left + MulDiv(r.right, T.width(), P.width()),
                T.top + MulDiv(r.bottom, T.height(), P.height())};
    }
    Rect out = center ? r.translated(P.left, P.top) : r;
    out.left = std::max(out.left, P.left);
    out.top = std::max(out.top, P.top);
    out.right = std::min(out.right, P.right);
    out.bottom = std::min(out.bottom, P.bottom);
    return out;
}

bool TransitionScene::DrawsBackground() const {
    return backgroundMode != BackgroundMode::None && !background.isEmpty();
}

bool TransitionScene::ShowsFrameAsItIs(const Bitmap24& frame, int w, int h) const {
    if (stretch || DrawsBackground() || frame.width() != w || frame.height() != h || frame.isEmpty())
        return false;
    const Rect place = PictureRect(frame);
    return place.intersected(Client()) == place;
}

void TransitionScene::Render(const PixelOptions& options, Bitmap24& buffer, const Rect& area,
                             const Bitmap24& frame) const {
    const Rect client = Client();
    if (buffer.width() != client.width() || buffer.height() != client.height())
        buffer.setSize(client.width(), client.height());
    const Rect clip = area.intersected(client);
    if (clip.isEmpty()) return;
    FillRect(buffer, clip, color);
    if (DrawsBackground()) {
        const Rect whole{0, 0, background.width(), background.height()};
        switch (backgroundMode) {
        case BackgroundMode::Tiled:
            DrawTiledImage(options, buffer, client, &background, clip);
            break;
        case BackgroundMode::Stretched:
            StretchDraw(options, buffer, client, background, whole, clip);
            break;
        case BackgroundMode::Centered: {
            const int dx = (client.width() - background.width()) / 2;
            const int dy = (client.height() - background.height()) / 2;
            StretchDraw(options, buffer, whole.translated(dx, dy), background, whole, clip);
            break;
        }
        case BackgroundMode::None:
            break;
        }
    }
    if (frame.isEmpty()) return;
    const Rect frameRect{0, 0, frame.width(), frame.height()};
    StretchDraw(options, buffer, stretch ? DisplayRect(frame) : PictureRect(frame), frame, frameRect, clip);
}

} // namespace scr
