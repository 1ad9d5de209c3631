// ConfigDialog: saving pictures, movies and tracks, and the wallpaper menu.
#include "dialogs/ComponentRole.h"
#include "dialogs/ConfigDialog.h"
#include "dialogs/DesktopWallpaper.h"
#include "dialogs/DialogShell.h"
#include "dialogs/ExportProgressForm.h"
#include "dialogs/FileFilters.h"
#include "dialogs/LanguageTables.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "package/BitmapFiles.h"
#include "package/PackageFile.h"
#include "package/StretchBitmap.h"
#include "platform/SafeFile.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QToolButton>

namespace scr {
namespace {

// Dynamic texts of the save commands.
constexpr int kTextSaveAllCaption = 0;
constexpr int kTextSaveAllFailed = 1;
constexpr int kTextTrackFailed = 2;
constexpr int kTextTrackFilter = 3;
constexpr int kTextTrackTitle = 4;
constexpr int kTextSaveFailedCaption = 5;
constexpr int kTextPictureFailed = 6;
constexpr int kTextPictureFilter = 7;
constexpr int kTextPictureTitle = 8;
constexpr int kTextCancel = 18;
constexpr int kTextFlashFilter = 25;

constexpr MessageStyle kExclamationOk{MessageIcon::Exclamation, MessageButtons::Ok};
constexpr MessageStyle kInformationOk{MessageIcon::Information, MessageButtons::Ok};
constexpr int kPictureQuality = 75;

// The prompt of the folder chooser: the program's string 1025 when it has
// one; this program carries no string table, so the built-in text serves.
const char* const kBrowsePrompt = "Please Select a Directory:";

// The exact class test of the menu handler: a menu item, not a descendant.
bool IsClass(const QObject* object, const char* className) {
    return object && qstrcmp(object->metaObject()->className(), className) == 0;
}

// The message for a picture that could not be written to its file.
void ReportPictureNotWritten(DialogShell& shell, const QStringList& texts) {
    shell.ShowMessage(DynamicText(kTextPictureFailed, texts), DynamicText(kTextSaveFailedCaption, texts),
                      kExclamationOk, &texts);
}

} // namespace

void ConfigDialog::SBtnPSaveClick() {
    SavePicture();
}

void ConfigDialog::SBtnPSaveAllClick() {
    SaveAllPictures();
}

void ConfigDialog::TBtnSaveMClick() {
    SaveMusic();
}

void ConfigDialog::SavePicture() {
    const int index = ui_.pictureSelector->currentIndex();
    if (index < 0) return;
    const ShowItem item = package_->GetItem(index);
    ui_.saveDialog.Title = DynamicText(kTextPictureTitle, dynamicTexts_);
    const bool picture = item.kind == ShowItem::Picture;
    ui_.saveDialog.Filter = DynamicText(picture ? kTextPictureFilter : kTextFlashFilter, dynamicTexts_);
    ui_.saveDialog.DefaultExt = picture ? QStringLiteral("jpg") : QStringLiteral("swf");
    ui_.saveDialog.FileName.clear();
    if (!Shell().ExecuteSaveDialog(ui_.saveDialog, this)) return;
    const std::string target = ui_.saveDialog.FileName.toStdString();

    bool written = false;
    if (picture) {
        Bitmap24 bitmap;
        written =
            package_->LoadPicture(bitmap, index, 0) && SaveBitmapByExtension(bitmap, target, kPictureQuality);
    } else if (item.kind == ShowItem::Flash) {
        const auto movie = package_->ReadMovie(index);
        written = movie && WriteFileReplacing(target, *movie);
    }
    if (!written) ReportPictureNotWritten(Shell(), dynamicTexts_);
}

void ConfigDialog::SaveAllPictures() {
    const QString directory = Shell().BrowseForDirectory(QString::fromLatin1(kBrowsePrompt), this);
    if (directory.isEmpty()) return;
    ExportProgressForm progress(DynamicText(kTextSaveAllCaption, dynamicTexts_),
                                DynamicText(kTextCancel, dynamicTexts_), this);
    const bool saved =
        package_->ExportContent(true, false, directory.toStdString(),
                                [&](int done, int total) { return progress.Step(done, total); });
    progress.hide();
    // A cancelled export is what the user asked for, not a failure.
    if (!saved && !progress.Cancelled())
        Shell().ShowMessage(DynamicText(kTextSaveAllFailed, dynamicTexts_),
                            DynamicText(kTextSaveAllCaption, dynamicTexts_), kInformationOk, &dynamicTexts_);
}

void ConfigDialog::SaveMusic() {
    const int index = ui_.trackSelector->currentIndex();
    if (index < 0 || ui_.trackSelector->count() == 0) return;
    const TrackSaveFilter filter =
        MakeTrackSaveFilter(ui_.trackSelector->itemText(index), DynamicText(kTextTrackFilter, dynamicTexts_));
    ui_.saveDialog.Title = DynamicText(kTextTrackTitle, dynamicTexts_);
    ui_.saveDialog.Filter = filter.filter;
    ui_.saveDialog.DefaultExt = filter.defaultExtension;
    ui_.saveDialog.FileName.clear();
    if (!Shell().ExecuteSaveDialog(ui_.saveDialog, this)) return;
    const Result<ExtractedTrack> track = package_->ExtractMusic(index);
    if (!track || !CopyFileReplacing(track->path, ui_.saveDialog.FileName.toStdString()))
        Shell().ShowMessage(DynamicText(kTextTrackFailed, dynamicTexts_),
                            DynamicText(kTextSaveFailedCaption, dynamicTexts_), kExclamationOk,
                            &dynamicTexts_);
}

void ConfigDialog::BtnWallpaperClick() {
    const int index = ui_.pictureSelector->currentIndex();
    if (index < 0 || ui_.pictureSelector->count() == 0) return;
    Shell().PopupMenu(ui_.wallpaperMenu, QCursor::pos());
}

void ConfigDialog::PMWallpaperPopup() {
    const bool styles =
        ui_.pictureSelector->currentIndex() >= 0 && ui_.pictureSelector->count() > 0 && !package_->NoSaving();
    for (QAction* item : {ui_.centerWallpaper, ui_.tileWallpaper, ui_.stretchWallpaper})
        item->setVisible(styles);
    ui_.removeWallpaper->setVisible(true);
}

void ConfigDialog::PMIWallpaperClick(QObject* sender) {
    const int index = ui_.pictureSelector->currentIndex();
    if (!sender || index < 0 || ui_.pictureSelector->count() == 0 || !IsClass(sender, "QAction")) return;
    const int style = WallpaperStyleFromTag(TagOfComponent(sender));
    Bitmap24 bitmap;
    ShowItem item;
    bool written = package_->LoadPicture(bitmap, index, 0, &item);
    if (written && item.width > 0 && item.height > 0) StretchBitmap(bitmap, item.width, item.height);
    const std::string path = WallpaperFilePath();
    written = written && SaveBitmapByExtension(bitmap, path, kPictureQuality);
    if (!written) {
        ReportPictureNotWritten(Shell(), dynamicTexts_);
        return;
    }
    Shell().SetWallpaper(path, style);
}

void ConfigDialog::PMIRemoveClick() {
    Shell().RemoveWallpaper();
}

} // namespace scr
