#include "transitions/control/TCustomPic_Trans.h"

#include "platform/gui/QtColorRef.h"
#include "transitions/BitmapBlit.h"
#include "transitions/BitmapHelpers.h"
#include "transitions/FrameComposer.h"
#include "transitions/MulDiv.h"

#include <QBackingStore>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace scr {
namespace {

// Sets a flag for the lifetime of a scope, clearing it also when leaving by an exception.
template <typename Flag>
class FlagScope {
public:
    explicit FlagScope(Flag& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    Flag& flag_;
};

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

} // namespace

TCustomPic_Trans::TCustomPic_Trans(QWidget* parent, ShowClock& clock)
    : QWidget(parent), runner_(
                           clock, [this] { return RunPacedStep(); }, [this] { return int(delay_); }) {
    // Opaque: the parent does not paint beneath the control, and no background is erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    picture_.setOnChange([this] { PictureChange(); });
    bgPicture_.setOnChange([this] { BgPictureChange(); });
    resize(100, 100);
    connect(&runner_, &TransitionRunner::reachedEnd, this, [this] { AnimationComplete(this); });
}

TCustomPic_Trans::~TCustomPic_Trans() {
    destroying_ = true;
    runner_.Halt();
}

// --- Pictures and properties ---------------------------------------------

void TCustomPic_Trans::SetPicture(const TransitionPicture* picture) {
    if (picture)
        picture_.assign(*picture);
    else
        picture_.clear();
}

void TCustomPic_Trans::SetBgPicture(const TransitionPicture* picture) {
    if (picture)
        bgPicture_.assign(*picture);
    else
        bgPicture_.clear();
}

void TCustomPic_Trans::SetBgMode(TBackgroundMode mode) {
    if (mode == bgMode_) return;
    bgMode_ = mode;
    if (bgPicture_.hasGraphic() && !painting_) InvalidateControl();
}

void TCustomPic_Trans::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    if (picture_.hasGraphic()) {
        CalculatePicRect();
        if (!frame_.isEmpty() && !painting_) InvalidateControl();
    }
}

void TCustomPic_Trans::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    if (!frame_.isEmpty() && !painting_) InvalidateControl();
}

void TCustomPic_Trans::SetStretchFine(bool value) {
    if (value == stretchFine_) return;
    stretchFine_ = value;
    if (!frame_.isEmpty() && !painting_) InvalidateControl();
}

void TCustomPic_Trans::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    if (value) AdjustClientSize();
}

void TCustomPic_Trans::AdjustClientSize() {
    if (picture_.hasGraphic() && align_ == TAlign::alNone) resize(picture_.width(), picture_.height());
}

void TCustomPic_Trans::SetStep(uint16_t value) {
    step_ = std::clamp<uint16_t>(value, 1, 100);
}

void TCustomPic_Trans::SetColor(uint32_t colorRef) {
    if (colorRef == color_) return;
    color_ = colorRef;
    if (!painting_) InvalidateControl();
}

void TCustomPic_Trans::PictureChange() {
    if (destroying_) return;
    if (picture_.hasGraphic() && autoSize_) AdjustClientSize();
    if (OnChange) OnChange(this);
}

void TCustomPic_Trans::BgPictureChange() {
    if (bgMode_ != TBackgroundMode::bmNone && !painting_) InvalidateControl();
}

void TCustomPic_Trans::SetManual(bool value) {
    if (value == manual_) return;
    manual_ = value;
    if (!running_)
        progress_ = reverse_ ? 100 : 0;
    else if (!value)
        Animate();
    else
        runner_.Halt();
}

// --- Geometry --------------------------------------------------------------

void TCustomPic_Trans::CalculatePicRect() {
    if (frame_.isEmpty()) return;
    picRect_ = {0, 0, frame_.width(), frame_.height()};
    if (center_)
        picRect_ = picRect_.translated((width() - frame_.width()) / 2, (height() - frame_.height()) / 2);
}

Rect TCustomPic_Trans::DisplayRect() const {
    if (!stretch_) return picRect_;
    if (stretchFine_ && !picRect_.isEmpty()) return ScaleImageToRect(picRect_, ClientRect());
    return ClientRect();
}

