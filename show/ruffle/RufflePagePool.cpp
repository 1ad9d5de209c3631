#include "show/ruffle/RufflePagePool.h"

#include "platform/ChromiumFlags.h"
#include "platform/ResidentMemory.h"
#include "platform/StatsLog.h"
#include "show/ruffle/RuffleEngine.h"
#include "show/ruffle/RuffleFileCheck.h"
#include "show/ruffle/RuffleFiles.h"
#include "show/ruffle/RufflePage.h"
#include "show/ruffle/RuffleRequestBlocker.h"
#include "show/ruffle/RuffleSchemeHandler.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <string>
#include <unistd.h>

namespace scr {
namespace {

// A page's renderer settles at about 250 to 280 MB once it played a few
// movies at full screen, then grows by a few MB a minute in a show of short
// movies; past the bound the page is renewed, which keeps the show flat
// (docs/performance.md, "A Flash show for an hour").
constexpr int kRenewAfterMovies = 0;
constexpr qint64 kRenewAboveRendererMb = 280;

bool HasRenderDevice() {
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*"), QStringLiteral("card*")}, QDir::System | QDir::Files)
                .isEmpty();
}

void AddChromiumFlag(const char* flag) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(WithChromiumSwitch(
                                              qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), flag)));
}

void DisableChromiumFeature(const char* feature) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(WithChromiumFeatureDisabled(
                                              qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), feature)));
}

