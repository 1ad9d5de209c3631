#include "dialogs/SkinnedFrame.h"

#include "dialogs/ComponentRole.h"
#include "dialogs/JpegResource.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ProgramResource.h"
#include "platform/gui/Bitmap24Image.h"
#include "platform/gui/TaskbarEntry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace scr {
namespace {

// Design size of the frame before a panel is embedded.
constexpr int kDesignWidth = 529;
constexpr int kDesignHeight = 364;
constexpr int kCloseTop = 5;
constexpr int kCloseFromRight = 38;

QPixmap JpegSkinPicture(const char* name) {
    Bitmap24 bitmap;
    if (!LoadJpegResource(QString::fromLatin1(name), bitmap, false, 0)) return {};
    return QPixmap::fromImage(ImageFromBitmap(bitmap));
}

// A plain child panel in the form's colour.
QWidget* MakeFramePanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    return panel;
}

ImageControl* MakeImage(QWidget* parent, const char* name, bool stretch) {
    auto* image = new ImageControl(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setStretch(stretch);
    return image;
}

} // namespace

QFont DialogFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    return font;
}

TFormScrNeo::TFormScrNeo(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormScrNeo"));
    // No system caption bar and no sizing border: the frame draws its own.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    if (!TaskbarEntryWanted()) HideTaskbarEntry(this);
    setMinimumSize(200, 60);
    resize(kDesignWidth, kDesignHeight);
    setFont(DialogFont(13));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorFromColorRef(kFormColor));
    setPalette(colours);
    setAutoFillBackground(true);

    PanelTop = MakeFramePanel(this, "PanelTop");
    ImageTopCenter = MakeImage(PanelTop, "ImageTopCenter", true);
    ImageTopLeft = MakeImage(PanelTop, "ImageTopLeft", false);
    ImageTopRight = MakeImage(PanelTop, "ImageTopRight", false);
    Label_XNeo_Caption = new QLabel(PanelTop);
    Label_XNeo_Caption->setObjectName(QStringLiteral("Label_XNeo_Caption"));
    Label_XNeo_Caption->setFont(DialogFont(12));
    QPalette captionColours = Label_XNeo_Caption->palette();
    captionColours.setColor(QPalette::WindowText, Qt::white);
    Label_XNeo_Caption->setPalette(captionColours);
    Label_XNeo_Caption->setTextFormat(Qt::PlainText);
    Label_XNeo_Caption->installEventFilter(this);
    DeclareComponent(Label_XNeo_Caption, ComponentRole::Label);
    ImageSysMenu = MakeImage(PanelTop, "ImageSysMenu", false);
    ImageSysMenu->setCenter(true);
    ImageSysMenu->setGeometry(9, 5, 32, 32);
    ImageClose = new XImageEx(PanelTop);
    ImageClose->setObjectName(QStringLiteral("ImageClose"));
    ImageClose->setCursor(Qt::PointingHandCursor);
    ImageClose->setAutoSize(true);
    ImageClose->setGeometry(kDesignWidth - kCloseFromRight, kCloseTop, 17, 19);

    PanelBottom = MakeFramePanel(this, "PanelBottom");
    ImageBottomLeft = MakeImage(PanelBottom, "ImageBottomLeft", false);
    ImageBottomCenter = MakeImage(PanelBottom, "ImageBottomCenter", true);
    ImageBottomRight = MakeImage(PanelBottom, "ImageBottomRight", false);
    PanelLeft = MakeFramePanel(this, "PanelLeft");
    ImageLeft = MakeImage(PanelLeft, "ImageLeft", true);
    PanelRight = MakeFramePanel(this, "PanelRight");
    ImageRight = MakeImage(PanelRight, "ImageRight", true);

    connect(ImageClose, &ImageControl::clicked, this, &TFormScrNeo::ImageCloseClick);
    connect(ImageClose, &XImageEx::mouseIn, this, &TFormScrNeo::ImageCloseMouseIn);
    connect(ImageClose, &XImageEx::mouseOut, this, &TFormScrNeo::ImageCloseMouseOut);
    connect(ImageSysMenu, &ImageControl::clicked, this, &TFormScrNeo::ImageSysMenuClick);
    connect(ImageSysMenu, &ImageControl::doubleClicked, this, &TFormScrNeo::ImageCloseClick);

    SetFrameCaption(windowTitle());
    LoadSkinImages();
    // Until the window is first activated it looks like an inactive window
    // rather than showing a title bar without pictures.
    ShowTitlePictures(false);
    AlignFrameParts();
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = QIcon(ProgramResourcePath(QStringLiteral("MAINICON")));
    SetFrameIcon(icon, true);
}