Rect TCustomPic_Trans::FrameAreaToClient(const Rect& r) const {
    const Rect& P = picRect_;
    if (stretch_) {
        const Rect T = DisplayRect();
        if (P.width() <= 0 || P.height() <= 0) return {};
        return {T.left + MulDiv(r.left, T.width(), P.width()), T.top + MulDiv(r.top, T.height(), P.height()),
                T.left + MulDiv(r.right, T.width(), P.width()),
                T.top + MulDiv(r.bottom, T.height(), P.height())};
    }
    Rect out = center_ ? r.translated(P.left, P.top) : r;
    out.left = std::max(out.left, P.left);
    out.top = std::max(out.top, P.top);
    out.right = std::min(out.right, P.right);
    out.bottom = std::min(out.bottom, P.bottom);
    return out;
}

void TCustomPic_Trans::InvalidateArea(const Rect& r) {
    const Rect area = FrameAreaToClient(r);
    if (destroying_) return;
    Rect normal = area;
    if (normal.left > normal.right) std::swap(normal.left, normal.right);
    if (normal.top > normal.bottom) std::swap(normal.top, normal.bottom);
    if (normal.isEmpty()) return;
    // The area of the parent's window under the control: the control's own
    // area in its coordinates (a child widget paints into its parent's window).
    update(ToQRect(normal));
    pendingRepaint_ += ToQRect(normal);
}

void TCustomPic_Trans::InvalidateControl() {
    update();
}

// --- Transitions -----------------------------------------------------------

void TCustomPic_Trans::Execute() {
    if (running_ || !picture_.hasGraphic()) return;
    running_ = true;
    try {
        Prepare();
        if (!manual_) Animate();
    } catch (...) {
        runner_.Halt();
        oldPicture_.reset();
        DropNewPicture();
        running_ = false;
        throw;
    }
}

void TCustomPic_Trans::Prepare() {
    const int w = picture_.width();
    const int h = picture_.height();
    frameMemory_.forget();
    DropNewPicture();
    newPicture_ = picture_.share();
    if (style_ == 0 && !OnCustomDraw && !manual_ && !reverse_) {
        // An instant cut: its one step shows the new picture, and nothing
        // shows the old one, which is not made.
        oldPicture_.reset();
        {
            std::lock_guard lock(frameLock_);
            if (frame_.width() != w || frame_.height() != h) {
                frame_.setSize(w, h);
                DrawBitmap(frame_, 0, 0, *newPicture_);
            }
        }
        CalculatePicRect();
        SetProgress(0);
        return;
    }
    // The old picture is what the control shows now where the new picture
    // will appear: colour, background and the last frame, freshly drawn at
    // the current size, resampled to the picture's size. When the last frame
    // fills that place pixel for pixel, it is that picture as it stands.
    const bool frameIsOldPicture = FrameShownAsItIs(w, h);
    if (frameIsOldPicture) {
        std::lock_guard lock(frameLock_);
        oldPicture_ = std::make_unique<Bitmap24>(frame_);
    } else {
        RenderPaintBuffer(ClientRect());
        {
            std::lock_guard lock(frameLock_);
            frame_.setSize(w, h);
        }
        CalculatePicRect();
        oldPicture_ = std::make_unique<Bitmap24>(w, h);
        std::lock_guard lock(paintBufferLock_);
        StretchDraw(*oldPicture_, {0, 0, w, h}, paintBuffer_, DisplayRect());
    }

    // Until the first frame is composed the frame shows the start state.
    if (reverse_ || !frameIsOldPicture) {
        std::lock_guard lock(frameLock_);
        DrawBitmap(frame_, 0, 0, reverse_ ? *newPicture_ : *oldPicture_);
    }
    if (!reverse_) frameMemory_.holdsOldPicture();
    SetProgress(reverse_ ? 100 : 0);
}

bool TCustomPic_Trans::FrameShownAsItIs(int w, int h) const {
    if (stretch_ || DrawsBackgroundPicture() || frame_.width() != w || frame_.height() != h) return false;
    Rect place{0, 0, w, h};
    if (center_) place = place.translated((width() - w) / 2, (height() - h) / 2);
    const Rect client = ClientRect();
    return place == picRect_ && place.intersected(client) == place;
}

bool TCustomPic_Trans::AtEnd() const {
    return reverse_ ? progress_ == 0 : progress_ == 100;
}

TransitionRunner::StepResult TCustomPic_Trans::RunPacedStep() {
    if (!running_ || stopping_ || destroying_) return {progress_, true};
    const int next = reverse_ ? (progress_ < step_ ? 0 : progress_ - step_) : progress_ + step_;
    SetProgress(next);
    return {progress_, AtEnd()};
}

