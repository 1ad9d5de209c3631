#pragma once
// What the Flash engine plugin offers the program. The engine (Ruffle in Qt
// WebEngine) is a plugin loaded on the first movie, so a show without movies
// never maps the web engine's libraries (see FlashEngineLoader.h).

#include "show/FlashEngine.h"

#include <QtPlugin>

namespace scr {

class FlashEngineFactory {
public:
    virtual ~FlashEngineFactory() = default;
    // A new engine with `parent` as its view's parent; nullptr when the
    // engine's run-time files are missing.
    virtual std::unique_ptr<FlashEngine> Create(QWidget* parent, FlashEngineEvents events) = 0;
    // Why Create returns nullptr; empty when it would not.
    virtual QString UnavailableReason() = 0;
    // How many player pages the engine has made so far (each costs a web
    // engine page and a compiled player; later movies reuse them).
    virtual int PagesMade() = 0;
};

} // namespace scr

#define SCR_FLASH_ENGINE_FACTORY_IID "org.scrplayer.FlashEngineFactory/3"
Q_DECLARE_INTERFACE(scr::FlashEngineFactory, SCR_FLASH_ENGINE_FACTORY_IID)
