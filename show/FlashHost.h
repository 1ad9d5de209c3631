#pragma once
// The Flash host: a panel with one Flash control (FlashControl)
// filling it. When no Flash player is available the panel shows the notice
// "Please install the\nMacromedia Flash Player..." instead, every property
// reads its default and ignores writes, and the mouse handlers and popup
// menu go to the notice, so callers never test whether Flash is available.

#include "show/ControlEvents.h"

#include <QWidget>

namespace scr {

class FlashNoticeLabel;
class FlashPlayers;
class FlashControl;

enum class PanelBevel { None, Lowered, Raised };

class FlashHost : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int TotalFrames READ TotalFrames)
    Q_PROPERTY(int FrameNum READ FrameNum)
    Q_PROPERTY(bool Playing READ Playing WRITE SetPlaying)
    Q_PROPERTY(bool Loop READ Loop WRITE SetLoop)
    Q_PROPERTY(QByteArray Movie READ Movie WRITE SetMovie)
    Q_PROPERTY(QMenu* PM READ PM WRITE SetPM)
    Q_PROPERTY(scr::MouseMoveEvent OnMouseMove READ OnMouseMove WRITE SetOnMouseMove)
    Q_PROPERTY(scr::NotifyEvent OnClick READ OnClick WRITE SetOnClick)

public:
    static constexpr const char* kNoPlayerNotice = "Please install the\nMacromedia Flash Player...";

    // The player comes from `players`, the Flash players of the window.
    explicit FlashHost(FlashPlayers& players, QWidget* owner = nullptr);
    ~FlashHost() override;

    FlashControl* Player() const { return player_; }
    FlashNoticeLabel* NoPlayerLabel() const { return noPlayerLabel_; }
    PanelBevel BevelInner() const { return bevelInner_; }
    PanelBevel BevelOuter() const { return bevelOuter_; }

    int TotalFrames() const;
    int FrameNum() const;
    bool Playing() const;
    void SetPlaying(bool playing);
    bool Loop() const;
    void SetLoop(bool loop);
    // The movie's bytes (the player takes them from memory).
    QByteArray Movie() const;
    void SetMovie(const QByteArray& movie);
    // The folder the movie may load its neighbours from (see
    // FlashControl::SetMovieFolder); set it before the movie.
    void SetMovieFolder(const QString& folder);
    QMenu* PM() const;
    void SetPM(QMenu* menu);
    MouseMoveEvent OnMouseMove() const;
    void SetOnMouseMove(MouseMoveEvent handler);
    NotifyEvent OnClick() const;
    void SetOnClick(NotifyEvent handler);

    // Moves the host to (left, top)-(right, bottom) in its parent. When the
    // size changes, the player is resized and attached anew.
    void SetPlayerBounds(int left, int top, int right, int bottom);
    // Detaches the player from the host and attaches it again.
    void Reparent();
    // Starts the movie; nothing without a player.
    void Play();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ControlEvents* Events() const;
    QRect ClientRect() const;

    FlashControl* player_ = nullptr;
    FlashNoticeLabel* noPlayerLabel_ = nullptr;
    PanelBevel bevelInner_ = PanelBevel::None;
    PanelBevel bevelOuter_ = PanelBevel::None;
};

// The one way the program makes Flash hosts: a hidden host with Loop and
// Playing off, placed in `parent` at (left, top)-(right, bottom), its player
// from `players`. The caller sets Movie, Loop and the handlers, shows it and
// calls Play. The parent owns the host (the caller may delete it earlier);
// nullptr when it cannot be made.
FlashHost* CreateFlashHost(QWidget* parent, FlashPlayers& players, int left, int top, int right, int bottom);

} // namespace scr
