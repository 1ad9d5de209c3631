#include "show/ruffle/RufflePagePool.h"

#include "show/ruffle/RufflePage.h"
#include "show/ruffle/RuffleRequestBlocker.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <algorithm>
#include <unistd.h>

namespace scr {
namespace {

RufflePagePool* g_pool = nullptr;

bool HasRenderDevice() {
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                                                      QDir::System | QDir::Files)
                .isEmpty();
}

void AddChromiumFlag(const char* flag) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.split(' ').contains(flag)) return;
    if (!flags.isEmpty()) flags += ' ';
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + flag);
}

void ConfigureSettings(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    settings->setAttribute(S::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(S::PlaybackRequiresUserGesture, false);
    settings->setAttribute(S::JavascriptCanOpenWindows, false);
    settings->setAttribute(S::JavascriptCanAccessClipboard, false);
    settings->setAttribute(S::PluginsEnabled, false);
    settings->setAttribute(S::ShowScrollBars, false);
    settings->setAttribute(S::ErrorPageEnabled, false);
    settings->setAttribute(S::FocusOnNavigationEnabled, false);
    settings->setAttribute(S::WebGLEnabled, false);
    settings->setAttribute(S::Accelerated2dCanvasEnabled, false);
    settings->setAttribute(S::PdfViewerEnabled, false);
}

} // namespace

void PrepareWebEngineProcess() {
    static bool done = false;
    if (done) return;
    done = true;
    if (geteuid() == 0) AddChromiumFlag("--no-sandbox");
    if (!HasRenderDevice()) AddChromiumFlag("--disable-gpu");
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

RufflePagePool& RufflePagePool::Instance() {
    if (!g_pool) {
        PrepareWebEngineProcess();
        g_pool = new RufflePagePool;
        // Pages and profile must go before the application object does.
        qAddPostRoutine(&RufflePagePool::Destroy);
    }
    return *g_pool;
}

void RufflePagePool::Destroy() {
    delete g_pool;
    g_pool = nullptr;
}

RufflePagePool::RufflePagePool() {
    profile_ = new QWebEngineProfile(this); // no storage name: off the record, nothing on disk
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    blocker_ = new RuffleRequestBlocker(this);
    profile_->setUrlRequestInterceptor(blocker_);
    ConfigureSettings(profile_->settings());
}

RufflePagePool::~RufflePagePool() {
    for (RufflePage* page : all_) delete page;
    all_.clear();
    idle_.clear();
    delete profile_;
}

RufflePage* RufflePagePool::Acquire(const QString& ruffleFolder) {
    // Broken pages (their load failed) are dropped rather than handed out again.
    while (!idle_.empty()) {
        RufflePage* page = idle_.back();
        idle_.pop_back();
        if (!page->broken()) return page;
        all_.erase(std::find(all_.begin(), all_.end(), page));
        page->deleteLater();
    }
    auto* page = new RufflePage(profile_, ruffleFolder, nullptr);
    all_.push_back(page);
    ++pagesMade_;
    return page;
}

void RufflePagePool::Release(RufflePage* page) {
    if (!page) return;
    page->RunWhenReady(RufflePage::UnloadScript());
    idle_.push_back(page);
}

} // namespace scr
