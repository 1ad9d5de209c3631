#include "show/FlashHost.h"

#include "platform/StatsLog.h"
#include "show/FlashControl.h"
#include "show/FlashNoticeLabel.h"

#include <QPainter>
#include <qdrawutil.h>
#include <string>

namespace scr {

FlashHost::FlashHost(FlashPlayers& players, QWidget* owner) : QWidget(owner) {
    hide();
    try {
        player_ = new FlashControl(this, players);
    } catch (const std::exception&) {
        player_ = nullptr;
    }
    if (player_) {
        player_->setGeometry(ClientRect());
        Reparent();
        player_->SetLoop(false);
        player_->SetMenu(false);
        player_->show();
        return;
    }
    bevelInner_ = PanelBevel::Lowered;
    bevelOuter_ = PanelBevel::Raised;
    noPlayerLabel_ = new FlashNoticeLabel(this);
    noPlayerLabel_->setAlignment(Qt::AlignCenter);
    noPlayerLabel_->setAutoFillBackground(true); // not transparent
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    noPlayerLabel_->setFont(font);
    QPalette palette = noPlayerLabel_->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, Qt::white);
    noPlayerLabel_->setPalette(palette);
    noPlayerLabel_->setText(QString::fromLatin1(kNoPlayerNotice));
    noPlayerLabel_->setGeometry(ClientRect());
    noPlayerLabel_->show();
}

FlashHost::~FlashHost() {
    if (player_ && player_->HasMovie() && StatsEnabled() && !player_->Failure().isEmpty())
        AppendStatsLine("flash error=" + player_->Failure().toStdString());
    if (player_ && player_->HasMovie() && StatsEnabled())
        AppendStatsLine("flash frames=" + std::to_string(player_->TotalFrames()) + " last=" +
                        std::to_string(player_->FrameNum()) + " playing=" + (player_->Playing() ? "1" : "0"));
    delete player_;
    delete noPlayerLabel_;
}

QRect FlashHost::ClientRect() const {
    int border = (bevelInner_ != PanelBevel::None) + (bevelOuter_ != PanelBevel::None);
    return rect().adjusted(border, border, -border, -border);
}

ControlEvents* FlashHost::Events() const {
    if (player_) return &player_->events();
    if (noPlayerLabel_) return &noPlayerLabel_->events();
    return nullptr;
}

int FlashHost::TotalFrames() const {
    return player_ ? player_->TotalFrames() : 0;
}
int FlashHost::FrameNum() const {
    return player_ ? player_->FrameNum() : 0;
}
bool FlashHost::Playing() const {
    return player_ && player_->Playing();
}
void FlashHost::SetPlaying(bool playing) {
    if (player_) player_->SetPlaying(playing);
}
bool FlashHost::Loop() const {
    return player_ && player_->Loop();
}
void FlashHost::SetLoop(bool loop) {
    if (player_) player_->SetLoop(loop);
}
QByteArray FlashHost::Movie() const {
    return player_ ? player_->Movie() : QByteArray();
}
void FlashHost::SetMovieFolder(const QString& folder) {
    if (player_) player_->SetMovieFolder(folder);
}
void FlashHost::SetMovie(const QByteArray& movie) {
    if (player_) player_->SetMovie(movie);
}
QMenu* FlashHost::PM() const {
    return Events() ? Events()->popupMenu.data() : nullptr;
}
void FlashHost::SetPM(QMenu* menu) {
    if (ControlEvents* events = Events()) events->popupMenu = menu;
}
MouseMoveEvent FlashHost::OnMouseMove() const {
    return Events() ? Events()->onMouseMove : MouseMoveEvent();
}
void FlashHost::SetOnMouseMove(MouseMoveEvent handler) {
    if (ControlEvents* events = Events()) events->onMouseMove = std::move(handler);
}
NotifyEvent FlashHost::OnClick() const {
    return Events() ? Events()->onClick : NotifyEvent();
}
void FlashHost::SetOnClick(NotifyEvent handler) {
    if (ControlEvents* events = Events()) events->onClick = std::move(handler);
}

void FlashHost::SetPlayerBounds(int left, int top, int right, int bottom) {
    QSize old = size();
    setGeometry(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    // A hidden widget gets its resize event only when shown: place the notice now.
    if (noPlayerLabel_) noPlayerLabel_->setGeometry(ClientRect());
    if (player_ && size() != old) {
        player_->setGeometry(0, 0, width(), height());
        Reparent();
    }
}

void FlashHost::Reparent() {
    if (!player_) return;
    bool shown = !player_->isHidden();
    QRect bounds = player_->geometry();
    player_->setParent(nullptr);
    player_->setParent(this);
    player_->setGeometry(bounds);
    if (shown) player_->show();
}

void FlashHost::Play() {
    if (player_) player_->Play();
}

void FlashHost::resizeEvent(QResizeEvent*) {
    if (player_) player_->setGeometry(ClientRect());
    if (noPlayerLabel_) noPlayerLabel_->setGeometry(ClientRect());
}

void FlashHost::paintEvent(QPaintEvent*) {
    if (bevelOuter_ == PanelBevel::None && bevelInner_ == PanelBevel::None) return;
    QPainter painter(this);
    QRect r = rect();
    for (PanelBevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == PanelBevel::None) continue;
        qDrawShadePanel(&painter, r, palette(), bevel == PanelBevel::Lowered, 1);
        r.adjust(1, 1, -1, -1);
    }
}

FlashHost* CreateFlashHost(QWidget* parent, FlashPlayers& players, int left, int top, int right, int bottom) {
    FlashHost* host = nullptr;
    try {
        host = new FlashHost(players, nullptr);
    } catch (const std::exception&) {
        return nullptr;
    }
    host->hide();
    host->SetLoop(false);
    host->SetPlaying(false);
    host->setParent(parent);
    host->SetPlayerBounds(left, top, right, bottom);
    return host;
}

} // namespace scr
