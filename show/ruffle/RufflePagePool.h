#pragma once
// The web pages that run Ruffle for the Flash controls of one window (the
// engine side of FlashPlayers). The first page is made on first use; a
// released page goes back to the pool and serves the next movie, so only the
// first movie pays for starting a renderer and compiling the player. A page
// keeps its view between movies: the view waits, hidden, in the pool's home
// window (a later movie then also skips setting up the view). A second page
// is made only while two movies play at once (pinned items, the current item).
// The player's WebAssembly memory only grows and the renderer process keeps
// what a page once used, so a page that comes back worn (it served many
// movies, or its renderer holds more than a bound) is thrown away and a fresh
// one, in a fresh renderer process, starts loading in its place; no movie is
// cut, and the next movie finds the fresh page ready or nearly so.
//
// Handing a page back does nothing but put it aside: what a page needs
// between movies (a fresh page, or its idle script) is done from the event
// loop afterwards, never inside the destructor that handed it back. Deleting
// the pool ends everything at once: views, pages (and so their renderers),
// the profile; engines that still exist find it gone and do nothing.
//
// Pages use a private, off-the-record profile (nothing stored, no cache, no
// cookies) whose requests are limited to the program's own scheme, served by
// RuffleSchemeHandler, by RuffleRequestBlocker; downloads are refused.

#include "show/FlashEngineFactory.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace scr {

class RufflePage;
class RuffleRequestBlocker;
class RuffleSchemeHandler;

class RufflePagePool : public QObject, public FlashEnginePool {
public:
    // Idle views wait in `home`, which outlives the pool.
    explicit RufflePagePool(QWidget* home);
    ~RufflePagePool() override;

    // FlashEnginePool
    std::unique_ptr<FlashEngine> Create(QWidget* parent, FlashEngineEvents events) override;
    void Prepare() override;
    int PagesMade() const override { return pagesMade_; }
    bool Renewing() const override;

    // A view with its page for one movie, now a child of `parent`; the caller
    // gives it back with Release.
    QWebEngineView* Acquire(const QString& ruffleFolder, QWidget* parent);
    void Release(QWebEngineView* view);
    // Gives the view a fresh page in place of its current one, which is
    // thrown away with its renderer process (a failed page may be poisoned, a
    // worn one holds too much). `reason` goes to the stats log.
    void Renew(QWebEngineView* view, const char* reason);
    static RufflePage* PageOf(QWebEngineView* view);
    // Serves the pages; exists once a view was acquired.
    RuffleSchemeHandler* schemeHandler() const { return handler_; }

    // When a page that comes back is replaced: after `movies` movies (0: no
    // such limit) or when its renderer's resident memory passes
    // `rendererBytes` (0: no such limit). The defaults may be changed with
    // SCRPLAYER_FLASH_PAGE_MOVIES and SCRPLAYER_FLASH_RENDERER_MB.
    struct RenewalLimits {
        int movies;
        qint64 rendererBytes;
    };
    static RenewalLimits DefaultRenewalLimits();

private:
    struct Entry {
        RufflePage* page;
        QPointer<QWebEngineView> view; // null once its home is gone
        bool tidied;                   // renewed or set idle since it came back
    };

    RufflePage* NewPage();
    // A new view with a new page, a child of `parent`.
    QWebEngineView* NewView(QWidget* parent);
    void ServeFrom(const QString& ruffleFolder);
    void Discard(RufflePage* page);
    bool Worn(RufflePage* page) const;
    // Readies a page that came back for its next movie, from the event loop.
    void Tidy(QWebEngineView* view);

    QPointer<QWidget> home_;
    QWebEngineProfile* profile_ = nullptr;
    RuffleRequestBlocker* blocker_ = nullptr;
    RuffleSchemeHandler* handler_ = nullptr;
    std::vector<QPointer<QWebEngineView>> views_; // every view made, lent or idle
    std::vector<Entry> idle_;
    std::vector<RufflePage*> pages_;             // in use or idle; discarded ones are not
    std::vector<QPointer<RufflePage>> renewals_; // fresh pages made to replace others
    int pagesMade_ = 0;
    RenewalLimits renewal_;
};

// Sets up what the web engine needs before it starts: no sandbox when the
// program runs as root (the sandbox refuses to start then), no GPU use when
// the machine has no render device. The user's own QTWEBENGINE_CHROMIUM_FLAGS
// are kept. Before the application object exists it also asks Qt to share
// OpenGL contexts, as the web engine wants.
void PrepareWebEngineProcess();

} // namespace scr
