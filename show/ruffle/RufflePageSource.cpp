#include "show/ruffle/RufflePageSource.h"

namespace scr {
namespace {

const char* const kPageHtml = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src scrflash: 'wasm-unsafe-eval'; style-src scrflash: 'unsafe-inline'; img-src scrflash: data: blob:; media-src scrflash: data: blob:; font-src scrflash: data:; connect-src scrflash:; worker-src 'none'; child-src 'none'; frame-src 'none'; object-src 'none'; base-uri 'none'; form-action 'none'; manifest-src 'none'">
<style>
html, body { margin: 0; padding: 0; width: 100%; height: 100%; overflow: hidden; background: #000; }
#stage, #stage > * { width: 100%; height: 100%; display: block; }
</style>
<script src="host.js"></script>
<script src="ruffle/ruffle.js"></script>
</head><body><div id="stage"></div></body></html>
)HTML";

const char* const kPageScript = R"JS("use strict";
(function () {
  const SEP = "\u001f";
  const OWN_FILES = "scrflash://player/ruffle/";
  const MAX_TRACE = 64;

  // Ways out of the page that no movie needs. The page's policy and the
  // program's request blocker stop them as well.
  for (const name of ["RTCPeerConnection", "webkitRTCPeerConnection", "RTCSessionDescription",
                      "RTCIceCandidate", "WebSocket", "EventSource", "WebTransport"]) {
    try { Object.defineProperty(window, name, { value: undefined, writable: false, configurable: false }); }
    catch (e) { /* not present in this engine */ }
  }
  try { Object.defineProperty(navigator, "sendBeacon", { value: () => false }); } catch (e) { }

  // The web engine cannot fetch() from a scheme of the program's own: read
  // the Ruffle files with XMLHttpRequest instead, and the files of the
  // current movie's folder when it has one. Nothing else is fetched.
  function readOwn(url) {
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open("GET", url);
      request.responseType = "arraybuffer";
      request.onload = () => {
        if ((request.status === 200 || request.status === 0) && request.response) resolve(request);
        else reject(new TypeError("not found: " + url));
      };
      request.onerror = () => reject(new TypeError("could not read " + url));
      request.send();
    });
  }
  const blocked = () => Promise.reject(new TypeError("the player page reads no other files"));
  window.fetch = function (input, init) {
    let url;
    const request = input instanceof Request ? input : null;
    try { url = new URL(request ? request.url : String(input), document.baseURI).href; }
    catch (e) { return blocked(); }
    const method = (init && init.method) || (request && request.method) || "GET";
    const own = url.startsWith(OWN_FILES) || (folderUrl !== null && url.startsWith(folderUrl));
    if (!own || method.toUpperCase() !== "GET") return blocked();
    return readOwn(url).then((request) => new Response(request.response, {
      status: 200,
      headers: { "Content-Type": request.getResponseHeader("Content-Type") || "application/octet-stream" },
    }));
  };

  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    autoplay: "on", unmuteOverlay: "hidden", splashScreen: false, contextMenu: "off", menu: false,
    preferredRenderer: "canvas", allowScriptAccess: false, allowNetworking: "none", openUrlMode: "deny",
    upgradeToHttps: false, warnOnUnsupportedContent: false, showSwfDownload: false, allowFullscreen: false,
    polyfills: false, letterbox: "on", logLevel: "error", socketProxy: [], fontSources: [],
    credentialAllowList: [], openInNewTab: null,
  };

  let player = null;
  let folderUrl = null;
  let generation = 0;
  let tracePrefix = null;
  let wantPlaying = false;
  let failedGeneration = -1;

