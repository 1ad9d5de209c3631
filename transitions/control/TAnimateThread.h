#pragma once
// The pacing thread of the transition control: it only measures time and
// sleeps; each step runs on the GUI thread, and the thread waits for it.
// When its loop ends it reports to the control's AnimationComplete on the
// GUI thread (waiting for that too) and then frees itself.

#include <QThread>

namespace scr {

class TCustomPic_Trans;

class TAnimateThread : public QThread {
    Q_OBJECT

public:
    // Starts at once, at the control's ThreadPriority.
    explicit TAnimateThread(TCustomPic_Trans* control);

protected:
    void run() override;

private:
    // Sleeps up to ms milliseconds, waking early when asked to end.
    void pause(int ms);

    TCustomPic_Trans* control_;
};

} // namespace scr
