#include "show/ruffle/RufflePage.h"

#include <QColor>
#include <QUrl>

namespace scr {
namespace {

constexpr QChar kSeparator = QChar(0x1f);

// The player page. Ruffle's options: no context menu, no menu items, no
// splash screen, no unmute overlay, the canvas renderer (no GPU here), script
// access for fscommand, and network access left to the page's request
// blocker. Every load gets a fresh player element so nothing of the previous
// movie survives.
const char* const kPageHtml = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8">
<style>
html, body { margin: 0; padding: 0; width: 100%; height: 100%; overflow: hidden; background: #000; }
#stage, #stage > * { width: 100%; height: 100%; display: block; }
</style>
<script>
window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
  autoplay: "on", unmuteOverlay: "hidden", splashScreen: false, contextMenu: "off", menu: false,
  preferredRenderer: "canvas", allowScriptAccess: true, allowNetworking: "all", openUrlMode: "deny",
  warnOnUnsupportedContent: false, showSwfDownload: false, allowFullscreen: false, polyfills: false,
  letterbox: "on", logLevel: "error"
};
</script>
<script src="ruffle.js"></script>
<script>
(function () {
  const SEP = "\u001f";
  let player = null;
  let generation = 0;
  function notify(kind, payload) {
    console.info(["scrplayer", generation, kind, payload].join(SEP));
  }
  // One player element serves every movie: a new load replaces the movie
  // without building the element and its canvas again.
  function ensurePlayer() {
    if (player) return player;
    player = window.RufflePlayer.newest().createPlayer();
    document.getElementById("stage").appendChild(player);
    player.ruffle().addFSCommandHandler((command, argument) => notify("fs", command + SEP + argument));
    player.addEventListener("loadedmetadata", () => {
      const m = player.ruffle().metadata || {};
      notify("meta", [m.numFrames | 0, m.frameRate || 0, m.isActionScript3 ? 1 : 0].join(SEP));
    });
    return player;
  }
  window.scrUnload = function () {
    generation = 0;
    if (player) { player.remove(); player = null; }
  };
  window.scrLoad = function (gen, url) {
    generation = gen;
    try {
      ensurePlayer().ruffle().load({ url: url }).catch((e) => notify("failed", String(e)));
    } catch (e) {
      notify("failed", String(e));
    }
  };
  // Between movies: silent and paused, the element kept for the next movie.
  window.scrIdle = function () {
    generation = 0;
    if (player) player.ruffle().suspend();
  };
  window.scrResume = function () { if (player) player.ruffle().resume(); };
  window.scrSuspend = function () { if (player) player.ruffle().suspend(); };
  window.addEventListener("contextmenu", (e) => e.preventDefault(), true);
})();
</script>
</head><body><div id="stage"></div></body></html>
)HTML";

QString JsString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') out += u'\\';
        if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            continue;
        }
        out += c;
    }
    return out + u'"';
}

} // namespace

RufflePage::RufflePage(QWebEngineProfile* profile, const QString& ruffleFolder, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::loadFinished, this, &RufflePage::Finished);
    setBackgroundColor(Qt::black);
    setHtml(QString::fromUtf8(kPageHtml), QUrl::fromLocalFile(ruffleFolder + "/"));
}

QString RufflePage::LoadScript(int generation, const QUrl& movie) {
    return QStringLiteral("scrLoad(%1, %2)")
        .arg(generation)
        .arg(JsString(movie.toString(QUrl::FullyEncoded)));
}

void RufflePage::RunWhenReady(const QString& script) {
    if (broken_) return;
    if (ready_)
        runJavaScript(script);
    else
        queued_ << script;
}

void RufflePage::Finished(bool ok) {
    if (!loadingOwnPage_) return;
    loadingOwnPage_ = false;
    if (!ok) {
        broken_ = true;
        queued_.clear();
        emit pageFailed();
        return;
    }
    ready_ = true;
    for (const QString& script : std::exchange(queued_, {}))
        runJavaScript(script);
}

bool RufflePage::acceptNavigationRequest(const QUrl&, NavigationType, bool isMainFrame) {
    // Only the page's own first load; a movie's getURL or a link never navigates it.
    return loadingOwnPage_ && isMainFrame;
}

QWebEnginePage* RufflePage::createWindow(WebWindowType) {
    return nullptr;
}

void RufflePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                          const QString&) {
    const QStringList parts = message.split(kSeparator);
    if (parts.size() < 3 || parts[0] != QLatin1String("scrplayer")) return;
    bool ok = false;
    int generation = parts[1].toInt(&ok);
    if (!ok) return;
    emit notice(generation, parts[2], parts.mid(3).join(kSeparator));
}

} // namespace scr
