#include "dialogs/ExportProgressForm.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace scr {

ExportProgressForm::ExportProgressForm(const QString& caption, const QString& cancelText, QWidget* owner,
                                       int showAfterMs)
    : TFormScrNeo(owner), showAfterMs_(showAfterMs) {
    setObjectName(QStringLiteral("FormExportProgress"));
    PanelMain = new BevelPanel(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    PanelMain->setColor(ColorFromColorRef(kFormColor));
    PanelMain->resize(392, 120);

    LabelCount = new QLabel(PanelMain);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    LabelCount->setGeometry(20, 16, 352, 20);
    LabelCount->setAlignment(Qt::AlignCenter);

    ProgressBar = new QProgressBar(PanelMain);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(20, 42, 352, 20);
    ProgressBar->setTextVisible(false);
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);

    BtnCancel = new QPushButton(PanelMain);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setText(cancelText.isEmpty() ? QStringLiteral("&Cancel") : cancelText);
    BtnCancel->setGeometry(146, 76, 100, 29);
    connect(BtnCancel, &QPushButton::clicked, this, &ExportProgressForm::reject);
    SetCancelButton(BtnCancel);

    EmbedPanel(PanelMain);
    SetFrameCaption(caption);
    setWindowModality(Qt::ApplicationModal);
    CenterOnScreen();
    clock_.start();
}

ExportProgressForm::~ExportProgressForm() = default;

bool ExportProgressForm::Step(int done, int total) {
    ProgressBar->setRange(0, std::max(total, 1));
    ProgressBar->setValue(std::clamp(done, 0, std::max(total, 1)));
    LabelCount->setText(QStringLiteral("%1 / %2").arg(done).arg(total));
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
    BtnCancel->setEnabled(false);
}

} // namespace scr
