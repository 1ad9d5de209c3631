#include "show/ruffle/RuffleEngine.h"

#include "show/ruffle/RufflePage.h"
#include "show/ruffle/RufflePagePool.h"
#include "show/ruffle/RuffleSchemeHandler.h"

#include <QWebEngineView>

namespace scr {
namespace {

// Generations are unique in the process, so a late notice of an earlier
// movie (or of another control that used the same page) is never taken for
// the current one.
int NextGeneration() {
    static int generation = 0;
    return ++generation;
}

} // namespace

RuffleEngine::RuffleEngine(RufflePagePool& pool, QWidget* parent, const QString& ruffleFolder,
                           FlashEngineEvents events)
    : pool_(&pool), events_(std::move(events)) {
    view_ = pool.Acquire(ruffleFolder, parent);
    view_->show();
    AttachPage();
}

RuffleEngine::~RuffleEngine() {
    if (!pool_) return; // its view and page went with the pool
    if (page_) disconnect(page_, nullptr, this, nullptr);
    if (generation_) pool_->schemeHandler()->DropMovie(generation_);
    pool_->Release(view_);
}

bool RuffleEngine::Usable() const {
    return pool_ && view_ && page_;
}

void RuffleEngine::AttachPage() {
    page_ = RufflePagePool::PageOf(view_);
    connect(page_, &RufflePage::notice, this, &RuffleEngine::Notice);
    connect(page_, &RufflePage::pageFailed, this, &RuffleEngine::Failed);
}

QWidget* RuffleEngine::view() {
    return view_;
}

void RuffleEngine::Load(const QByteArray& movie, const QString& tracePrefix, const QString& folder) {
    if (!Usable()) return;
    RuffleSchemeHandler* handler = pool_->schemeHandler();
    if (generation_) handler->DropMovie(generation_);
    generation_ = NextGeneration();
    tracePrefix_ = tracePrefix;
    withFolder_ = !folder.isEmpty();
    playing_ = true;
    retried_ = false;
    failed_ = false;
    awaitingHeader_ = true;
    handler->SetMovie(generation_, movie, folder);
    view_->show();
    if (page_->broken()) {
        Failed(QStringLiteral("player page not usable"));
        return;
    }
    StartMovie();
}

void RuffleEngine::StartMovie() {
    page_->RunWhenReady(
        RufflePage::LoadScript(generation_, RuffleSchemeHandler::MovieUrl(generation_), tracePrefix_,
                               withFolder_ ? RuffleSchemeHandler::FolderUrl(generation_) : QUrl()));
    if (!playing_) page_->RunWhenReady(RufflePage::SuspendScript());
}

void RuffleEngine::Resume() {
    playing_ = true;
    if (Usable()) page_->RunWhenReady(RufflePage::ResumeScript());
}

void RuffleEngine::Suspend() {
    playing_ = false;
    if (Usable()) page_->RunWhenReady(RufflePage::SuspendScript());
}

void RuffleEngine::Unload() {
    if (!Usable()) return;
    if (generation_) pool_->schemeHandler()->DropMovie(generation_);
    generation_ = NextGeneration();
    awaitingHeader_ = false;
    page_->RunWhenReady(RufflePage::UnloadScript());
}

bool RuffleEngine::Loading() const {
    return Usable() && awaitingHeader_ && !failed_;
}

void RuffleEngine::CaptureFrame(std::function<void(const QImage&)> done) {
    if (!Usable() || failed_ || !page_->ready() || page_->broken()) {
        done(QImage());
        return;
    }
    QPointer<RuffleEngine> self(this);
    const int generation = generation_;
    page_->runJavaScript(
        RufflePage::CaptureScript(), [self, generation, done = std::move(done)](const QVariant& result) {
            if (!self) return;
            // A picture of a movie that is no longer on show is none.
            done(generation == self->generation_ && !self->failed_ ? RufflePage::DecodeCapture(result)
                                                                   : QImage());
        });
}

void RuffleEngine::Failed(const QString& reason) {
    if (failed_ || !Usable()) return;
    // The page may be poisoned: it is never used again.
    page_->MarkBroken();
    if (!retried_ && generation_) {
        retried_ = true;
        disconnect(page_, nullptr, this, nullptr);
        pool_->Renew(view_, "failed");
        AttachPage();
        StartMovie();
        return;
    }
    failed_ = true;
    if (generation_) pool_->schemeHandler()->DropMovie(generation_);
    view_->hide(); // whatever the failed page shows stays off screen
    if (events_.failed) events_.failed(reason);
}

void RuffleEngine::Notice(int generation, const QString& kind, const QString& payload) {
    if (generation != generation_ || failed_) return;
    if (kind == QLatin1String("trace")) {
        if (events_.trace) events_.trace(payload);
    } else if (kind == QLatin1String("meta")) {
        awaitingHeader_ = false;
        const QStringList parts = payload.split(QChar(0x1f));
        if (events_.metadata)
            events_.metadata(parts.value(0).toInt(), parts.value(1).toDouble(),
                             parts.value(2) == QLatin1String("1"));
    } else if (kind == QLatin1String("shown")) {
        if (events_.shown) events_.shown();
    } else if (kind == QLatin1String("failed")) {
        Failed(payload);
    }
}

} // namespace scr
