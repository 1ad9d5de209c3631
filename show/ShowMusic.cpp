#include "show/ShowMusic.h"

#include "platform/Shuffle.h"
#include "platform/StatsLog.h"
#include "platform/WorkingSet.h"

#include <QCursor>
#include <QWidget>
#include <numeric>

namespace scr {

ShowMusic::ShowMusic(QWidget* showWindow, MusicTrackSource& tracks, const std::string& screenSaverName,
                     bool fullScreen, int tickMs, ShowClock& clock)
    : QObject(showWindow), tracks_(tracks) {
    int count = tracks_.MusicCount();
    if (!fullScreen || count < 1) return;
    settings_ = ReadMusicSettings(screenSaverName);
    if (settings_.mute) return;
    if (count > 1 && settings_.randomOrder) {
        order_.resize(static_cast<size_t>(count));
        std::iota(order_.begin(), order_.end(), 0);
        Shuffle(order_);
    }
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
    order_.clear();
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
    int count = tracks_.MusicCount();
    if (count <= 0) return;
    if (!settings_.repeat && position_ >= count) {
        // One pass is over: silence for the rest of the show.
        MusicDestroy(window_);
        window_ = nullptr;
        StopTimer();
        order_.clear();
        TrimWorkingSet();
        return;
    }
    ticking_ = true;
    position_ %= count;
    int track = order_.empty() ? position_ : order_[static_cast<size_t>(position_)];
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
    ++position_;
    if (!order_.empty() && count > 1 && position_ >= count && settings_.repeat) {
        Shuffle(order_);
        position_ = 0;
    }
    ticking_ = false;
}

} // namespace scr
