// TForm_XSCR_Config: the picture selector with its thumbnails and the preview.
#include "dialogs/ConfigDialog.h"
#include "dialogs/JpegResource.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/PreviewPlacement.h"
#include "package/StretchBitmap.h"
#include "package/XSCR.h"
#include "platform/gui/Bitmap24Image.h"
#include "platform/gui/ImageControl.h"
#include "show/VtFlashEx.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace scr {
namespace {

// The placeholder picture of a Flash item, decoded once per process.
const QPixmap& FlashPlaceholder() {
    static const QPixmap picture = [] {
        Bitmap24 bitmap;
        LoadJpegResource(QStringLiteral("XJPEGXFLASH"), bitmap, false, 0);
        return QPixmap::fromImage(ImageFromBitmap(bitmap));
    }();
    return picture;
}

} // namespace

void TForm_XSCR_Config::FillPictures() {
    const int count = package_->ItemCount();
    if (count <= 0) return;
    PanelScreen->setColor(ColorFromColorRef(package_->BackgroundColor()));
    // The selection handler runs once, for the final selection below.
    const QSignalBlocker quiet(ComboBoxPics);
    ComboBoxPics->clear();
    for (int i = 0; i < count; ++i) {
        const ShowItem item = package_->GetItem(i);
        QPixmap thumbnail;
        if (item.kind == ShowItem::Picture) {
            Bitmap24 bitmap;
            if (package_->GetThumbnail(bitmap, i, kThumbnailHeight, kThumbnailWidth))
                thumbnail = QPixmap::fromImage(ImageFromBitmap(bitmap));
        } else if (item.kind == ShowItem::Flash) {
            thumbnail = FlashPlaceholder();
        }
        ComboBoxPics->addItem(QStringLiteral("Pic"), thumbnail);
    }
    ComboBoxPics->setCurrentIndex(0);
    ComboBoxPicsChange();
    SBtnPSaveAll->setEnabled(count > 0 && !package_->NoSaving());
}

void TForm_XSCR_Config::ComboBoxPicsChange() {
    const int index = ComboBoxPics->currentIndex();
    if (index < 0) {
        SBtnPSave->setEnabled(false);
        BtnWallpaper->setEnabled(false);
        return;
    }
    FreeFlashPreview();
    const ShowItem item = package_->GetItem(index);
    ImageFore->setVisible(item.kind == ShowItem::Picture);
    if (item.kind == ShowItem::Picture) {
        Bitmap24 picture;
        if (package_->LoadPicture(picture, index, 0))
            PlacePreviewImage(picture, item);
        else
            ImageFore->setPicture(QPixmap());
        ImageFore->repaint();
        BtnWallpaper->setEnabled(!package_->NoSaving());
    } else {
        if (item.kind == ShowItem::Flash) {
            const ExtractResult movie = package_->ExtractFlash(index);
            if (movie.ok) {
                FlashPreview =
                    CreateFlashHost(PanelScreen, 1, 1, PanelScreen->width() - 2, PanelScreen->height() - 2);
                if (FlashPreview) {
                    FlashPreview->SetMovie(QString::fromStdString(movie.path));
                    FlashPreview->SetLoop(true);
                    FlashPreview->setVisible(true);
                    FlashPreview->Play();
                }
            }
        }
        BtnWallpaper->setEnabled(false);
    }
    SBtnPSave->setEnabled(!package_->NoSaving());
}

void TForm_XSCR_Config::PlacePreviewImage(const Bitmap24& picture, const ShowItem& item) {
    const QRect bounds = PreviewPlacement(item, QSize(picture.width(), picture.height()), PanelScreen->size(),
                                          package_->DesignWidth());
    ImageFore->setGeometry(bounds);
    if (bounds.width() <= 0 || bounds.height() <= 0) {
        ImageFore->setPicture(QPixmap());
        return;
    }
    // The half-tone resize of the whole picture onto the preview's size.
    Bitmap24 scaled = picture;
    StretchBitmap(scaled, bounds.width(), bounds.height());
    ImageFore->setPicture(QPixmap::fromImage(ImageFromBitmap(scaled)));
}

void TForm_XSCR_Config::ComboBoxPicsDrawItem(QPainter& painter, int index, const QRect& rect, bool) {
    const QPixmap thumbnail = ComboBoxPics->itemData(index).value<QPixmap>();
    if (thumbnail.isNull()) return;
    const int left = rect.left() + (rect.width() - thumbnail.width()) / 2;
    const int top = rect.top() + (rect.height() - thumbnail.height()) / 2;
    painter.drawPixmap(left, top, thumbnail);
}

void TForm_XSCR_Config::FreeFlashPreview() {
    delete FlashPreview;
    FlashPreview = nullptr;
}

void TForm_XSCR_Config::FreeThumbnails() {
    const QSignalBlocker quiet(ComboBoxPics);
    for (int i = ComboBoxPics->count() - 1; i >= 0; --i)
        ComboBoxPics->removeItem(i);
}

} // namespace scr