TFormScrNeo::~TFormScrNeo() = default;

void TFormScrNeo::LoadSkinImages() {
    SkinBitmaps[kTitleLeftActive] = JpegSkinPicture("XTOP_0");
    SkinBitmaps[kTitleRightActive] = JpegSkinPicture("XTOP_1");
    SkinBitmaps[kTitleLeftInactive] = JpegSkinPicture("XTOP_2");
    SkinBitmaps[kTitleRightInactive] = JpegSkinPicture("XTOP_3");
    SkinBitmaps[kTitleMiddleActive] = LoadBitmapResource(QStringLiteral("XVTIMG_4"));
    SkinBitmaps[kTitleMiddleInactive] = LoadBitmapResource(QStringLiteral("XVTIMG_5"));
    SkinBitmaps[kCloseNormal] = LoadBitmapResource(QStringLiteral("XVTIMG_11"));
    SkinBitmaps[kCloseHot] = LoadBitmapResource(QStringLiteral("XVTIMG_12"));
    ImageLeft->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_6")));
    ImageRight->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_7")));
    ImageBottomLeft->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_8")));
    ImageBottomCenter->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_9")));
    ImageBottomRight->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_10")));
    ImageClose->setPicture(SkinBitmaps[kCloseNormal]);
}

const QPixmap& TFormScrNeo::SkinBitmap(int slot) const {
    static const QPixmap none;
    if (slot < 0 || slot >= kSkinSlotCount) return none;
    return SkinBitmaps[static_cast<std::size_t>(slot)];
}

void TFormScrNeo::SetFrameCaption(const QString& text) {
    Label_XNeo_Caption->setText(text);
    Label_XNeo_Caption->resize(Label_XNeo_Caption->width(), CaptionHeight());
    setWindowTitle(text);
}

int TFormScrNeo::CaptionHeight() const {
    // The label is as high as its text (at least one line, also while empty).
    return std::max(Label_XNeo_Caption->sizeHint().height(), Label_XNeo_Caption->fontMetrics().height());
}

QString TFormScrNeo::GetFrameCaption() const {
    return Label_XNeo_Caption->text();
}

void TFormScrNeo::SetFrameIcon(const QIcon& icon, bool transparent) {
    ImageSysMenu->setPicture(icon.isNull() ? QPixmap() : icon.pixmap(QSize(32, 32)));
    ImageSysMenu->setTransparent(transparent);
}

void TFormScrNeo::SetCancelButton(QAbstractButton* button) {
    cancelButton_ = button;
}

void TFormScrNeo::CenterOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void TFormScrNeo::EmbedPanel(QWidget* panel) {
    if (!panel) return;
    PanelTopResize();
    PanelBottomResize();
    resize(panel->width() + kLeftWidth + kRightWidth, panel->height() + kTitleHeight + kBottomHeight);
    AlignFrameParts();
    if (panel->parentWidget() != this) panel->setParent(this);
    panel->setGeometry(kLeftWidth, kTitleHeight, panel->width(), panel->height());
    panel->show();
}

