// ConfigDialog: the picture selector with its thumbnails and the preview.
#include "dialogs/ConfigDialog.h"
#include "dialogs/JpegResource.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "dialogs/PreviewPlacement.h"
#include "package/PackageFile.h"
#include "package/StretchBitmap.h"
#include "platform/gui/Bitmap24Image.h"
#include "platform/gui/ImageControl.h"
#include "show/FlashHost.h"
#include "show/FlashPlayers.h"

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

void ConfigDialog::FillPictures() {
    const int count = package_->ItemCount();
    if (count <= 0) return;
    ui_.previewScreen->setColor(ColorFromColorRef(package_->BackgroundColor()));
    // The selection handler runs once, for the final selection below.
    const QSignalBlocker quiet(ui_.pictureSelector);
    ui_.pictureSelector->clear();
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
        ui_.pictureSelector->addItem(QStringLiteral("Pic"), thumbnail);
    }
    ui_.pictureSelector->setCurrentIndex(0);
    ComboBoxPicsChange();
    ui_.saveAllPictures->setEnabled(count > 0 && !package_->NoSaving());
}

void ConfigDialog::ComboBoxPicsChange() {
    const int index = ui_.pictureSelector->currentIndex();
    if (index < 0) {
        ui_.savePicture->setEnabled(false);
        ui_.wallpaper->setEnabled(false);
        return;
    }
    FreeFlashPreview();
    const ShowItem item = package_->GetItem(index);
    ui_.preview->setVisible(item.kind == ShowItem::Picture);
    if (item.kind == ShowItem::Picture) {
        Bitmap24 picture;
        if (package_->LoadPicture(picture, index, 0))
            PlacePreviewImage(picture, item);
        else
            ui_.preview->setPicture(QPixmap());
        ui_.preview->repaint();
        ui_.wallpaper->setEnabled(!package_->NoSaving());
    } else {
        if (item.kind == ShowItem::Flash) {
            if (const auto movie = package_->ReadMovie(index)) {
                flashPreview_ =
                    CreateFlashHost(ui_.previewScreen, *flashPlayers_, 1, 1, ui_.previewScreen->width() - 2,
                                    ui_.previewScreen->height() - 2);
                if (flashPreview_) {
                    flashPreview_->SetMovie(QByteArray(reinterpret_cast<const char*>(movie->data()),
                                                       static_cast<qsizetype>(movie->size())));
                    flashPreview_->SetLoop(true);
                    flashPreview_->setVisible(true);
                    flashPreview_->Play();
                }
            }
        }
        ui_.wallpaper->setEnabled(false);
    }
    ui_.savePicture->setEnabled(!package_->NoSaving());
}

void ConfigDialog::PlacePreviewImage(const Bitmap24& picture, const ShowItem& item) {
    const QRect bounds = PreviewPlacement(item, QSize(picture.width(), picture.height()),
                                          ui_.previewScreen->size(), package_->DesignWidth());
    ui_.preview->setGeometry(bounds);
    if (bounds.width() <= 0 || bounds.height() <= 0) {
        ui_.preview->setPicture(QPixmap());
        return;
    }
    // The half-tone resize of the whole picture onto the preview's size.
    Bitmap24 scaled = picture;
    StretchBitmap(scaled, bounds.width(), bounds.height());
    ui_.preview->setPicture(QPixmap::fromImage(ImageFromBitmap(scaled)));
}

void ConfigDialog::ComboBoxPicsDrawItem(QPainter& painter, int index, const QRect& rect, bool) {
    const QPixmap thumbnail = ui_.pictureSelector->itemData(index).value<QPixmap>();
    if (thumbnail.isNull()) return;
    const int left = rect.left() + (rect.width() - thumbnail.width()) / 2;
    const int top = rect.top() + (rect.height() - thumbnail.height()) / 2;
    painter.drawPixmap(left, top, thumbnail);
}

void ConfigDialog::FreeFlashPreview() {
    delete flashPreview_;
    flashPreview_ = nullptr;
}

void ConfigDialog::FreeThumbnails() {
    const QSignalBlocker quiet(ui_.pictureSelector);
    for (int i = ui_.pictureSelector->count() - 1; i >= 0; --i)
        ui_.pictureSelector->removeItem(i);
}

} // namespace scr
