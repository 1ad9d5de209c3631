#pragma once
// The Flash players of one window: the engine's pages and the views that
// show them, shared by every Flash control of that window. The window owns
// it and ends it, by destroying it, before any of its own widgets go: every
// view and page is then deleted at once, nothing is renewed or loaded any
// more, and controls that still exist show nothing. A window that is being
// destroyed therefore never gets a view handed back or re-parented into it.
//
// The engine plugin is loaded on the first Create, so a window that never
// shows a movie never maps the web engine.

#include "show/FlashEngine.h"

#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace scr {

class FlashEnginePool;

class FlashPlayers {
public:
    // Idle views wait, hidden, in `home`: the window that owns these players.
    explicit FlashPlayers(QWidget* home);
    ~FlashPlayers();
    FlashPlayers(const FlashPlayers&) = delete;
    FlashPlayers& operator=(const FlashPlayers&) = delete;

    // A new engine with `parent` as its view's parent; nullptr when the build
    // has no engine, its plugin or its run-time files are missing
    // (FlashEngineUnavailableReason says why).
    std::unique_ptr<FlashEngine> Create(QWidget* parent, FlashEngineEvents events);

    // Starts the engine and readies a page for the first movie, so that it
    // starts sooner; nothing when there is no engine or a page exists.
    void Prepare();
    // How many player pages were made so far.
    int PagesMade() const;
    // A worn or failed page is being replaced by a fresh one not yet ready.
    bool PageRenewing() const;

private:
    // The pool, made (and the engine plugin loaded) on first need; nullptr without an engine.
    FlashEnginePool* Pool();

    QPointer<QWidget> home_;
    std::unique_ptr<FlashEnginePool> pool_;
};

} // namespace scr
