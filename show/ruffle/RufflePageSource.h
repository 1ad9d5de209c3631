#pragma once
// The player page and its script, served by RuffleSchemeHandler.
//
// The page runs Ruffle with script access off (no ExternalInterface, no
// fscommand, no javascript: URLs), networking off, opening URLs denied, no
// context menu, splash screen, play button or unmute overlay, autoplay on and
// the canvas renderer. Its Content-Security-Policy allows only the program's
// own scheme (plus WebAssembly compilation and in-page data); fetch() reaches
// only the Ruffle files of that scheme; WebRTC and WebSocket are removed.
//
// The program drives the page through scrLoad/scrResume/scrSuspend/scrIdle/
// scrUnload and hears back through console notices of the form
// "scrplayer<SEP>generation<SEP>kind<SEP>payload" (SEP = U+001F), kinds:
//   meta    frames<SEP>frame rate<SEP>1 for ActionScript 3
//   trace   a trace() message of the movie that starts with the load's prefix,
//           the prefix removed
//   failed  a short reason: the movie could not be read, or the engine
//           panicked (its error panel is hidden, never shown)

#include <QByteArray>

namespace scr {

QByteArray RufflePageHtml();
QByteArray RufflePageScript();

} // namespace scr
