#pragma once
// The Flash-capable player behind a Flash control: a widget that plays one
// movie at a time and reports back through callbacks. The control
// (FlashControl) keeps the properties the program reads; an engine only
// loads, pauses and resumes, and passes on what the movie tells it.
// Engines are made by the FlashPlayers of a window; once those have ended, an
// engine that still exists does nothing: its view is gone (view() is
// nullptr) and captures give null images.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace scr {

struct FlashEngineEvents {
    // The player read the movie's header.
    std::function<void(int totalFrames, double frameRate, bool actionScript3)> metadata;
    // The movie's first frame is on the player's canvas.
    std::function<void()> shown;
    // The movie traced a message that starts with the load's trace prefix
    // (the prefix removed). Only these traces reach the program.
    std::function<void(const QString& message)> trace;
    // The movie could not be loaded or the player failed while playing it,
    // even in a fresh player; `reason` is short and fit for a log line.
    std::function<void(const QString& reason)> failed;
};

class FlashEngine {
public:
    virtual ~FlashEngine() = default;
    // The widget that shows the movie; owned by the engine's parent.
    virtual QWidget* view() = 0;
    // Plays a movie from its bytes; replaces the movie before. Trace
    // messages that start with `tracePrefix` are passed on (none when empty).
    // With a `folder`, the movie may read the files in that folder and the
    // folders below it by relative URL (loadMovie("part2.swf"), XML); nothing
    // outside it, and nothing from any network. Without one it reads nothing.
    virtual void Load(const QByteArray& movie, const QString& tracePrefix, const QString& folder = {}) = 0;
    virtual void Resume() = 0;
    virtual void Suspend() = 0;
    // Unloads the movie (frees the player's memory for it).
    virtual void Unload() = 0;
    // A movie was asked for and the player has not read its header yet.
    virtual bool Loading() const = 0;
    // Asks for the picture the movie shows now, as the player drew it.
    // `done` gets it later, on this thread: a null image when there is no
    // movie on show or the picture could not be read. Nothing is called once
    // the engine is gone.
    virtual void CaptureFrame(std::function<void(const QImage&)> done) = 0;
};

// Why no engine can be made (the build has none, its plugin or its run-time
// files are missing), for diagnostics; empty when engines can be made.
QString FlashEngineUnavailableReason();

} // namespace scr
