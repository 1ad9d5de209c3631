#include "show/MusicPlayer.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace scr {
namespace {

// How long an open may wait for the player to decide about a file.
constexpr int kOpenTimeoutMs = 5000;

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

MusicDevice::MusicDevice(QObject* parent, uint32_t style)
    : QObject(parent), style_(style), output_(std::make_unique<QAudioOutput>()) {
    NewPlayer();
}

void MusicDevice::NewPlayer() {
    // Qt 6.4 keeps a player's last error across new sources, so every file
    // gets a fresh player: an earlier failure never counts against the next file.
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(output_.get());
    failed_ = false;
    connect(player_.get(), &QMediaPlayer::errorOccurred, this, [this] { failed_ = true; });
}

MusicDevice::~MusicDevice() {
    player_->stop();
    player_->setSource(QUrl());
}

bool MusicDevice::available() const {
    return player_->isAvailable();
}

bool MusicDevice::Open(const QString& path) {
    Close();
    if (path.isEmpty()) return false;
    NewPlayer();
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    auto statusLink = connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &wait,
                              [&wait](QMediaPlayer::MediaStatus status) {
                                  if (Decided(status)) wait.quit();
                              });
    auto errorLink = connect(player_.get(), &QMediaPlayer::errorOccurred, &wait, &QEventLoop::quit);
    player_->setSource(QUrl::fromLocalFile(path));
    if (!Decided(player_->mediaStatus()) && !failed_) {
        timeout.start(kOpenTimeoutMs);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    disconnect(statusLink);
    disconnect(errorLink);
    // A file that cannot be decoded shows in the error, not in the playback state.
    open_ =
        !failed_ && Decided(player_->mediaStatus()) && player_->mediaStatus() != QMediaPlayer::InvalidMedia;
    if (!open_) player_->setSource(QUrl());
    return open_;
}

void MusicDevice::Close() {
    if (!open_) return;
    open_ = false;
    player_->stop();
    player_->setSource(QUrl());
}

MusicMode MusicDevice::Mode() const {
    if (!open_ || failed_ || player_->mediaStatus() == QMediaPlayer::InvalidMedia) return MusicMode::NotReady;
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState:
        return MusicMode::Playing;
    case QMediaPlayer::PausedState:
        return MusicMode::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return MusicMode::Stopped;
}

void MusicDevice::Start() {
    player_->play();
}
void MusicDevice::Pause() {
    player_->pause();
}
// Stopping rewinds to the start (also for MIDI, where seeking to 0 is ignored).
void MusicDevice::Stop() {
    player_->stop();
}
qint64 MusicDevice::Position() const {
    return player_->position();
}

MusicWindow MusicWindowCreate(QObject* parent, uint32_t style) {
    SelectMediaBackend();
    auto device = std::make_unique<MusicDevice>(parent, style);
    if (!device->available()) return nullptr;
    return device.release();
}

bool MusicOpen(MusicWindow window, const QString& path) {
    return window && window->Open(path);
}

MusicMode MusicGetMode(MusicWindow window) {
    return window ? window->Mode() : MusicMode::NotReady;
}

void MusicPlay(MusicWindow window) {
    MusicMode mode = MusicGetMode(window);
    if (mode == MusicMode::Stopped || mode == MusicMode::Paused) window->Start();
}

void MusicPause(MusicWindow window) {
    if (MusicGetMode(window) == MusicMode::Playing) window->Pause();
}

void MusicStop(MusicWindow window) {
    MusicMode mode = MusicGetMode(window);
    if (mode != MusicMode::Stopped && mode != MusicMode::NotReady) window->Stop();
}

void MusicCloseDevice(MusicWindow window) {
    if (!window) return;
    MusicStop(window);
    window->Close();
}

void MusicDestroy(MusicWindow window) {
    if (!window) return;
    MusicCloseDevice(window);
    delete window;
}

} // namespace scr