  function notify(kind, payload) {
    console.info(["scrplayer", generation, kind, payload].join(SEP));
  }
  function fail(gen, reason) {
    if (gen !== generation || failedGeneration === gen) return;
    failedGeneration = gen;
    notify("failed", String(reason).replace(/\s+/g, " ").slice(0, 120));
  }
  // The engine's own panels (error, messages, play button, overlays) are
  // never shown; an error panel means the engine gave up on the movie.
  const HIDDEN = "#panic, #message-overlay, #play-button, #unmute-overlay, #splash-screen, " +
                 "#context-menu-overlay, #hardware-acceleration-modal, #volume-controls-modal, " +
                 "#clipboard-modal, #save-manager, #video-modal { display: none !important; }";
  function watchShadow(element) {
    const shadow = element.shadowRoot;
    if (!shadow) return;
    const style = document.createElement("style");
    style.textContent = HIDDEN;
    shadow.appendChild(style);
    const check = () => {
      const panel = shadow.getElementById("panic");
      if (!panel) return;
      const body = shadow.getElementById("panic-body");
      fail(generation, "engine panic: " + (body ? body.textContent : "error panel"));
    };
    new MutationObserver(check).observe(shadow, { childList: true, subtree: true });
  }
  function ensurePlayer() {
    if (player) return player;
    player = window.RufflePlayer.newest().createPlayer();
    document.getElementById("stage").appendChild(player);
    watchShadow(player);
    player.addEventListener("loadedmetadata", () => {
      const m = player.ruffle().metadata || {};
      notify("meta", [m.numFrames | 0, m.frameRate || 0, m.isActionScript3 ? 1 : 0].join(SEP));
    });
    return player;
  }
  // "shown": the movie's first frame is on the canvas. A movie that sends
  // frame notices runs a frame's actions before drawing it, so two animation
  // frames after its first notice that frame has been drawn; a movie without
  // notices is taken as shown two animation frames after it started.
  let shownGeneration = 0;
  function announceShown(gen) {
    if (shownGeneration === gen) return;
    shownGeneration = gen;
    requestAnimationFrame(() => requestAnimationFrame(() => { if (gen === generation) notify("shown", ""); }));
  }
  function onTrace(message) {
    if (tracePrefix === null || typeof message !== "string" || !message.startsWith(tracePrefix)) return;
    announceShown(generation);
    notify("trace", message.slice(tracePrefix.length, tracePrefix.length + MAX_TRACE));
  }
  // A page that was hidden and is shown again plays on when it should.
  document.addEventListener("visibilitychange", () => {
    if (!document.hidden && player && wantPlaying && generation) player.ruffle().resume();
  });

  // A movie with a folder URL may load files from there (and nothing else:
  // the page's fetch and the program's request blocker see to that); one
  // without may load nothing at all.
  window.scrLoad = function (gen, movieUrl, prefix, folder) {
    generation = gen;
    tracePrefix = prefix || null;
    folderUrl = folder || null;
    wantPlaying = true;
    readOwn(movieUrl).then((request) => {
      if (gen !== generation) return undefined;
      const current = ensurePlayer();
      const options = { data: request.response, swfFileName: "movie.swf" };
      if (folder) Object.assign(options, { base: folder, allowNetworking: "internal" });
      return current.ruffle().load(options).then(() => {
        if (gen !== generation) return;
        current.ruffle().traceObserver = onTrace;
        if (wantPlaying) current.ruffle().resume(); else current.ruffle().suspend();
        if (tracePrefix === null) announceShown(gen);
      });
    }).catch((e) => fail(gen, e && e.message ? e.message : e));
  };
  window.scrUnload = function () {
    generation = 0;
    folderUrl = null;
    wantPlaying = false;
    if (player) { player.remove(); player = null; }
  };
  // Between movies: silent and paused, the element kept for the next movie.
  window.scrIdle = function () {
    generation = 0;
    folderUrl = null;
    wantPlaying = false;
    tracePrefix = null;
    if (player) player.ruffle().suspend();
  };
  // The picture the movie shows now, for a render to a video: the player's
  // canvas as a JPEG data URL, or "" when no movie is on show.
  window.scrCapture = function () {
    if (!player || !generation || !player.shadowRoot) return "";
    const canvas = player.shadowRoot.querySelector("canvas");
    if (!canvas || !canvas.width || !canvas.height) return "";
    try { return canvas.toDataURL("image/jpeg", 0.95); } catch (e) { return ""; }
  };
  window.scrResume = function () { wantPlaying = true; if (player) player.ruffle().resume(); };
  window.scrSuspend = function () { wantPlaying = false; if (player) player.ruffle().suspend(); };
  window.addEventListener("contextmenu", (e) => e.preventDefault(), true);
})();
)JS";

} // namespace

QByteArray RufflePageHtml() {
    return QByteArray(kPageHtml);
}

QByteArray RufflePageScript() {
    return QByteArray(kPageScript);
}

} // namespace scr
