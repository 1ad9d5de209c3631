#pragma once
// Background music of the show. Created with the show window (full-screen
// mode only, and only when the package has tracks); reads the user's music
// options; unless muted makes the music player and a 3-second music timer.
// Each tick starts the next track when nothing plays: in package order, or in
// a random order drawn anew for every pass; after one pass it stops for good
// unless repeat is on. Tracks are extracted from the package only when first
// played; a track that cannot be extracted or opened is skipped. Opening is
// asynchronous: a track plays once the player says it opened, and a tick
// that comes while a track is still being opened leaves it alone.

#include "platform/ShowClock.h"
#include "platform/gui/WallClock.h"
#include "show/MusicPlayer.h"
#include "show/MusicSettings.h"
#include "show/MusicTrackOrder.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace scr {

// Where the tracks come from (the package in the show).
class MusicTrackSource {
public:
    virtual ~MusicTrackSource() = default;
    virtual int MusicCount() const = 0;
    // A playable file for the track; empty when it cannot be extracted.
    virtual std::string ExtractMusic(int index) = 0;
};

inline constexpr int kMusicTickMs = 3000;

class ShowMusic : public QObject {
public:
    // `fullScreen` false (preview) or no tracks: no music at all.
    // The music timer runs on `clock`.
    // Random orders draw from `random`, which outlives the music.
    ShowMusic(QWidget* showWindow, MusicTrackSource& tracks, const std::string& screenSaverName,
              bool fullScreen, RandomSource& random, int tickMs = kMusicTickMs,
              ShowClock& clock = WallClock::Instance());
    // Music shutdown: destroys the player; the timer ends with it.
    ~ShowMusic() override;

    // One step of the music timer.
    void MusicTick();
    // When set and returning true, timer ticks do nothing and an opened
    // track is not played (the show is closing).
    void SetClosingProbe(std::function<bool()> closing) { closing_ = std::move(closing); }

    // The player; none without music, or after a single pass ended.
    MusicPlayer* player() const { return player_.get(); }
    bool musicTimerRunning() const { return timer_ && timer_->Active(); }
    const std::vector<int32_t>& musicOrder() const { return order_.order(); }
    int musicPosition() const { return order_.position(); }
    const MusicSettings& settings() const { return settings_; }

private:
    void TimerTick();
    void StopTimer();
    bool Closing() const { return closing_ && closing_(); }
    void TrackOpened();
    void TrackFailed();
    void Report(bool opened) const;

    MusicTrackSource& tracks_;
    MusicSettings settings_;
    std::unique_ptr<MusicPlayer> player_;
    std::unique_ptr<ClockTimer> timer_;
    MusicTrackOrder order_;
    int openingTrack_ = -1; // the track the player is opening
    std::function<bool()> closing_;
};

} // namespace scr
