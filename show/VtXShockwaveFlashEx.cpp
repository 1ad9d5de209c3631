#include "show/VtXShockwaveFlashEx.h"

#include "show/SwfRewriter.h"

#include <QChildEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryFile>
#include <algorithm>

namespace scr {
namespace {

// A prepared movie that has sent no frame notice for this long has stopped
// (or never started): its player is not playing.
constexpr qint64 kFirstNoticeWaitMs = 15000;
constexpr qint64 kMinSilenceMs = 3000;
constexpr double kSilentFrames = 4;

} // namespace

VtXShockwaveFlashEx::VtXShockwaveFlashEx(QWidget* owner) : QWidget(owner) {
    FlashEngineEvents events;
    events.metadata = [this](int totalFrames, double frameRate, bool actionScript3) {
        if (totalFrames > 0) totalFrames_ = totalFrames;
        if (frameRate > 0) frameRate_ = frameRate;
        if (actionScript3) notices_ = false;
    };
    events.fsCommand = [this](const QString& command, const QString& argument) {
        FsCommand(command, argument);
    };
    events.failed = [this](const QString&) { ended_ = true; };
    engine_ = CreateFlashEngine(this, std::move(events));
    if (!engine_) throw FlashPlayerUnavailable(FlashEngineUnavailableReason().toStdString());
    WatchInput(engine_->view());
    engine_->view()->setGeometry(rect());
    sinceNotice_.start();
}

VtXShockwaveFlashEx::~VtXShockwaveFlashEx() {
    // The view goes first: it must not outlive the engine that gives its page back.
    engine_.reset();
}

void VtXShockwaveFlashEx::SetMovie(const QString& path) {
    movie_ = path;
    loaded_ = false;
    pending_ = !path.isEmpty();
    ended_ = false;
    frameNum_ = 0;
    totalFrames_ = 0;
    if (pending_) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            QByteArray head = file.read(64 * 1024);
            // The frame count is known before the player has read the movie.
            if (auto info = ProbeSwf(
                    {reinterpret_cast<const uint8_t*>(head.constData()), static_cast<size_t>(head.size())}))
                totalFrames_ = info->headerFrames;
        }
    }
    if (pending_ && playing_) LoadMovie();
}

void VtXShockwaveFlashEx::SetLoop(bool loop) {
    if (loop == loop_) return;
    loop_ = loop;
    // The end of a prepared movie depends on Loop: prepare it again.
    if (loaded_ && notices_) {
        pending_ = true;
        if (playing_) LoadMovie();
    }
}

bool VtXShockwaveFlashEx::Stalled() const {
    if (!notices_ || totalFrames_ <= 1) return false;
    qint64 limit = kFirstNoticeWaitMs;
    if (noticeSeen_) {
        limit = kMinSilenceMs;
        if (frameRate_ > 0)
            limit = std::max<qint64>(limit, static_cast<qint64>(kSilentFrames * 1000 / frameRate_));
    }
    return sinceNotice_.elapsed() > limit;
}

bool VtXShockwaveFlashEx::Playing() const {
    if (!playing_ || !loaded_) return false;
    return !ended_ && !Stalled();
}

void VtXShockwaveFlashEx::SetPlaying(bool playing) {
    if (playing) {
        Play();
        return;
    }
    if (loaded_ && playing_) engine_->Suspend();
    playing_ = false;
}

int VtXShockwaveFlashEx::FrameNum() const {
    if (!loaded_) return 0;
    return notices_ ? frameNum_ : std::max(totalFrames_ - 1, 0);
}

void VtXShockwaveFlashEx::Play() {
    playing_ = true;
    sinceNotice_.restart();
    noticeSeen_ = false;
    if (pending_ || (loaded_ && ended_))
        LoadMovie();
    else if (loaded_)
        engine_->Resume();
}

void VtXShockwaveFlashEx::LoadMovie() {
    pending_ = false;
    if (movie_.isEmpty()) return;
    QFile file(movie_);
    std::optional<SwfRewrite> rewrite;
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        rewrite = RewriteSwfForHost(
            {reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())}, loop_);
    }
    loaded_ = true;
    ended_ = false;
    frameNum_ = 0;
    noticeSeen_ = false;
    sinceNotice_.restart();
    if (!rewrite) {
        // Not a movie (or unreadable): nothing to play, nothing to wait for.
        notices_ = false;
        totalFrames_ = 0;
        ended_ = true;
        engine_->Unload();
        return;
    }
    frameRate_ = rewrite->info.frameRate;
    QString path = movie_;
    notices_ = false;
    prepared_.reset();
    if (!rewrite->movie.empty()) {
        auto prepared = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/scrflash-XXXXXX.swf");
        const auto size = static_cast<qint64>(rewrite->movie.size());
        if (prepared->open() &&
            prepared->write(reinterpret_cast<const char*>(rewrite->movie.data()), size) == size &&
            prepared->flush()) {
            path = prepared->fileName();
            prepared->close();
            prepared_ = std::move(prepared);
            notices_ = true;
        }
    }
    totalFrames_ = notices_ ? rewrite->info.showFrames : rewrite->info.headerFrames;
    engine_->Load(path);
}

void VtXShockwaveFlashEx::FsCommand(const QString& command, const QString& argument) {
    if (!notices_) return;
    if (command == QLatin1String(kFrameNotice.data(), static_cast<qsizetype>(kFrameNotice.size()))) {
        bool ok = false;
        int frame = argument.toInt(&ok);
        if (!ok) return;
        frameNum_ = frame;
        noticeSeen_ = true;
        sinceNotice_.restart();
    } else if (command == QLatin1String(kEndNotice.data(), static_cast<qsizetype>(kEndNotice.size()))) {
        ended_ = true;
    }
}

void VtXShockwaveFlashEx::resizeEvent(QResizeEvent*) {
    if (engine_) engine_->view()->setGeometry(rect());
}

void VtXShockwaveFlashEx::WatchInput(QWidget* widget) {
    widget->installEventFilter(this);
    widget->setMouseTracking(true);
    for (QObject* child : widget->children())
        if (child->isWidgetType()) WatchInput(static_cast<QWidget*>(child));
}

bool VtXShockwaveFlashEx::eventFilter(QObject* watched, QEvent* event) {
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
    QPointer<VtXShockwaveFlashEx> self(this);
    if (event->type() == QEvent::MouseMove) {
        if (events_.onMouseMove && watched->isWidgetType()) {
            QPoint p = static_cast<QWidget*>(watched)->mapTo(this, mouse->position().toPoint());
            // Coordinates travel as unsigned 16-bit values, as in a mouse message.
            events_.onMouseMove(this, MouseShiftState(mouse->modifiers(), mouse->buttons()),
                                static_cast<uint16_t>(p.x()), static_cast<uint16_t>(p.y()));
        }
        return !self; // a handler that released the control ends the delivery
    }
    if (mouse->button() == Qt::LeftButton) {
        if (event->type() == QEvent::MouseButtonRelease && events_.onClick) events_.onClick(this);
        return !self;
    }
    if (mouse->button() == Qt::RightButton) {
        if (event->type() == QEvent::MouseButtonPress) return !menu_;
        if (events_.popupMenu) events_.popupMenu->popup(QCursor::pos());
        return true;
    }
    return false;
}

} // namespace scr