void TCustomPic_Trans::Animate() {
    runner_.Drive(threaded_ ? TransitionPacing::Threaded : TransitionPacing::CallingThread);
}

void TCustomPic_Trans::SetProgress(int value) {
    value = std::min(value, 100);
    if (!running_ || value == progress_) return;
    if (value < progress_ && !painting_) InvalidateArea({0, 0, frame_.width(), frame_.height()});
    progress_ = static_cast<TPercent>(std::max(value, 0));
    UpdateDisplay();
    if (!destroying_ && OnProgress) OnProgress(this);
}

void TCustomPic_Trans::UpdateDisplay() {
    if (!newPicture_) return;
    // Handlers may draw on the picture they are given: they get the control's own copy.
    if (OnBeforeNewFrame || OnCustomDraw || OnAfterNewFrame) OwnNewPicture();
    const Bitmap24& picture = *newPicture_;
    const Bitmap24& oldPicture = oldPicture_ ? *oldPicture_ : picture; // an instant cut has none
    FrameHooks hooks;
    if (OnBeforeNewFrame) hooks.beforeNewFrame = [&] { OnBeforeNewFrame(this, *ownNewPicture_, frame_); };
    if (OnCustomDraw) hooks.customDraw = [&] { OnCustomDraw(this, *ownNewPicture_, frame_); };
    hooks.invalidate = [this](const Rect& r) { InvalidateArea(r); };
    const FrameResult result =
        ComposeFrame(frame_, {oldPicture, picture, progress_, step_, style_}, *random_, hooks, &frameMemory_);
    if (result.reachedEnd) progress_ = 100;
    if (!result.composed) return;
    if (OnAfterNewFrame) {
        OnAfterNewFrame(this, *ownNewPicture_, frame_);
        frameMemory_.forget();
    }
    // Show the changed area at once.
    if (!painting_ && !destroying_ && !pendingRepaint_.isEmpty()) {
        const QRegion area = pendingRepaint_;
        pendingRepaint_ = QRegion();
        repaint(area);
    }
}

void TCustomPic_Trans::OwnNewPicture() {
    if (ownNewPicture_) return;
    auto own = std::make_shared<Bitmap24>(*newPicture_);
    ownNewPicture_ = own.get();
    newPicture_ = std::move(own);
}

void TCustomPic_Trans::DropNewPicture() {
    newPicture_.reset();
    ownNewPicture_ = nullptr;
}

void TCustomPic_Trans::AnimationComplete(QObject*) {
    if (!stopping_ && manual_) {
        runner_.Halt();
        return;
    }
    running_ = false;
    oldPicture_.reset();
    DropNewPicture();
    if (!destroying_ && !stopping_ && OnComplete) OnComplete(this);
    if (!destroying_) runner_.Finish();
}

void TCustomPic_Trans::Stop() {
    if (!running_ || stopping_) return;
    FlagScope scope(stopping_);
    runner_.Halt();
    AnimationComplete(this);
}

void TCustomPic_Trans::Clear() {
    if (running_ || frame_.isEmpty()) return;
    std::unique_lock lock(frameLock_, std::try_to_lock);
    if (!lock.owns_lock()) return;
    frame_ = Bitmap24();
    frameMemory_.forget();
    lock.unlock();
    InvalidateControl();
}

// --- Painting and notifications ----------------------------------------

bool TCustomPic_Trans::DrawsBackgroundPicture() const {
    return bgMode_ != TBackgroundMode::bmNone && bgPicture_.hasGraphic();
}

