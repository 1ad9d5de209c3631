#pragma once
// The Flash-capable player behind a Flash control: a widget that plays one
// movie at a time and reports back through callbacks. The control
// (VtXShockwaveFlashEx) keeps the properties the program reads; an engine only
// loads, pauses and resumes, and passes on what the movie tells it.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace scr {

struct FlashEngineEvents {
    // The player read the movie's header.
    std::function<void(int totalFrames, double frameRate, bool actionScript3)> metadata;
    // The movie sent fscommand(command, argument).
    std::function<void(const QString& command, const QString& argument)> fsCommand;
    // The movie could not be loaded or the player failed while playing it.
    std::function<void(const QString& message)> failed;
};

class FlashEngine {
public:
    virtual ~FlashEngine() = default;
    // The widget that shows the movie; owned by the engine's parent.
    virtual QWidget* view() = 0;
    // Loads a movie file and starts playing it; replaces the movie before.
    virtual void Load(const QString& filePath) = 0;
    virtual void Resume() = 0;
    virtual void Suspend() = 0;
    // Unloads the movie (frees the player's memory for it).
    virtual void Unload() = 0;
};

// Creates the engine this build has, with `parent` as the view's parent;
// nullptr when the build has none or its run-time files are missing.
std::unique_ptr<FlashEngine> CreateFlashEngine(QWidget* parent, FlashEngineEvents events);

// Why CreateFlashEngine returns nullptr, for diagnostics; empty when it would not.
QString FlashEngineUnavailableReason();

} // namespace scr
