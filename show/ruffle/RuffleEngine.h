#pragma once
// The Flash engine of this build: Ruffle's web player in a Qt WebEngine view.

#include "show/FlashEngine.h"

#include <QObject>
#include <QPointer>

class QWebEngineView;

namespace scr {

class RufflePage;

class RuffleEngine : public QObject, public FlashEngine {
public:
    RuffleEngine(QWidget* parent, const QString& ruffleFolder, FlashEngineEvents events);
    ~RuffleEngine() override;

    QWidget* view() override;
    void Load(const QString& filePath) override;
    void Resume() override;
    void Suspend() override;
    void Unload() override;

private:
    void Notice(int generation, const QString& kind, const QString& payload);

    QPointer<QWebEngineView> view_;
    RufflePage* page_ = nullptr;
    FlashEngineEvents events_;
    int generation_ = 0;
};

} // namespace scr
