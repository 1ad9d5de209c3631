#pragma once
// One web page that runs the Ruffle player. The page is loaded once and then
// plays one movie after another (the player's WebAssembly stays compiled, so
// a later movie starts in tens of milliseconds). The page never navigates
// anywhere and opens no windows; scripts reach the program through console
// notices of the form "scrplayer<SEP>generation<SEP>kind<SEP>payload".

#include <QStringList>
#include <QWebEnginePage>

namespace scr {

class RufflePage : public QWebEnginePage {
    Q_OBJECT

public:
    RufflePage(QWebEngineProfile* profile, const QString& ruffleFolder, QObject* parent);

    bool ready() const { return ready_; }
    bool broken() const { return broken_; }
    // Runs the script now when the page is ready, else as soon as it is.
    void RunWhenReady(const QString& script);

    // Script calls of the page's own functions.
    static QString LoadScript(int generation, const QUrl& movie);
    static QString ResumeScript() { return QStringLiteral("scrResume()"); }
    static QString SuspendScript() { return QStringLiteral("scrSuspend()"); }
    static QString UnloadScript() { return QStringLiteral("scrUnload()"); }
    static QString IdleScript() { return QStringLiteral("scrIdle()"); }

signals:
    void notice(int generation, const QString& kind, const QString& payload);
    void pageFailed();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;

private:
    void Finished(bool ok);

    bool loadingOwnPage_ = true;
    bool ready_ = false;
    bool broken_ = false;
    QStringList queued_;
};

} // namespace scr
