// ConfigDialog: the track selector, the player and the music options.
#include "dialogs/ConfigDialog.h"
#include "dialogs/OwnerDrawComboBox.h"
#include "package/PackageFile.h"
#include "platform/CodePage.h"
#include "show/MusicPlayer.h"
#include "show/MusicSettings.h"

#include <QCheckBox>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace scr {

void ConfigDialog::FillMusic() {
    const int count = package_->MusicCount();
    if (count <= 0) return;
    musicPlayer_ = MusicPlayer::Create();
    if (musicPlayer_) {
        // A track plays once the player has opened it.
        connect(musicPlayer_.get(), &MusicPlayer::opened, this, [this] {
            musicPlayer_->Play();
            ui_.playerPoll->start();
            UpdateMusicButtons();
        });
        connect(musicPlayer_.get(), &MusicPlayer::failed, this, [this] { UpdateMusicButtons(); });
    }
    {
        const QSignalBlocker quiet(ui_.trackSelector);
        ui_.trackSelector->clear();
        for (int i = 0; i < count; ++i)
            ui_.trackSelector->addItem(QString::fromStdString(package_->MusicNameUtf8(i)));
        ui_.trackSelector->setCurrentIndex(0);
    }
    ComboBoxMusicsChange();
    ui_.trackSelector->setEnabled(true);
    ui_.playerBar->setEnabled(true);
    ui_.saveTrack->setEnabled(!package_->NoSaving());
    ui_.randomOrder->setEnabled(count > 1);
    ui_.repeat->setEnabled(count > 0);
    ui_.mute->setEnabled(count > 0);
    const MusicSettings settings = ReadMusicSettings(package_->Name());
    ui_.randomOrder->setChecked(settings.randomOrder);
    ui_.repeat->setChecked(settings.repeat);
    ui_.mute->setChecked(settings.mute);
}

void ConfigDialog::WriteMusicOptions() {
    MusicSettings settings;
    settings.randomOrder = ui_.randomOrder->isChecked();
    settings.repeat = ui_.repeat->isChecked();
    settings.mute = ui_.mute->isChecked();
    WriteMusicSettings(package_->Name(), settings); // a failed write is not reported
}

void ConfigDialog::ComboBoxMusicsChange() {
    const int index = ui_.trackSelector->currentIndex();
    if (index < 0 || index == chosenTrack_) return;
    StopMusicPlayer();
    ui_.playerPoll->stop();
    chosenTrack_ = index;
    UpdateMusicButtons();
    ui_.trackSelector->setToolTip(ui_.trackSelector->itemText(index));
}

void ConfigDialog::UpdateMusicButtons() {
    const MusicPlayer::State state = musicPlayer_ ? musicPlayer_->state() : MusicPlayer::State::Closed;
    const bool playing = state == MusicPlayer::State::Playing;
    const bool busy = playing || state == MusicPlayer::State::Opening;
    ui_.play->setEnabled(musicPlayer_ != nullptr && ui_.trackSelector->currentIndex() >= 0 && !busy);
    ui_.pause->setEnabled(playing);
    ui_.stop->setEnabled(busy || state == MusicPlayer::State::Paused);
}

void ConfigDialog::StopMusicPlayer() {
    if (!musicPlayer_) return;
    if (musicPlayer_->state() == MusicPlayer::State::Opening)
        musicPlayer_->Close();
    else
        musicPlayer_->Stop();
}

void ConfigDialog::TBtnEMusicPlayClick() {
    const int index = ui_.trackSelector->currentIndex();
    const Result<ExtractedTrack> track = package_->ExtractMusic(index);
    // The track plays once the player says it opened (FillMusic).
    if (track && musicPlayer_) musicPlayer_->Open(QString::fromStdString(track->path));
    UpdateMusicButtons();
}

void ConfigDialog::TBtnEMusicPauseClick() {
    if (musicPlayer_) musicPlayer_->Pause();
    ui_.playerPoll->stop();
    UpdateMusicButtons();
}

void ConfigDialog::TBtnEMusicStopClick() {
    StopMusicPlayer();
    ui_.playerPoll->stop();
    UpdateMusicButtons();
}

void ConfigDialog::TimerMusicsTimer() {
    UpdateMusicButtons();
}

void ConfigDialog::ComboBoxMusicsDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) {
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
