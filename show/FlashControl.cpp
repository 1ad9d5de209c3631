#include "show/FlashControl.h"

#include "platform/StatsLog.h"
#include "show/FlashPlayers.h"
#include "show/SwfRewriter.h"

#include <QChildEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QRandomGenerator>
#include <algorithm>

namespace scr {
namespace {

// A prepared movie that has sent no frame notice for this long has stopped
// (or never started): its player is not playing.
constexpr qint64 kFirstNoticeWaitMs = 15000;
constexpr qint64 kMinSilenceMs = 3000;
constexpr double kSilentFrames = 4;
// How much of a movie the frame count is read from.
constexpr qsizetype kProbeBytes = 64 * 1024;

// A fresh prefix for the notices of one load: a movie cannot guess it, so
// it cannot send frame or end notices of its own.
QString NewNoticePrefix() {
    const quint64 value = QRandomGenerator::system()->generate64();
    return QStringLiteral("scr%1:").arg(value, 16, 16, QChar(u'0'));
}

// What the log says about a failure: one short line.
QString ShortReason(const QString& reason) {
    QString line = reason.simplified();
    if (line.size() > 120) line = line.left(120);
    return line.isEmpty() ? QStringLiteral("unknown") : line;
}

std::span<const uint8_t> MovieBytes(const QByteArray& movie) {
    return {reinterpret_cast<const uint8_t*>(movie.constData()), static_cast<size_t>(movie.size())};
}

} // namespace

FlashControl::FlashControl(QWidget* owner, FlashPlayers& players) : QWidget(owner) {
    FlashEngineEvents events;
    events.metadata = [this](int totalFrames, double frameRate, bool) {
        if (totalFrames > 0) totalFrames_ = totalFrames;
        if (frameRate > 0) frameRate_ = frameRate;
    };
    events.trace = [this](const QString& message) { HostNotice(message); };
    events.failed = [this](const QString& reason) {
        ended_ = true;
        failure_ = ShortReason(reason);
        if (failedHandler_) failedHandler_();
    };
    events.shown = [this] {
        if (shown_ || !loaded_) return;
        shown_ = true;
        if (StatsEnabled()) AppendStatsLine("movie-first-frame ms=" + std::to_string(sinceLoad_.elapsed()));
        if (shownHandler_) shownHandler_();
    };
    engine_ = players.Create(this, std::move(events));
    if (!engine_) throw FlashPlayerUnavailable(FlashEngineUnavailableReason().toStdString());
    WatchInput(engine_->view());
    engine_->view()->setGeometry(rect());
    sinceNotice_.start();
}

FlashControl::~FlashControl() {
    // The view goes first: it must not outlive the engine that gives its page back.
    engine_.reset();
}

void FlashControl::SetMovie(const QByteArray& movie) {
    hasMovie_ = !movie.isEmpty();
    movie_ = static_cast<uint64_t>(movie.size()) <= kMaxSwfBodyBytes ? movie : QByteArray();
    loaded_ = false;
    pending_ = hasMovie_;
    ended_ = false;
    failure_.clear();
    frameNum_ = 0;
    totalFrames_ = 0;
    // The frame count is known before the player has read the movie: its
    // header lies in the first bytes.
    if (auto info = ProbeSwf(MovieBytes(movie_.first(std::min<qsizetype>(movie_.size(), kProbeBytes)))))
        totalFrames_ = info->headerFrames;
    if (pending_ && playing_) LoadMovie();
}

void FlashControl::SetLoop(bool loop) {
    if (loop == loop_) return;
    loop_ = loop;
    // The end of a prepared movie depends on Loop: prepare it again.
    if (loaded_ && notices_) {
        pending_ = true;
        if (playing_) LoadMovie();
    }
}

bool FlashControl::Stalled() const {
    if (!notices_ || totalFrames_ <= 1) return false;
    qint64 limit = kFirstNoticeWaitMs;
    if (noticeSeen_) {
        limit = kMinSilenceMs;
        if (frameRate_ > 0)
            limit = std::max<qint64>(limit, static_cast<qint64>(kSilentFrames * 1000 / frameRate_));
    }
    return sinceNotice_.elapsed() > limit;
}

bool FlashControl::Playing() const {
    if (!playing_ || !loaded_) return false;
    return !ended_ && !Stalled();
}

void FlashControl::SetPlaying(bool playing) {
    if (playing) {
        Play();
        return;
    }
    if (loaded_ && playing_) engine_->Suspend();
    playing_ = false;
}

int FlashControl::FrameNum() const {
    if (!loaded_) return 0;
    return notices_ ? frameNum_ : std::max(totalFrames_ - 1, 0);
}

void FlashControl::Play() {
    playing_ = true;
    sinceNotice_.restart();
    noticeSeen_ = false;
    if (pending_ || (loaded_ && ended_))
        LoadMovie();
    else if (loaded_)
        engine_->Resume();
}

void FlashControl::LoadMovie() {
    pending_ = false;
    if (!hasMovie_) return;
    QByteArray bytes = movie_;
    std::optional<SwfRewrite> rewrite;
    const QString prefix = NewNoticePrefix();
    // The ActionScript 3 probe's class name: random apart from the prefix,
    // since a movie can read the class name of a display object it finds.
    const QString probeClass = NewNoticePrefix().remove(u':');
    if (!bytes.isEmpty())
        rewrite = RewriteSwfForHost(MovieBytes(bytes), loop_, prefix.toStdString(), probeClass.toStdString());
    loaded_ = true;
    ended_ = false;
    failure_.clear();
    frameNum_ = 0;
    noticeSeen_ = false;
    sinceNotice_.restart();
    if (!rewrite) {
        // Not a movie (or too large): nothing to play, nothing to wait for.
        notices_ = false;
        totalFrames_ = 0;
        ended_ = true;
        failure_ = QStringLiteral("not a movie");
        engine_->Unload();
        return;
    }
    frameRate_ = rewrite->info.frameRate;
    notices_ = !rewrite->movie.empty();
    if (notices_) {
        bytes = QByteArray(reinterpret_cast<const char*>(rewrite->movie.data()),
                           static_cast<qsizetype>(rewrite->movie.size()));
        rewrite->movie = {};
    }
    totalFrames_ = notices_ ? rewrite->info.showFrames : rewrite->info.headerFrames;
    AppendStatsLine("movie-load");
    shown_ = false;
    sinceLoad_.start();
    engine_->Load(bytes, notices_ ? prefix : QString(), movieFolder_);
}

void FlashControl::CaptureFrame(std::function<void(const QImage&)> done) {
    if (!MovieOnShow()) {
        done(QImage());
        return;
    }
    engine_->CaptureFrame(std::move(done));
}

void FlashControl::HostNotice(const QString& message) {
    if (!notices_) return;
    std::optional<scr::HostNotice> notice = ParseHostNotice(message.toStdString());
    if (!notice) return;
    if (notice->end) {
        ended_ = true;
        return;
    }
    frameNum_ = std::min(notice->frame, std::max(totalFrames_ - 1, 0));
    noticeSeen_ = true;
    sinceNotice_.restart();
}

void FlashControl::resizeEvent(QResizeEvent*) {
    if (engine_ && engine_->view()) engine_->view()->setGeometry(rect());
}

void FlashControl::WatchInput(QWidget* widget) {
    widget->installEventFilter(this);
    widget->setMouseTracking(true);
    for (QObject* child : widget->children())
        if (child->isWidgetType()) WatchInput(static_cast<QWidget*>(child));
}

bool FlashControl::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded: {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) WatchInput(static_cast<QWidget*>(child));
        return false;
    }
    case QEvent::ContextMenu:
        return true; // the player's own menu never opens
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        break;
    default:
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    QPointer<FlashControl> self(this);
    const QPointer<QObject> target(watched);
    // A handler that released the control, or the widget the event was
    // for, ends the delivery.
    const auto released = [&] { return !self || !target; };
    if (event->type() == QEvent::MouseMove) {
        if (events_.onMouseMove && watched->isWidgetType()) {
            QPoint p = static_cast<QWidget*>(watched)->mapTo(this, mouse->position().toPoint());
            // Coordinates travel as unsigned 16-bit values, as in a mouse message.
            events_.onMouseMove(this, MouseShiftState(mouse->modifiers(), mouse->buttons()),
                                static_cast<uint16_t>(p.x()), static_cast<uint16_t>(p.y()));
        }
        return released();
    }
    if (mouse->button() == Qt::LeftButton) {
        if (event->type() == QEvent::MouseButtonRelease && events_.onClick) events_.onClick(this);
        return released();
    }
    if (mouse->button() == Qt::RightButton) {
        if (event->type() == QEvent::MouseButtonPress) return !menu_;
        if (events_.popupMenu) events_.popupMenu->popup(QCursor::pos());
        return true;
    }
    return false;
}

} // namespace scr
