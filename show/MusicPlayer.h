#pragma once
// The music player window of the show and of the configuration dialog: an
// invisible player that opens one audio file at a time (WAV, MP3, MIDI) and
// answers play, pause, resume, stop with rewind, close and a mode query.
// Every operation does nothing (or returns false / NotReady) on a null handle.
// Playback runs on Qt Multimedia with the GStreamer back end, which also
// plays without a sound card; the user can choose another with QT_MEDIA_BACKEND.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace scr {

// The player's state, numbered as the mode values the program has always used.
enum class MusicMode : int {
    NotReady = 524, // no file open, or the open file cannot be played
    Stopped = 525,
    Playing = 526,
    Paused = 529,
};

// Window styles of the two users (child, disabled, border, no error dialogs;
// the show hides the play bar, the dialog the menu). Kept for their users'
// sake; the player never shows a window or an error box either way.
inline constexpr uint32_t kMusicStyleShow = 0x48804002;
inline constexpr uint32_t kMusicStyleDialog = 0x48804008;

class MusicDevice : public QObject {
public:
    MusicDevice(QObject* parent, uint32_t style);
    ~MusicDevice() override;

    uint32_t style() const { return style_; }
    bool available() const;
    // Opens a file, replacing the one open before; waits until the player
    // knows whether it can decode it. False (and nothing open) when it cannot.
    bool Open(const QString& path);
    void Close();
    MusicMode Mode() const;
    void Start();
    void Pause();
    void Stop();
    qint64 Position() const;

private:
    void NewPlayer();

    uint32_t style_;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> output_;
    bool open_ = false;
    bool failed_ = false; // the player reported an error for the open file
};

using MusicWindow = MusicDevice*;

// Chooses the GStreamer back end unless QT_MEDIA_BACKEND is set. Must run
// before the first player is made; MusicWindowCreate calls it.
void SelectMediaBackend();

// A new player owned by `parent` (may be null); null when no audio back end works.
MusicWindow MusicWindowCreate(QObject* parent, uint32_t style);
bool MusicOpen(MusicWindow window, const QString& path);
MusicMode MusicGetMode(MusicWindow window);
// Stopped: play from the current position; paused: resume; otherwise nothing.
void MusicPlay(MusicWindow window);
// Playing: pause.
void MusicPause(MusicWindow window);
// Unless stopped or not ready: stop and rewind to the start.
void MusicStop(MusicWindow window);
// Stop, then close the file.
void MusicCloseDevice(MusicWindow window);
// Close, then destroy the player.
void MusicDestroy(MusicWindow window);

} // namespace scr
