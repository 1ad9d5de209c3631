#include "show/ruffle/RuffleEngine.h"

#include "show/ruffle/RufflePage.h"
#include "show/ruffle/RufflePagePool.h"

#include <QUrl>
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

RuffleEngine::RuffleEngine(QWidget* parent, const QString& ruffleFolder, FlashEngineEvents events)
    : events_(std::move(events)) {
    view_ = RufflePagePool::Instance().Acquire(ruffleFolder, parent);
    page_ = RufflePagePool::PageOf(view_);
    view_->show();
    connect(page_, &RufflePage::notice, this, &RuffleEngine::Notice);
    connect(page_, &RufflePage::pageFailed, this, [this] {
        if (events_.failed) events_.failed(QStringLiteral("the player page could not be loaded"));
    });
}

RuffleEngine::~RuffleEngine() {
    disconnect(page_, nullptr, this, nullptr);
    RufflePagePool::Instance().Release(view_);
}

QWidget* RuffleEngine::view() {
    return view_;
}

void RuffleEngine::Load(const QString& filePath) {
    generation_ = NextGeneration();
    page_->RunWhenReady(RufflePage::LoadScript(generation_, QUrl::fromLocalFile(filePath)));
}

void RuffleEngine::Resume() {
    page_->RunWhenReady(RufflePage::ResumeScript());
}

void RuffleEngine::Suspend() {
    page_->RunWhenReady(RufflePage::SuspendScript());
}

void RuffleEngine::Unload() {
    generation_ = NextGeneration();
    page_->RunWhenReady(RufflePage::UnloadScript());
}

void RuffleEngine::Notice(int generation, const QString& kind, const QString& payload) {
    if (generation != generation_) return;
    const QStringList parts = payload.split(QChar(0x1f));
    if (kind == QLatin1String("fs")) {
        if (events_.fsCommand) events_.fsCommand(parts.value(0), parts.mid(1).join(QChar(0x1f)));
    } else if (kind == QLatin1String("meta")) {
        if (events_.metadata)
            events_.metadata(parts.value(0).toInt(), parts.value(1).toDouble(),
                             parts.value(2) == QLatin1String("1"));
    } else if (kind == QLatin1String("failed")) {
        if (events_.failed) events_.failed(payload);
    }
}

} // namespace scr
