#pragma once
// The label a Flash host shows when no Flash player is available. It carries
// the host's mouse-move and click handlers and popup menu instead of the player.

#include "show/ControlEvents.h"

#include <QLabel>

namespace scr {

class FlashNoticeLabel : public QLabel {
public:
    explicit FlashNoticeLabel(QWidget* parent);
    ControlEvents& events() { return events_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ControlEvents events_;
};

} // namespace scr
