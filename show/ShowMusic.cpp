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
    window_ = MusicWindowCreate(this, kMusicStyleShow);
    // The first track starts on the first tick, one interval after creation.
    if (window_) {
        timer_ = clock.MakeTimer(TimerKind::Repeating, [this] { TimerTick(); });
        timer_->Start(tickMs);
    }
}

ShowMusic::~ShowMusic() {
    MusicDestroy(window_);
    window_ = nullptr;
    order_ = MusicTrackOrder();
}

void ShowMusic::TimerTick() {
    if (closing_ && closing_()) return;
    MusicTick();
}

void ShowMusic::StopTimer() {
    if (timer_) timer_->Stop();
}

void ShowMusic::MusicTick() {
    // Opening a track waits in an event loop; a tick arriving meanwhile must not start another.
    if (ticking_ || !window_) return;
    if (MusicGetMode(window_) == MusicMode::Playing) return;
    const std::optional<int> next = order_.Next();
    if (!next) {
        // One pass is over: silence for the rest of the show.
        MusicDestroy(window_);
        window_ = nullptr;
        StopTimer();
        order_ = MusicTrackOrder();
        TrimWorkingSet();
        return;
    }
    ticking_ = true;
    const int track = *next;
    std::string file = tracks_.ExtractMusic(track);
    bool opened = false;
    if (!file.empty()) {
        opened = MusicOpen(window_, QString::fromStdString(file));
        if (opened) {
            MusicPlay(window_);
            TrimWorkingSet();
        }
        // Putting the cursor where it is does not move it and does not end the show.
        QCursor::setPos(QCursor::pos());
    }
    AppendStatsLine("music track=" + std::to_string(track) + " opened=" + (opened ? "1" : "0"));
    ticking_ = false;
}

} // namespace scr
