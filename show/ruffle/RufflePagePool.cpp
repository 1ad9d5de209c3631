#include "show/ruffle/RufflePagePool.h"

#include "show/ruffle/RufflePage.h"
#include "show/ruffle/RuffleRequestBlocker.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <unistd.h>

namespace scr {
namespace {

RufflePagePool* g_pool = nullptr;

bool HasRenderDevice() {
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*"), QStringLiteral("card*")}, QDir::System | QDir::Files)
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
    // Pages whose view still lives are left to the ending process: deleting a
    // view this late (after the application object began to go) crashes.
    for (RufflePage* page : pages_)
        if (!QWebEngineView::forPage(page)) delete page;
    delete profile_;
}

RufflePage* RufflePagePool::PageOf(QWebEngineView* view) {
    return static_cast<RufflePage*>(view->page());
}

QWebEngineView* RufflePagePool::Acquire(const QString& ruffleFolder, QWidget* parent) {
    RufflePage* page = nullptr;
    QWebEngineView* view = nullptr;
    // Broken pages (their load failed) are dropped rather than handed out again.
    while (!idle_.empty() && !page) {
        Entry entry = idle_.back();
        idle_.pop_back();
        if (!entry.page->broken()) {
            page = entry.page;
            view = entry.view;
            continue;
        }
        pages_.erase(std::find(pages_.begin(), pages_.end(), entry.page));
        delete entry.view;
        delete entry.page;
    }
    if (!page) {
        page = new RufflePage(profile_, ruffleFolder, nullptr);
        pages_.push_back(page);
        ++pagesMade_;
    }
    if (view) {
        view->setParent(parent);
        return view;
    }
    view = new QWebEngineView(parent);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setFocusPolicy(Qt::NoFocus);
    view->setPage(page); // a view never owns a page it is given
    return view;
}

void RufflePagePool::Release(QWebEngineView* view) {
    if (!view) return;
    RufflePage* page = PageOf(view);
    page->RunWhenReady(RufflePage::IdleScript());
    view->hide();
    QWidget* window = view->window();
    view->setParent(window != view ? window : nullptr);
    idle_.push_back({page, view});
}

} // namespace scr
