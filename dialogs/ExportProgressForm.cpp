#include "dialogs/ExportProgressForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace scr {

ExportProgressForm::ExportProgressForm(const QString& caption, const QString& cancelText, QWidget* owner,
                                       int showAfterMs)
    : SkinnedDialog(owner), showAfterMs_(showAfterMs) {
    setObjectName(QStringLiteral("FormExportProgress"));
    ui_.panel = new BevelPanel(this);
    ui_.panel->setObjectName(QStringLiteral("PanelMain"));
    ui_.panel->setColor(ColorFromColorRef(kFormColor));
    ui_.panel->resize(392, 120);

    ui_.count = new QLabel(ui_.panel);
    ui_.count->setObjectName(QStringLiteral("LabelCount"));
    ui_.count->setGeometry(20, 16, 352, 20);
    ui_.count->setAlignment(Qt::AlignCenter);

    ui_.progress = new QProgressBar(ui_.panel);
    ui_.progress->setObjectName(QStringLiteral("ProgressBar"));
    ui_.progress->setGeometry(20, 42, 352, 20);
    ui_.progress->setTextVisible(false);
    ui_.progress->setRange(0, 1);
    ui_.progress->setValue(0);

    ui_.cancel = new QPushButton(ui_.panel);
    ui_.cancel->setObjectName(QStringLiteral("BtnCancel"));
    ui_.cancel->setText(cancelText.isEmpty() ? QStringLiteral("&Cancel") : cancelText);
    ui_.cancel->setGeometry(146, 76, 100, 29);
    connect(ui_.cancel, &QPushButton::clicked, this, &ExportProgressForm::reject);
    SetCancelButton(ui_.cancel);

    EmbedPanel(ui_.panel);
    SetFrameCaption(caption);
    setWindowModality(Qt::ApplicationModal);
    CenterOnScreen();
    clock_.start();
}

ExportProgressForm::~ExportProgressForm() = default;

bool ExportProgressForm::Step(int done, int total) {
    ui_.progress->setRange(0, std::max(total, 1));
    ui_.progress->setValue(std::clamp(done, 0, std::max(total, 1)));
    ui_.count->setText(QStringLiteral("%1 / %2").arg(done).arg(total));
    if (!isVisible() && done < total && clock_.elapsed() >= showAfterMs_) {
        show();
        raise();
    }
    // While hidden the other windows must not take input (the export holds
    // the package); once shown, the form's modality blocks them.
    QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !cancelled_;
}

void ExportProgressForm::reject() {
    cancelled_ = true;
    ui_.cancel->setEnabled(false);
}

} // namespace scr
