#include "show/ShowMusic.h"

#include "platform/StatsLog.h"
#include "platform/WorkingSet.h"

#include <QCursor>
#include <QWidget>

namespace scr {

ShowMusic::ShowMusic(QWidget* showWindow, MusicTrackSource& tracks, const std::string& screenSaverName,
                     bool fullScreen, RandomSource& random, int tickMs, ShowClock& clock)
    : QObject(showWindow), tracks_(tracks) {
    int count = tracks_.MusicCount();
    if (!fullScreen || count < 1) return;
    settings_ = ReadMusicSettings(screenSaverName);
    if (settings_.mute) return;
    order_ = MusicTrackOrder(count, settings_, random);
    player_ = MusicPlayer::Create();
    if (!player_) return;
    connect(player_.get(), &MusicPlayer::opened, this, &ShowMusic::TrackOpened);
    connect(player_.get(), &MusicPlayer::failed, this, &ShowMusic::TrackFailed);
    // The first track starts on the first tick, one interval after creation.
    timer_ = clock.MakeTimer(TimerKind::Repeating, [this] { TimerTick(); });
    timer_->Start(tickMs);
}

ShowMusic::~ShowMusic() = default;

void ShowMusic::TimerTick() {
    if (Closing()) return;
    MusicTick();
}

void ShowMusic::StopTimer() {
    if (timer_) timer_->Stop();
}

void ShowMusic::MusicTick() {
    if (!player_) return;
    // A track plays, or is still being opened: leave it alone.
    const MusicPlayer::State state = player_->state();
    if (state == MusicPlayer::State::Playing || state == MusicPlayer::State::Opening) return;
    const std::optional<int> next = order_.Next();
    if (!next) {
        // One pass is over: silence for the rest of the show.
        player_.reset();
        StopTimer();
        order_ = MusicTrackOrder();
        TrimWorkingSet();
        return;
    }
    openingTrack_ = *next;
    const std::string file = tracks_.ExtractMusic(openingTrack_);
    if (file.empty()) {
        Report(false);
        return;
    }
    player_->Open(QString::fromStdString(file));
    // Putting the cursor where it is does not move it and does not end the show.
    QCursor::setPos(QCursor::pos());
}

void ShowMusic::TrackOpened() {
    Report(true);
    if (Closing()) return;
    player_->Play();
    TrimWorkingSet();
}

void ShowMusic::TrackFailed() {
    Report(false);
}

void ShowMusic::Report(bool opened) const {
    AppendStatsLine("music track=" + std::to_string(openingTrack_) + " opened=" + (opened ? "1" : "0"));
}

} // namespace scr
