#pragma once
// The Flash engine of this build: Ruffle's web player in a Qt WebEngine view.
// A movie whose player fails (the page could not load, its renderer died,
// the engine panicked or could not read the movie) is loaded once more in a
// fresh page, since a failed page may be poisoned; when that fails too the
// engine reports the failure and shows nothing. Once its pool has ended, the
// engine does nothing (its view and page are gone with the pool).

#include "show/FlashEngine.h"

#include <QObject>
#include <QPointer>

class QWebEngineView;

namespace scr {

class RufflePage;
class RufflePagePool;

class RuffleEngine : public QObject, public FlashEngine {
public:
    RuffleEngine(RufflePagePool& pool, QWidget* parent, const QString& ruffleFolder,
                 FlashEngineEvents events);
    ~RuffleEngine() override;

    QWidget* view() override;
    void Load(const QByteArray& movie, const QString& tracePrefix, const QString& folder = {}) override;
    void Resume() override;
    void Suspend() override;
    void Unload() override;
    bool Loading() const override;
    void CaptureFrame(std::function<void(const QImage&)> done) override;

private:
    bool Usable() const;
    void AttachPage();
    void StartMovie();
    void Notice(int generation, const QString& kind, const QString& payload);
    void Failed(const QString& reason);

    // Each null once the pool has ended.
    QPointer<RufflePagePool> pool_;
    QPointer<QWebEngineView> view_;
    QPointer<RufflePage> page_;
    FlashEngineEvents events_;
    int generation_ = 0;
    QString tracePrefix_;
    bool withFolder_ = false; // the movie may read files of its folder
    bool playing_ = true;
    bool retried_ = false;
    bool failed_ = false;
    bool awaitingHeader_ = false; // a movie was loaded; the player has not read its header yet
};

} // namespace scr
