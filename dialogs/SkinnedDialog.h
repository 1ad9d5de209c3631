#pragma once
// SkinnedDialog: the skinned frame window all dialogs share. The window has no
// system frame; it draws its own 49-pixel title bar (left part, stretched
// middle, right part) with the caption text, the application icon and a
// close button that lights up under the mouse, 10- and 13-pixel side borders
// and a 12-pixel bottom border, all from pictures compiled into the program.
// The title pictures follow activation (an active and an inactive set);
// dragging the caption text moves the window. A derived form puts its whole
// content on one panel and calls EmbedPanel, which wraps the frame around it.

#include "dialogs/HoverImage.h"
#include "platform/gui/ImageControl.h"
#include "platform/gui/QtColorRef.h"

#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <array>

class QAbstractButton;
class QLabel;

namespace scr {

class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    // Measures of the frame in pixels.
    static constexpr int kTitleHeight = 49;
    static constexpr int kBottomHeight = 12;
    static constexpr int kLeftWidth = 10;
    static constexpr int kRightWidth = 13;
    static constexpr int kTitleLeftWidth = 81;
    static constexpr int kTitleRightWidth = 94;
    static constexpr int kCaptionLeft = 85;
    static constexpr int kCaptionTop = 11;
    // Background of the frame and of its panels, as a COLORREF (a light grey).
    static constexpr unsigned kFormColor = 0xCFCFCF;

    // Slots of SkinBitmaps.
    enum SkinSlot {
        kTitleLeftActive = 0,
        kTitleRightActive = 1,
        kTitleLeftInactive = 2,
        kTitleRightInactive = 3,
        kTitleMiddleActive = 4,
        kTitleMiddleInactive = 5,
        kCloseNormal = 6,
        kCloseHot = 7,
        kSkinSlotCount = 8,
    };

    explicit SkinnedDialog(QWidget* owner = nullptr);
    ~SkinnedDialog() override;

    // Sets the caption text in the title bar and the window's own title.
    void SetFrameCaption(const QString& text);
    QString GetFrameCaption() const;
    // Sizes the frame around a content panel: the client area becomes the
    // panel's size plus 23 x 61, with the panel at (10, 49).
    void EmbedPanel(QWidget* panel);
    // Shows an icon in the system-menu image; `transparent` lets the title bar
    // show through the icon's transparent parts.
    void SetFrameIcon(const QIcon& icon, bool transparent);
    // The button that Esc clicks; none (the default) means Esc does nothing.
    void SetCancelButton(QAbstractButton* button);
    // Moves the window to the centre of the primary screen.
    void CenterOnScreen();

    const QPixmap& SkinBitmap(int slot) const;

public slots:
    // Closing in any way other than a button with a result (Esc through the
    // cancel button aside) ends a modal run with mrCancel.
    void reject() override;

protected:
    // Asks the window system to move the window with the mouse, as if its own
    // caption were dragged. False when it cannot; the frame then follows the
    // mouse itself until the button is released.
    virtual bool RequestSystemMove();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    // Event handlers, named after the component and the event.
    void ImageCloseClick();
    void ImageSysMenuClick();
    void ImageCloseMouseIn(HoverImage* sender);
    void ImageCloseMouseOut(HoverImage* sender);

private:
    // The frame's controls. Each keeps its object name (the comment beside it), by
    // which the language tables and the tests find it.
    struct Ui {
        QWidget* titleBar = nullptr;          // PanelTop
        QLabel* caption = nullptr;            // Label_XNeo_Caption
        ImageControl* titleLeft = nullptr;    // ImageTopLeft
        ImageControl* titleMiddle = nullptr;  // ImageTopCenter
        ImageControl* titleRight = nullptr;   // ImageTopRight
        ImageControl* systemMenu = nullptr;   // ImageSysMenu
        HoverImage* closeButton = nullptr;    // ImageClose
        QWidget* bottomBorder = nullptr;      // PanelBottom
        ImageControl* bottomLeft = nullptr;   // ImageBottomLeft
        ImageControl* bottomMiddle = nullptr; // ImageBottomCenter
        ImageControl* bottomRight = nullptr;  // ImageBottomRight
        QWidget* leftBorder = nullptr;        // PanelLeft
        QWidget* rightBorder = nullptr;       // PanelRight
        ImageControl* leftPicture = nullptr;  // ImageLeft
        ImageControl* rightPicture = nullptr; // ImageRight
    };

    // Lays out the title bar for the current widths.
    void PanelTopResize();
    // Lays out the bottom border for the current width.
    void PanelBottomResize();
    // A press on the caption text: the left button starts moving the window.
    void Label_XNeo_CaptionMouseDown(QMouseEvent* event);
    void FormActivate();
    void LoadSkinImages();
    void AlignFrameParts();
    void ShowTitlePictures(bool active);
    int CaptionHeight() const;

    Ui ui_;
    std::array<QPixmap, kSkinSlotCount> SkinBitmaps;
    QAbstractButton* cancelButton_ = nullptr;
    bool dragging_ = false;
    QPoint dragOffset_;
};

// The font of the dialogs: Arial at the given pixel size.
QFont DialogFont(int pixelSize);

} // namespace scr
