#pragma once
// The music player of the show and of the configuration dialog: an invisible
// player that opens one audio file at a time (WAV, MP3, MIDI) and plays,
// pauses, resumes and stops with rewind.
//
// Opening is asynchronous: Open returns at once, and opened() or failed()
// follows from the event loop once the back end has decided about the file
// (or has not within kOpenTimeoutMs). Nothing waits in a loop of its own.
// Playback runs on Qt Multimedia with the GStreamer back end, which also
// plays without a sound card; the user can choose another with QT_MEDIA_BACKEND.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace scr {

class MusicPlayer : public QObject {
    Q_OBJECT

public:
    enum class State {
        Closed,  // no file open, or the open file cannot be played
        Opening, // a file is being opened: opened() or failed() follows
        Stopped,
        Playing,
        Paused,
    };

    // How long an open may wait for the back end to decide about a file.
    static constexpr int kOpenTimeoutMs = 5000;

    // A player, or none when no audio back end works.
    static std::unique_ptr<MusicPlayer> Create();
    ~MusicPlayer() override;

    // Starts opening a file, replacing the one open (or being opened) before;
    // returns at once. An empty path fails too, from the event loop like any other.
    void Open(const QString& path);
    void Close();
    State state() const;
    // Stopped: play from the current position; paused: resume; otherwise nothing.
    void Play();
    // Playing: pause.
    void Pause();
    // Playing or paused: stop and rewind to the start.
    void Stop();
    qint64 Position() const;

signals:
    // The file given to the last Open can be played; the player is stopped at its start.
    void opened();
    // The file given to the last Open cannot be played; nothing is open.
    void failed();

private:
    MusicPlayer();
    void NewPlayer();
    void Decide(bool playable);
    void DecideLater(bool playable);

    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
    QTimer openTimeout_;
    uint64_t openSerial_ = 0; // counts the opens, so that a late answer finds its own
    bool opening_ = false;
    bool open_ = false;
    bool failed_ = false; // the back end reported an error for the open file
};

// Chooses the GStreamer back end unless QT_MEDIA_BACKEND is set. Must run
// before the first player is made; MusicPlayer::Create calls it.
void SelectMediaBackend();

} // namespace scr
