#include "show/ruffle/RufflePage.h"

#include "platform/gui/JpegDataUrl.h"
#include "show/ruffle/RuffleSchemeHandler.h"

#include <QColor>
#include <QDebug>
#include <QUrl>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace scr {
namespace {

constexpr QChar kSeparator = QChar(0x1f);

QString JsString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c == u'<' || c.unicode() >= 0x7f) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            continue;
        }
        out += c;
    }
    return out + u'"';
}

} // namespace

RufflePage::RufflePage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::loadFinished, this, &RufflePage::Finished);
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this](RenderProcessTerminationStatus status, int) {
                if (status != NormalTerminationStatus) Fail(QStringLiteral("player page crashed"));
            });
    RefusePermissions();
    setBackgroundColor(Qt::black);
    setUrl(RuffleSchemeHandler::PageUrl());
}

void RufflePage::RefusePermissions() {
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

QString RufflePage::LoadScript(int generation, const QUrl& movie, const QString& tracePrefix,
                               const QUrl& folder) {
    return QStringLiteral("scrLoad(%1, %2, %3, %4)")
        .arg(generation)
        .arg(JsString(movie.toString(QUrl::FullyEncoded)), JsString(tracePrefix),
             JsString(folder.isEmpty() ? QString() : folder.toString(QUrl::FullyEncoded)));
}

QImage RufflePage::DecodeCapture(const QVariant& result) {
    if (result.typeId() != QMetaType::QString) return {};
    return JpegFromDataUrl(result.toString(), kMaxCaptureSide);
}

void RufflePage::RunWhenReady(const QString& script) {
    if (broken_) return;
    if (ready_)
        runJavaScript(script);
    else
        queued_ << script;
}

void RufflePage::Fail(const QString& reason) {
    if (broken_) return;
    broken_ = true;
    queued_.clear();
    emit pageFailed(reason);
}

void RufflePage::Finished(bool ok) {
    if (!loadingOwnPage_) return;
    loadingOwnPage_ = false;
    if (!ok) {
        Fail(QStringLiteral("player page not loaded"));
        return;
    }
    ready_ = true;
    for (const QString& script : std::exchange(queued_, {}))
        runJavaScript(script);
}

bool RufflePage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    // Only the page's own first load; a movie's getURL, a link or a script never navigates it.
    return loadingOwnPage_ && isMainFrame && url == RuffleSchemeHandler::PageUrl();
}

QWebEnginePage* RufflePage::createWindow(WebWindowType) {
    return nullptr;
}

QStringList RufflePage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

bool RufflePage::javaScriptConfirm(const QUrl&, const QString&) {
    return false;
}

bool RufflePage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void RufflePage::javaScriptAlert(const QUrl&, const QString&) {}

void RufflePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int line,
                                          const QString& source) {
    // SCRPLAYER_FLASH_CONSOLE=1 passes the page's whole console on to standard error.
    static const bool echo = qEnvironmentVariableIntValue("SCRPLAYER_FLASH_CONSOLE") != 0;
    if (echo) qInfo().noquote() << "flash console:" << source << line << message;
    if (!message.startsWith(QLatin1String("scrplayer"))) return;
    const QStringList parts = message.split(kSeparator);
    if (parts.size() < 3 || parts[0] != QLatin1String("scrplayer")) return;
    bool ok = false;
    int generation = parts[1].toInt(&ok);
    if (!ok) return;
    emit notice(generation, parts[2], parts.mid(3).join(kSeparator));
}

} // namespace scr