void ConfigureSettings(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    // Movies with sound start without a user gesture.
    settings->setAttribute(S::PlaybackRequiresUserGesture, false);
    // Nothing of the machine or the network beyond the program's own scheme.
    settings->setAttribute(S::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(S::DnsPrefetchEnabled, false);
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(S::HyperlinkAuditingEnabled, false);
    settings->setAttribute(S::AllowRunningInsecureContent, false);
    settings->setAttribute(S::AllowGeolocationOnInsecureOrigins, false);
    settings->setAttribute(S::AutoLoadIconsForPage, false);
    settings->setAttribute(S::TouchIconsEnabled, false);
    settings->setAttribute(S::LocalStorageEnabled, false);
    settings->setAttribute(S::JavascriptCanOpenWindows, false);
    settings->setAttribute(S::JavascriptCanAccessClipboard, false);
    settings->setAttribute(S::JavascriptCanPaste, false);
    settings->setAttribute(S::AllowWindowActivationFromJavaScript, false);
    settings->setAttribute(S::FullScreenSupportEnabled, false);
    settings->setAttribute(S::ScreenCaptureEnabled, false);
    settings->setAttribute(S::NavigateOnDropEnabled, false);
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
    // WebRTC never reveals or uses a network interface.
    AddChromiumFlag("--force-webrtc-ip-handling-policy=disable_non_proxied_udp");
    // The engine's own log (a session bus it cannot reach, say) stays off
    // standard error, which the screen-saver host or `scrtool render` shows:
    // the program reports what goes wrong with a movie in its own words.
    // Fatal messages still come through; the user's own level is kept.
    AddChromiumFlag("--log-level=3");
    // A show runs all night: keep the engine small (docs/performance.md,
    // "A Flash show for an hour"). Sound plays from the program's own
    // process instead of an audio service process of its own (about 55 MB
    // resident), and the script engine favours size over speed (the
    // player's own work is WebAssembly, which this leaves alone). A limit of
    // one renderer process is not set: with it, the fresh page made after a
    // renderer died was put into the dying process and failed as well.
    DisableChromiumFeature("AudioServiceOutOfProcess");
    AddChromiumFlag("--js-flags=--optimize-for-size");
    // Smaller caches and tile memory in the engine's processes.
    AddChromiumFlag("--enable-low-end-device-mode");
    // The view shows the page through Qt Quick, whose default path maps an
    // OpenGL driver into the program (without a GPU a software one with its
    // compiler library, about 65 MB resident). Its software renderer draws
    // the page's frames just as well: Ruffle draws on a 2D canvas and WebGL
    // is off. The user's own QT_QUICK_BACKEND is kept.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

RufflePagePool::RenewalLimits RufflePagePool::DefaultRenewalLimits() {
    RenewalLimits limits{kRenewAfterMovies, kRenewAboveRendererMb * 1024 * 1024};
    bool ok = false;
    const int movies = qEnvironmentVariableIntValue("SCRPLAYER_FLASH_PAGE_MOVIES", &ok);
    if (ok && movies >= 0) limits.movies = movies;
    const int megabytes = qEnvironmentVariableIntValue("SCRPLAYER_FLASH_RENDERER_MB", &ok);
    if (ok && megabytes >= 0) limits.rendererBytes = qint64{megabytes} * 1024 * 1024;
    return limits;
}

RufflePagePool::RufflePagePool(QWidget* home) : home_(home), renewal_(DefaultRenewalLimits()) {
    PrepareWebEngineProcess();
    RuffleSchemeHandler::RegisterScheme();
    profile_ = new QWebEngineProfile(this); // no storage name: off the record, nothing on disk
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    blocker_ = new RuffleRequestBlocker(this);
    profile_->setUrlRequestInterceptor(blocker_);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    ConfigureSettings(profile_->settings());
}

RufflePagePool::~RufflePagePool() {
    // Views first (a view never owns the page it shows), then every page,
    // also those discarded but not deleted yet, then the profile they belong to.
    for (const QPointer<QWebEngineView>& view : views_)
        delete view.data();
    for (RufflePage* page : findChildren<RufflePage*>(Qt::FindDirectChildrenOnly))
        delete page;
    delete profile_;
}

std::unique_ptr<FlashEngine> RufflePagePool::Create(QWidget* parent, FlashEngineEvents events) {
    const QString folder = FindRuffleFolder();
    if (folder.isEmpty() || !MissingRuffleFiles(folder).isEmpty()) return nullptr;
    return std::make_unique<RuffleEngine>(*this, parent, folder, std::move(events));
}

RufflePage* RufflePagePool::PageOf(QWebEngineView* view) {
    return static_cast<RufflePage*>(view->page());
}

bool RufflePagePool::Worn(RufflePage* page) const {
    if (renewal_.movies > 0 && page->moviesServed() >= renewal_.movies) return true;
    if (renewal_.rendererBytes <= 0) return false;
    return ResidentBytesOf(static_cast<pid_t>(page->renderProcessPid())) > renewal_.rendererBytes;
}

bool RufflePagePool::Renewing() const {
    for (const QPointer<RufflePage>& page : renewals_)
        if (page && !page->ready() && !page->broken()) return true;
    for (const Entry& entry : idle_)
        if (!entry.tidied && !entry.page->broken() && Worn(entry.page)) return true;
    return false;
}

RufflePage* RufflePagePool::NewPage() {
    auto* page = new RufflePage(profile_, this);
    pages_.push_back(page);
    ++pagesMade_;
    return page;
}

void RufflePagePool::Discard(RufflePage* page) {
    pages_.erase(std::find(pages_.begin(), pages_.end(), page));
    page->deleteLater(); // it may be the sender of the signal being handled
}

void RufflePagePool::ServeFrom(const QString& ruffleFolder) {
    if (handler_) return;
    handler_ = new RuffleSchemeHandler(ruffleFolder, this);
    profile_->installUrlSchemeHandler(RuffleSchemeHandler::kScheme, handler_);
}

void RufflePagePool::Prepare() {
    if (!views_.empty() || !home_) return;
    const QString folder = FindRuffleFolder();
    if (folder.isEmpty() || !MissingRuffleFiles(folder).isEmpty()) return;
    ServeFrom(folder);
    // A page of its own, parked in the home window and counting no movie,
    // that the first movie takes.
    QWebEngineView* view = NewView(home_);
    view->hide();
    idle_.push_back({PageOf(view), view, true});
}

QWebEngineView* RufflePagePool::NewView(QWidget* parent) {
    std::erase_if(views_, [](const QPointer<QWebEngineView>& v) { return v.isNull(); });
    auto* view = new QWebEngineView(parent);
    views_.emplace_back(view);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setFocusPolicy(Qt::NoFocus);
    view->setPage(NewPage()); // a view never owns a page it is given
    return view;
}

QWebEngineView* RufflePagePool::Acquire(const QString& ruffleFolder, QWidget* parent) {
    ServeFrom(ruffleFolder);
    QWebEngineView* view = nullptr;
    // Broken pages (their load failed) are dropped rather than handed out
    // again, and so are pages whose view went with their home.
    while (!idle_.empty() && !view) {
        const Entry entry = idle_.back();
        idle_.pop_back();
        if (entry.view && !entry.page->broken()) {
            view = entry.view;
            // Handed out again before it was tidied: a worn page is renewed now.
            if (!entry.tidied && Worn(entry.page)) Renew(view, "worn");
            continue;
        }
        delete entry.view.data();
        Discard(entry.page);
    }
    if (view) {
        view->setParent(parent);
        PageOf(view)->CountMovie();
        return view;
    }
    view = NewView(parent);
    PageOf(view)->CountMovie();
    return view;
}

void RufflePagePool::Renew(QWebEngineView* view, const char* reason) {
    RufflePage* old = PageOf(view);
    RufflePage* fresh = NewPage();
    std::erase_if(renewals_, [](const QPointer<RufflePage>& page) { return page.isNull(); });
    renewals_.emplace_back(fresh);
    view->setPage(fresh);
    for (Entry& entry : idle_)
        if (entry.page == old) entry.page = fresh;
    Discard(old);
    AppendStatsLine(std::string("page-renewal reason=") + reason);
}

void RufflePagePool::Release(QWebEngineView* view) {
    if (!view) return;
    view->hide();
    if (!home_) {
        // Nowhere to keep it: the view and its page go now.
        RufflePage* page = PageOf(view);
        delete view;
        Discard(page);
        return;
    }
    view->setParent(home_);
    idle_.push_back({PageOf(view), view, false});
    QTimer::singleShot(0, this, [this, kept = QPointer<QWebEngineView>(view)] {
        if (kept) Tidy(kept);
    });
}

void RufflePagePool::Tidy(QWebEngineView* view) {
    const auto entry =
        std::find_if(idle_.begin(), idle_.end(), [view](const Entry& e) { return e.view == view; });
    // Handed out again meanwhile, or already done.
    if (entry == idle_.end() || entry->tidied) return;
    entry->tidied = true;
    if (entry->page->broken()) return; // dropped when next asked for
    if (Worn(entry->page))
        Renew(view, "worn"); // the worn page's renderer process ends with it
    else
        entry->page->RunWhenReady(RufflePage::IdleScript());
}

} // namespace scr