void TCustomPic_Trans::RenderPaintBuffer(const Rect& area) {
    std::lock_guard lock(paintBufferLock_);
    if (paintBuffer_.width() != width() || paintBuffer_.height() != height())
        paintBuffer_.setSize(width(), height());
    const Rect client = ClientRect();
    const Rect clip = area.intersected(client);
    if (clip.isEmpty()) return;
    FillRect(paintBuffer_, clip, color_);
    if (DrawsBackgroundPicture()) {
        const Bitmap24& bg = bgPicture_.bitmap();
        const Rect whole{0, 0, bg.width(), bg.height()};
        switch (bgMode_) {
        case TBackgroundMode::bmTiled:
            DrawTiledImage(paintBuffer_, client, &bg, clip);
            break;
        case TBackgroundMode::bmStretched:
            StretchDraw(paintBuffer_, client, bg, whole, clip);
            break;
        case TBackgroundMode::bmCentered: {
            const int dx = (client.width() - bg.width()) / 2;
            const int dy = (client.height() - bg.height()) / 2;
            StretchDraw(paintBuffer_, whole.translated(dx, dy), bg, whole, clip);
            break;
        }
        case TBackgroundMode::bmNone:
            break;
        }
    }
    std::lock_guard frameLock(frameLock_);
    if (frame_.isEmpty()) return;
    const Rect frameRect{0, 0, frame_.width(), frame_.height()};
    StretchDraw(paintBuffer_, stretch_ ? DisplayRect() : frameRect.translated(picRect_.left, picRect_.top),
                frame_, frameRect, clip);
}

void TCustomPic_Trans::PaintDirect(QPainter& painter, const QRect& area) {
    std::lock_guard lock(frameLock_);
    QRect frameArea;
    if (!frame_.isEmpty())
        frameArea = QRect(picRect_.left, picRect_.top, frame_.width(), frame_.height()) & area;
    // The parts the frame does not cover show the colour.
    const QColor color = ColorFromColorRef(color_);
    for (const QRect& r : QRegion(area) - QRegion(frameArea))
        painter.fillRect(r, color);
    if (frameArea.isEmpty()) return;
    if (PaintIntoScreenImage(painter, frameArea)) return;
    // The frame's own pixels, wrapped without a copy; only the part in the
    // area is converted for the screen.
    const QImage image(frame_.bits(), frame_.width(), frame_.height(),
                       static_cast<qsizetype>(frame_.stride()), QImage::Format_BGR888);
    painter.drawImage(frameArea.topLeft(), image, frameArea.translated(-picRect_.left, -picRect_.top));
}

bool TCustomPic_Trans::PaintIntoScreenImage(QPainter& painter, const QRect& frameArea) {
    // The window's backing store, when it is a 32-bit image of device
    // pixels, takes the frame's pixels straight: one pass that only widens
    // them, instead of the painter's general conversion of 24-bit images
    // (several times slower, the largest cost of a 4K frame). Only what Qt
    // lets this control paint is written: its system clip, which leaves out
    // what lies outside the window and under opaque controls above it.
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
    const QPoint offset = mapTo(window(), QPoint(0, 0));
    const QRegion target = allowed & QRegion(frameArea.translated(offset)) & QRegion(image->rect());
    const QPoint frameOrigin = offset + QPoint(picRect_.left, picRect_.top);
    for (const QRect& r : target) {
        const Rect source{r.left() - frameOrigin.x(), r.top() - frameOrigin.y(),
                          r.right() + 1 - frameOrigin.x(), r.bottom() + 1 - frameOrigin.y()};
        CopyToXrgb32(frame_, source, image->scanLine(r.top()) + static_cast<std::size_t>(r.left()) * 4,
                     static_cast<std::size_t>(image->bytesPerLine()));
    }
    return true;
}

void TCustomPic_Trans::Paint(const QRegion& region) {
    // One rectangle around the changed parts; the painter's clip (the
    // region itself) keeps drawing inside them.
    const QRect area = region.boundingRect() & rect();
    if (area.isEmpty()) return;
    QPainter painter(this);
    if (!stretch_ && !DrawsBackgroundPicture()) {
        PaintDirect(painter, area);
        return;
    }
    RenderPaintBuffer({area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    std::lock_guard lock(paintBufferLock_);
    if (paintBuffer_.isEmpty()) return;
    const QImage image(paintBuffer_.bits(), paintBuffer_.width(), paintBuffer_.height(),
                       static_cast<qsizetype>(paintBuffer_.stride()), QImage::Format_BGR888);
    painter.drawImage(area.topLeft(), image, area);
}

void TCustomPic_Trans::paintEvent(QPaintEvent* event) {
    if (painting_ || QThread::currentThread() != thread()) return;
    FlagScope scope(painting_);
    Paint(event->region());
}

void TCustomPic_Trans::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (picture_.hasGraphic()) {
        CalculatePicRect();
        if (!frame_.isEmpty() && !painting_) InvalidateControl();
    }
}

void TCustomPic_Trans::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomPic_Trans::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace scr
