#pragma once
// One web page that runs the Ruffle player. The page is loaded once from the
// program's own scheme (RuffleSchemeHandler) and then plays one movie after
// another (the player's WebAssembly stays compiled, so a later movie starts in
// tens of milliseconds). The page never navigates anywhere, opens no windows,
// and every permission it asks for (notifications, location, camera,
// microphone, screen, full screen, files, protocol handlers) is refused.
// Scripts reach the program through console notices of the form
// "scrplayer<SEP>generation<SEP>kind<SEP>payload" (see RufflePageSource.h).

#include <QImage>
#include <QStringList>
#include <QWebEnginePage>

namespace scr {

class RufflePage : public QWebEnginePage {
    Q_OBJECT

public:
    RufflePage(QWebEngineProfile* profile, QObject* parent);

    bool ready() const { return ready_; }
    // The page could not be loaded, its renderer died, or its player failed:
    // it is not used again.
    bool broken() const { return broken_; }
    void MarkBroken() { broken_ = true; }
    // How often the pool handed the page out.
    int moviesServed() const { return moviesServed_; }
    void CountMovie() { ++moviesServed_; }
    // Runs the script now when the page is ready, else as soon as it is.
    void RunWhenReady(const QString& script);

    // Script calls of the page's own functions.
    // With a `folder` URL the movie's relative URLs resolve there and it may
    // load from there; without one it may load nothing.
    static QString LoadScript(int generation, const QUrl& movie, const QString& tracePrefix,
                              const QUrl& folder = {});
    static QString ResumeScript() { return QStringLiteral("scrResume()"); }
    static QString SuspendScript() { return QStringLiteral("scrSuspend()"); }
    static QString UnloadScript() { return QStringLiteral("scrUnload()"); }
    static QString IdleScript() { return QStringLiteral("scrIdle()"); }
    static QString CaptureScript() { return QStringLiteral("scrCapture()"); }
    // The picture CaptureScript returned; a null image for anything but a
    // JPEG data URL of a picture at most kMaxCaptureSide pixels a side.
    static QImage DecodeCapture(const QVariant& result);
    static constexpr int kMaxCaptureSide = 8192;

signals:
    void notice(int generation, const QString& kind, const QString& payload);
    void pageFailed(const QString& reason);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;

private:
    void Finished(bool ok);
    void Fail(const QString& reason);
    void RefusePermissions();

    bool loadingOwnPage_ = true;
    bool ready_ = false;
    bool broken_ = false;
    int moviesServed_ = 0;
    QStringList queued_;
};

} // namespace scr
