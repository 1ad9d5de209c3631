// TForm_XSCR_Config: the track selector, the player and the music options.
#include "dialogs/ConfigDialog.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "package/XSCR.h"
#include "platform/CodePage.h"
#include "show/MusicPlayer.h"
#include "show/MusicSettings.h"

#include <QCheckBox>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace scr {

void TForm_XSCR_Config::FillMusic() {
    const int count = package_->MusicCount();
    if (count <= 0) return;
    MusicWindow = MusicWindowCreate(this, kMusicStyleDialog);
    {
        const QSignalBlocker quiet(ComboBoxMusics);
        ComboBoxMusics->clear();
        for (int i = 0; i < count; ++i)
            ComboBoxMusics->addItem(QString::fromStdString(package_->MusicNameUtf8(i)));
        ComboBoxMusics->setCurrentIndex(0);
    }
    ComboBoxMusicsChange();
    ComboBoxMusics->setEnabled(true);
    ToolBarMusic->setEnabled(true);
    TBtnSaveM->setEnabled(!package_->NoSaving());
    CheckBoxMusicROP->setEnabled(count > 1);
    CheckBoxMusicRA->setEnabled(count > 0);
    CheckBoxMusicMute->setEnabled(count > 0);
    const MusicSettings settings = ReadMusicSettings(package_->Name());
    CheckBoxMusicROP->setChecked(settings.randomOrder);
    CheckBoxMusicRA->setChecked(settings.repeat);
    CheckBoxMusicMute->setChecked(settings.mute);
}

void TForm_XSCR_Config::WriteMusicOptions() {
    MusicSettings settings;
    settings.randomOrder = CheckBoxMusicROP->isChecked();
    settings.repeat = CheckBoxMusicRA->isChecked();
    settings.mute = CheckBoxMusicMute->isChecked();
    WriteMusicSettings(package_->Name(), settings); // a failed write is not reported
}

void TForm_XSCR_Config::ComboBoxMusicsChange() {
    const int index = ComboBoxMusics->currentIndex();
    if (index < 0 || index == LastMusicIndex) return;
    MusicStop(MusicWindow);
    TimerMusics->stop();
    LastMusicIndex = index;
    UpdateMusicButtons();
    ComboBoxMusics->setToolTip(ComboBoxMusics->itemText(index));
}

void TForm_XSCR_Config::UpdateMusicButtons() {
    const MusicMode mode = MusicGetMode(MusicWindow);
    const bool playing = mode == MusicMode::Playing;
    TBtnEMusicPlay->setEnabled(MusicWindow != nullptr && ComboBoxMusics->currentIndex() >= 0 && !playing);
    TBtnEMusicPause->setEnabled(playing);
    TBtnEMusicStop->setEnabled(playing || mode == MusicMode::Paused);
}

void TForm_XSCR_Config::TBtnEMusicPlayClick() {
    const int index = ComboBoxMusics->currentIndex();
    const ExtractResult track = package_->ExtractMusic(index);
    if (track.ok && MusicOpen(MusicWindow, QString::fromStdString(track.path))) {
        MusicPlay(MusicWindow);
        TimerMusics->start();
    }
    UpdateMusicButtons();
}

void TForm_XSCR_Config::TBtnEMusicPauseClick() {
    MusicPause(MusicWindow);
    TimerMusics->stop();
    UpdateMusicButtons();
}

void TForm_XSCR_Config::TBtnEMusicStopClick() {
    MusicStop(MusicWindow);
    TimerMusics->stop();
    UpdateMusicButtons();
}

void TForm_XSCR_Config::TimerMusicsTimer() {
    UpdateMusicButtons();
}

void TForm_XSCR_Config::ComboBoxMusicsDrawItem(QPainter& painter, int index, const QRect& rect,
                                               bool selected) {
    if (!package_) return;
    const QString text = index >= 0 && index < package_->MusicCount()
                             ? QString::fromStdString(package_->MusicNameUtf8(index))
                             : QStringLiteral("Music-%1").arg(index + 1);
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.setFont(font());
    const int textHeight = painter.fontMetrics().height();
    painter.drawText(rect.left() + 10, rect.top() + (rect.height() - textHeight) / 2, rect.width() - 10,
                     textHeight, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace scr
