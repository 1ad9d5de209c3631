#pragma once
// What the Flash engine plugin offers the program. The engine (Ruffle in Qt
// WebEngine) is a plugin loaded on the first movie, so a show without movies
// never maps the web engine's libraries (see FlashEngineLoader.h).

#include "show/FlashEngine.h"

#include <QtPlugin>
#include <memory>

namespace scr {

// The players of one window (see FlashPlayers.h, which owns one): its pages,
// their views and everything they load. Deleting it ends them all at once.
class FlashEnginePool {
public:
    virtual ~FlashEnginePool() = default;
    // A new engine with `parent` as its view's parent; nullptr when the
    // engine's run-time files are missing.
    virtual std::unique_ptr<FlashEngine> Create(QWidget* parent, FlashEngineEvents events) = 0;
    // Makes a page ready for the first movie (the web engine started, the
    // player loaded), when the pool has none yet; nothing when the engine's
    // run-time files are missing.
    virtual void Prepare() = 0;
    // How many player pages the pool has made so far (each costs a web
    // engine page and a compiled player; later movies reuse them).
    virtual int PagesMade() const = 0;
    // A worn or failed page is being replaced: the fresh one is not ready yet.
    virtual bool Renewing() const = 0;
};

class FlashEngineFactory {
public:
    virtual ~FlashEngineFactory() = default;
    // A pool whose idle views wait, hidden, in `home`, which outlives the pool.
    virtual std::unique_ptr<FlashEnginePool> NewPool(QWidget* home) = 0;
    // Why a pool's Create returns nullptr; empty when it would not.
    virtual QString UnavailableReason() = 0;
};

} // namespace scr

#define SCR_FLASH_ENGINE_FACTORY_IID "org.scrplayer.FlashEngineFactory/4"
Q_DECLARE_INTERFACE(scr::FlashEngineFactory, SCR_FLASH_ENGINE_FACTORY_IID)
