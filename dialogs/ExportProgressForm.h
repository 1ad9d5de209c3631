#pragma once
// The progress of a long export: a small skinned window with a progress bar,
// a count and a Cancel button. It stays hidden for short work and shows
// itself, modal to the application, once the work has taken longer than a
// moment. The worker calls Step before each file; Step keeps the windows
// painted and answers false once the user has pressed Cancel (or closed the
// window).

#include "dialogs/BevelPanel.h"
#include "dialogs/SkinnedDialog.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace scr {

class ExportProgressForm : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 400;

    ExportProgressForm(const QString& caption, const QString& cancelText, QWidget* owner,
                       int showAfterMs = kShowAfterMs);
    ~ExportProgressForm() override;

    // Reports `done` of `total` files; false when the user cancelled.
    bool Step(int done, int total);
    bool Cancelled() const { return cancelled_; }

public slots:
    // The Cancel button, Esc and the frame's close button cancel; the window
    // closes when the worker is done.
    void reject() override;

private:
    // The controls, by object name: PanelMain, LabelCount, ProgressBar, BtnCancel.
    struct Ui {
        BevelPanel* panel = nullptr;
        QLabel* count = nullptr;
        QProgressBar* progress = nullptr;
        QPushButton* cancel = nullptr;
    };

    Ui ui_;
    QElapsedTimer clock_;
    int showAfterMs_;
    bool cancelled_ = false;
};

} // namespace scr