void TFormScrNeo::AlignFrameParts() {
    const int w = width();
    const int h = height();
    const int sideHeight = std::max(h - kTitleHeight - kBottomHeight, 0);
    PanelTop->setGeometry(0, 0, w, kTitleHeight);
    PanelBottom->setGeometry(0, std::max(h - kBottomHeight, 0), w, kBottomHeight);
    PanelLeft->setGeometry(0, kTitleHeight, kLeftWidth, sideHeight);
    PanelRight->setGeometry(std::max(w - kRightWidth, 0), kTitleHeight, kRightWidth, sideHeight);
    ImageLeft->setGeometry(PanelLeft->rect());
    ImageRight->setGeometry(PanelRight->rect());
    PanelTopResize();
    PanelBottomResize();
}

void TFormScrNeo::PanelTopResize() {
    const int t = PanelTop->width();
    const int f = width();
    const int middle = t - kTitleLeftWidth - kTitleRightWidth;
    Label_XNeo_Caption->setGeometry(kCaptionLeft, kCaptionTop, std::max(f - 175, 0), CaptionHeight());
    Label_XNeo_Caption->lower();
    ImageTopLeft->setGeometry(0, 0, kTitleLeftWidth, kTitleHeight);
    ImageTopRight->setGeometry(t - kTitleRightWidth, 0, kTitleRightWidth, kTitleHeight);
    ImageTopCenter->lower();
    ImageTopCenter->setGeometry(kTitleLeftWidth, 0, std::max(middle, 0), kTitleHeight);
    ImageClose->move(t - kCloseFromRight, ImageClose->y());
    PanelTop->update();
}

void TFormScrNeo::PanelBottomResize() {
    const int b = PanelBottom->width();
    ImageBottomLeft->setGeometry(0, 0, kLeftWidth, kBottomHeight);
    ImageBottomRight->setGeometry(b - kRightWidth, 0, kRightWidth, kBottomHeight);
    ImageBottomCenter->setGeometry(kLeftWidth, 0, std::max(b - kLeftWidth - kRightWidth, 0), kBottomHeight);
    PanelBottom->update();
}

void TFormScrNeo::ShowTitlePictures(bool active) {
    ImageTopLeft->setPicture(SkinBitmaps[active ? kTitleLeftActive : kTitleLeftInactive]);
    ImageTopRight->setPicture(SkinBitmaps[active ? kTitleRightActive : kTitleRightInactive]);
    ImageTopCenter->setPicture(SkinBitmaps[active ? kTitleMiddleActive : kTitleMiddleInactive]);
}

void TFormScrNeo::FormActivate() {
    PanelTopResize();
    PanelBottomResize();
}

bool TFormScrNeo::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        ShowTitlePictures(event->type() == QEvent::WindowActivate);
        // A scheduled repaint: activation can change while a child is being
        // reparented (a Flash host joining the window), when painting at once
        // would flush a window that is half rebuilt.
        PanelTop->update();
        if (event->type() == QEvent::WindowActivate) FormActivate();
    }
    return handled;
}

void TFormScrNeo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    AlignFrameParts();
}

bool TFormScrNeo::RequestSystemMove() {
    QWindow* window = windowHandle();
    return window && window->startSystemMove();
}

void TFormScrNeo::Label_XNeo_CaptionMouseDown(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (RequestSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

bool TFormScrNeo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label_XNeo_Caption) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Label_XNeo_CaptionMouseDown(static_cast<QMouseEvent*>(event));
            break;
        case QEvent::MouseMove:
            if (dragging_) move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) dragging_ = false;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormScrNeo::ImageCloseClick() {
    close();
}

void TFormScrNeo::ImageSysMenuClick() {}

void TFormScrNeo::ImageCloseMouseIn(XImageEx*) {
    ImageClose->setPicture(SkinBitmaps[kCloseHot]);
}

void TFormScrNeo::ImageCloseMouseOut(XImageEx*) {
    ImageClose->setPicture(SkinBitmaps[kCloseNormal]);
}

void TFormScrNeo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isVisible() && cancelButton_->isEnabled()) cancelButton_->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormScrNeo::reject() {
    done(mrCancel);
}

} // namespace scr
