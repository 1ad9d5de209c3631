#pragma once
// The web pages that run Ruffle, shared by every Flash control of the
// process. The first page is made on first use; a released page goes back to
// the pool and serves the next movie, so only the first movie pays for
// starting the web engine and compiling the player. A page keeps its view
// while the window it was shown in exists (a later movie in the same window
// then also skips setting up the view); the view is a hidden child of that
// window meanwhile and goes with it. A second page is made only while two
// movies play at once (pinned items, the current item).
// The player's WebAssembly memory only grows and the renderer process keeps
// what a page once used, so a page that comes back worn (it served many
// movies, or its renderer holds more than a bound) is thrown away and a fresh
// one, in a fresh renderer process, starts loading at once in its place; no
// movie is cut, and the next movie finds the fresh page ready or nearly so.
// Pages use a private, off-the-record profile (nothing stored, no cache, no
// cookies) whose requests are limited to the program's own scheme, served by
// RuffleSchemeHandler, by RuffleRequestBlocker; downloads are refused.

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

class RufflePagePool : public QObject {
public:
    // The pool of the process; made on first call (needs the application object).
    static RufflePagePool& Instance();

    // A view with its page for one movie, now a child of `parent`; the caller
    // gives it back with Release.
    QWebEngineView* Acquire(const QString& ruffleFolder, QWidget* parent);
    void Release(QWebEngineView* view);
    // Gives the view a fresh page in place of its current one, which is
    // thrown away with its renderer process (a failed page may be poisoned, a
    // worn one holds too much).
    void Renew(QWebEngineView* view);
    static RufflePage* PageOf(QWebEngineView* view);
    // Serves the pages; exists once a view was acquired.
    RuffleSchemeHandler* schemeHandler() const { return handler_; }

    int pagesMade() const { return pagesMade_; }

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
    RufflePagePool();
    ~RufflePagePool() override;
    static void Destroy();

    QWebEngineProfile* profile_ = nullptr;
    RufflePage* NewPage();
    void Discard(RufflePage* page);
    bool Worn(RufflePage* page) const;

    RuffleRequestBlocker* blocker_ = nullptr;
    RuffleSchemeHandler* handler_ = nullptr;
    struct Entry {
        RufflePage* page;
        QPointer<QWebEngineView> view; // null once its window is gone
    };
    std::vector<Entry> idle_;
    std::vector<RufflePage*> pages_;
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
