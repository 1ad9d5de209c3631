#include "dialogs/SkinnedDialog.h"

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

SkinnedDialog::SkinnedDialog(QWidget* owner) : QDialog(owner) {
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

    ui_.titleBar = MakeFramePanel(this, "PanelTop");
    ui_.titleMiddle = MakeImage(ui_.titleBar, "ImageTopCenter", true);
    ui_.titleLeft = MakeImage(ui_.titleBar, "ImageTopLeft", false);
    ui_.titleRight = MakeImage(ui_.titleBar, "ImageTopRight", false);
    ui_.caption = new QLabel(ui_.titleBar);
    ui_.caption->setObjectName(QStringLiteral("Label_XNeo_Caption"));
    ui_.caption->setFont(DialogFont(12));
    QPalette captionColours = ui_.caption->palette();
    captionColours.setColor(QPalette::WindowText, Qt::white);
    ui_.caption->setPalette(captionColours);
    ui_.caption->setTextFormat(Qt::PlainText);
    ui_.caption->installEventFilter(this);
    DeclareComponent(ui_.caption, ComponentRole::Label);
    ui_.systemMenu = MakeImage(ui_.titleBar, "ImageSysMenu", false);
    ui_.systemMenu->setCenter(true);
    ui_.systemMenu->setGeometry(9, 5, 32, 32);
    ui_.closeButton = new HoverImage(ui_.titleBar);
    ui_.closeButton->setObjectName(QStringLiteral("ImageClose"));
    ui_.closeButton->setCursor(Qt::PointingHandCursor);
    ui_.closeButton->setAutoSize(true);
    ui_.closeButton->setGeometry(kDesignWidth - kCloseFromRight, kCloseTop, 17, 19);

    ui_.bottomBorder = MakeFramePanel(this, "PanelBottom");
    ui_.bottomLeft = MakeImage(ui_.bottomBorder, "ImageBottomLeft", false);
    ui_.bottomMiddle = MakeImage(ui_.bottomBorder, "ImageBottomCenter", true);
    ui_.bottomRight = MakeImage(ui_.bottomBorder, "ImageBottomRight", false);
    ui_.leftBorder = MakeFramePanel(this, "PanelLeft");
    ui_.leftPicture = MakeImage(ui_.leftBorder, "ImageLeft", true);
    ui_.rightBorder = MakeFramePanel(this, "PanelRight");
    ui_.rightPicture = MakeImage(ui_.rightBorder, "ImageRight", true);

    connect(ui_.closeButton, &ImageControl::clicked, this, &SkinnedDialog::ImageCloseClick);
    connect(ui_.closeButton, &HoverImage::mouseIn, this, &SkinnedDialog::ImageCloseMouseIn);
    connect(ui_.closeButton, &HoverImage::mouseOut, this, &SkinnedDialog::ImageCloseMouseOut);
    connect(ui_.systemMenu, &ImageControl::clicked, this, &SkinnedDialog::ImageSysMenuClick);
    connect(ui_.systemMenu, &ImageControl::doubleClicked, this, &SkinnedDialog::ImageCloseClick);

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

SkinnedDialog::~SkinnedDialog() = default;

void SkinnedDialog::LoadSkinImages() {
    SkinBitmaps[kTitleLeftActive] = JpegSkinPicture("XTOP_0");
    SkinBitmaps[kTitleRightActive] = JpegSkinPicture("XTOP_1");
    SkinBitmaps[kTitleLeftInactive] = JpegSkinPicture("XTOP_2");
    SkinBitmaps[kTitleRightInactive] = JpegSkinPicture("XTOP_3");
    SkinBitmaps[kTitleMiddleActive] = LoadBitmapResource(QStringLiteral("XVTIMG_4"));
    SkinBitmaps[kTitleMiddleInactive] = LoadBitmapResource(QStringLiteral("XVTIMG_5"));
    SkinBitmaps[kCloseNormal] = LoadBitmapResource(QStringLiteral("XVTIMG_11"));
    SkinBitmaps[kCloseHot] = LoadBitmapResource(QStringLiteral("XVTIMG_12"));
    ui_.leftPicture->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_6")));
    ui_.rightPicture->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_7")));
    ui_.bottomLeft->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_8")));
    ui_.bottomMiddle->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_9")));
    ui_.bottomRight->setPicture(LoadBitmapResource(QStringLiteral("XVTIMG_10")));
    ui_.closeButton->setPicture(SkinBitmaps[kCloseNormal]);
}

const QPixmap& SkinnedDialog::SkinBitmap(int slot) const {
    static const QPixmap none;
    if (slot < 0 || slot >= kSkinSlotCount) return none;
    return SkinBitmaps[static_cast<std::size_t>(slot)];
}

void SkinnedDialog::SetFrameCaption(const QString& text) {
    ui_.caption->setText(text);
    ui_.caption->resize(ui_.caption->width(), CaptionHeight());
    setWindowTitle(text);
}

int SkinnedDialog::CaptionHeight() const {
    // The label is as high as its text (at least one line, also while empty).
    return std::max(ui_.caption->sizeHint().height(), ui_.caption->fontMetrics().height());
}

QString SkinnedDialog::GetFrameCaption() const {
    return ui_.caption->text();
}

void SkinnedDialog::SetFrameIcon(const QIcon& icon, bool transparent) {
    ui_.systemMenu->setPicture(icon.isNull() ? QPixmap() : icon.pixmap(QSize(32, 32)));
    ui_.systemMenu->setTransparent(transparent);
}

void SkinnedDialog::SetCancelButton(QAbstractButton* button) {
    cancelButton_ = button;
}

void SkinnedDialog::CenterOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void SkinnedDialog::EmbedPanel(QWidget* panel) {
    if (!panel) return;
    PanelTopResize();
    PanelBottomResize();
    resize(panel->width() + kLeftWidth + kRightWidth, panel->height() + kTitleHeight + kBottomHeight);
    AlignFrameParts();
    if (panel->parentWidget() != this) panel->setParent(this);
    panel->setGeometry(kLeftWidth, kTitleHeight, panel->width(), panel->height());
    panel->show();
}

void SkinnedDialog::AlignFrameParts() {
    const int w = width();
    const int h = height();
    const int sideHeight = std::max(h - kTitleHeight - kBottomHeight, 0);
    ui_.titleBar->setGeometry(0, 0, w, kTitleHeight);
    ui_.bottomBorder->setGeometry(0, std::max(h - kBottomHeight, 0), w, kBottomHeight);
    ui_.leftBorder->setGeometry(0, kTitleHeight, kLeftWidth, sideHeight);
    ui_.rightBorder->setGeometry(std::max(w - kRightWidth, 0), kTitleHeight, kRightWidth, sideHeight);
    ui_.leftPicture->setGeometry(ui_.leftBorder->rect());
    ui_.rightPicture->setGeometry(ui_.rightBorder->rect());
    PanelTopResize();
    PanelBottomResize();
}

void SkinnedDialog::PanelTopResize() {
    const int t = ui_.titleBar->width();
    const int f = width();
    const int middle = t - kTitleLeftWidth - kTitleRightWidth;
    ui_.caption->setGeometry(kCaptionLeft, kCaptionTop, std::max(f - 175, 0), CaptionHeight());
    ui_.caption->lower();
    ui_.titleLeft->setGeometry(0, 0, kTitleLeftWidth, kTitleHeight);
    ui_.titleRight->setGeometry(t - kTitleRightWidth, 0, kTitleRightWidth, kTitleHeight);
    ui_.titleMiddle->lower();
    ui_.titleMiddle->setGeometry(kTitleLeftWidth, 0, std::max(middle, 0), kTitleHeight);
    ui_.closeButton->move(t - kCloseFromRight, ui_.closeButton->y());
    ui_.titleBar->update();
}

void SkinnedDialog::PanelBottomResize() {
    const int b = ui_.bottomBorder->width();
    ui_.bottomLeft->setGeometry(0, 0, kLeftWidth, kBottomHeight);
    ui_.bottomRight->setGeometry(b - kRightWidth, 0, kRightWidth, kBottomHeight);
    ui_.bottomMiddle->setGeometry(kLeftWidth, 0, std::max(b - kLeftWidth - kRightWidth, 0), kBottomHeight);
    ui_.bottomBorder->update();
}

void SkinnedDialog::ShowTitlePictures(bool active) {
    ui_.titleLeft->setPicture(SkinBitmaps[active ? kTitleLeftActive : kTitleLeftInactive]);
    ui_.titleRight->setPicture(SkinBitmaps[active ? kTitleRightActive : kTitleRightInactive]);
    ui_.titleMiddle->setPicture(SkinBitmaps[active ? kTitleMiddleActive : kTitleMiddleInactive]);
}

void SkinnedDialog::FormActivate() {
    PanelTopResize();
    PanelBottomResize();
}

bool SkinnedDialog::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        ShowTitlePictures(event->type() == QEvent::WindowActivate);
        // A scheduled repaint: activation can change while a child is being
        // reparented (a Flash host joining the window), when painting at once
        // would flush a window that is half rebuilt.
        ui_.titleBar->update();
        if (event->type() == QEvent::WindowActivate) FormActivate();
    }
    return handled;
}

void SkinnedDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    AlignFrameParts();
}

bool SkinnedDialog::RequestSystemMove() {
    QWindow* window = windowHandle();
    return window && window->startSystemMove();
}

void SkinnedDialog::Label_XNeo_CaptionMouseDown(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (RequestSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

bool SkinnedDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.caption) {
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

void SkinnedDialog::ImageCloseClick() {
    close();
}

void SkinnedDialog::ImageSysMenuClick() {}

void SkinnedDialog::ImageCloseMouseIn(HoverImage*) {
    ui_.closeButton->setPicture(SkinBitmaps[kCloseHot]);
}

void SkinnedDialog::ImageCloseMouseOut(HoverImage*) {
    ui_.closeButton->setPicture(SkinBitmaps[kCloseNormal]);
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isVisible() && cancelButton_->isEnabled()) cancelButton_->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SkinnedDialog::reject() {
    done(mrCancel);
}

} // namespace scr
