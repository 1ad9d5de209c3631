#include "show/MusicPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace scr {
namespace {

// Whether the back end has decided about the file: loaded (or playing), or invalid.
bool Decided(QMediaPlayer::MediaStatus status) {
    switch (status) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::EndOfMedia:
    case QMediaPlayer::InvalidMedia:
        return true;
    default:
        return false;
    }
}

} // namespace

void SelectMediaBackend() {
    // The FFmpeg back end of Qt 6.4 crashes on machines without an audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

std::unique_ptr<MusicPlayer> MusicPlayer::Create() {
    SelectMediaBackend();
    std::unique_ptr<MusicPlayer> player(new MusicPlayer());
    if (!player->player_->isAvailable()) return nullptr;
    return player;
}

MusicPlayer::MusicPlayer() : output_(std::make_unique<QAudioOutput>()) {
    openTimeout_.setSingleShot(true);
    connect(&openTimeout_, &QTimer::timeout, this, [this] { Decide(false); });
    NewPlayer();
}

MusicPlayer::~MusicPlayer() {
    player_->disconnect(this);
    player_->stop();
    player_->setSource(QUrl());
}

void MusicPlayer::NewPlayer() {
    // Qt 6.4 keeps a player's last error across new sources, so every file
    // gets a fresh player: an earlier failure never counts against the next file.
    if (player_) player_->disconnect(this);
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    failed_ = false;
    connect(player_.get(), &QMediaPlayer::errorOccurred, this, [this] {
        failed_ = true;
        if (opening_) DecideLater(false);
    });
    // A file that cannot be decoded shows in the status, not in the playback state.
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (opening_ && Decided(status)) DecideLater(status != QMediaPlayer::InvalidMedia && !failed_);
    });
}

void MusicPlayer::Open(const QString& path) {
    Close();
    NewPlayer();
    opening_ = true;
    ++openSerial_;
    if (path.isEmpty()) {
        DecideLater(false);
        return;
    }
    openTimeout_.start(kOpenTimeoutMs);
    player_->setSource(QUrl::fromLocalFile(path));
}

void MusicPlayer::DecideLater(bool playable) {
    // The back end may decide inside setSource already: the answer still
    // comes from the event loop, and only for the open it belongs to.
    const uint64_t serial = openSerial_;
    QMetaObject::invokeMethod(
        this,
        [this, serial, playable] {
            if (serial == openSerial_) Decide(playable);
        },
        Qt::QueuedConnection);
}

void MusicPlayer::Decide(bool playable) {
    if (!opening_) return;
    opening_ = false;
    openTimeout_.stop();
    open_ = playable;
    if (!playable) {
        player_->setSource(QUrl());
        emit failed();
        return;
    }
    emit opened();
}

void MusicPlayer::Close() {
    opening_ = false;
    openTimeout_.stop();
    if (!open_) return;
    open_ = false;
    player_->stop();
    player_->setSource(QUrl());
}

MusicPlayer::State MusicPlayer::state() const {
    if (opening_) return State::Opening;
    if (!open_ || failed_ || player_->mediaStatus() == QMediaPlayer::InvalidMedia) return State::Closed;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState:
        return State::Playing;
    case QMediaPlayer::PausedState:
        return State::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return State::Stopped;
}

void MusicPlayer::Play() {
    const State now = state();
    if (now == State::Stopped || now == State::Paused) player_->play();
}

void MusicPlayer::Pause() {
    if (state() == State::Playing) player_->pause();
}

// Stopping rewinds to the start (also for MIDI, where seeking to 0 is ignored).
void MusicPlayer::Stop() {
    const State now = state();
    if (now == State::Playing || now == State::Paused) player_->stop();
}

qint64 MusicPlayer::Position() const {
    return player_->position();
}

} // namespace scr
