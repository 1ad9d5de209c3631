#include "show/ShowLabels.h"

#include "platform/CodePage.h"
#include "platform/gui/QtColorRef.h"

#include <QFontMetrics>
#include <QLabel>
#include <QList>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace scr {
namespace {

const QString kPrefix = QStringLiteral("xlabel_");

// Font sizes are points at the 96 pixels per inch the layouts were designed
// for, whatever the X server reports.
int PointsToPixels(int points) {
    return std::max(1, (points * 96 + 36) / 72);
}

QFont LabelFont(const LabelRecord& record, int points) {
    QFont font(QString::fromStdString(DecodeCodePage(record.fontNameText())));
    font.setPixelSize(PointsToPixels(points));
    font.setBold(record.fontStyle & LabelBold);
    font.setItalic(record.fontStyle & LabelItalic);
    font.setUnderline(record.fontStyle & LabelUnderline);
    font.setStrikeOut(record.fontStyle & LabelStrikeOut);
    return font;
}

} // namespace

void ShowLabels(QWidget* window, const LabelGroup* group, double factor) {
    if (!window) return;
    for (int i = 0; i < LabelCount(group); ++i) {
        const LabelItem& label = *Label(group, i);
        const LabelRecord& record = label.record();
        const QString text = QString::fromStdString(label.textUtf8());

        // Measured with the unscaled font, then scaled with the placement.
        const QFontMetrics metrics(LabelFont(record, record.fontSize));
        const int w = metrics.horizontalAdvance(text);
        const int h = metrics.height();

        const QString name = kPrefix + QString::number(i);
        auto* control = window->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
        const bool isNew = control == nullptr;
        if (isNew) {
            control = new QLabel(window);
            control->hide();
            control->setObjectName(name);
            // Plain text: '&' and '<' are shown as they are.
            control->setTextFormat(Qt::PlainText);
            control->setProperty("tag", -i);
            // Input belongs to the show window.
            control->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        control->setFont(LabelFont(record, static_cast<int>(record.fontSize * factor)));
        control->setGeometry(static_cast<int>(factor * record.centerX - factor * w * 0.5),
                             static_cast<int>(factor * record.centerY - factor * h * 0.5),
                             static_cast<int>(factor * w), static_cast<int>(factor * h));
        control->setText(text);
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, ColorFromColorRef(record.textColor));
        if (record.transparent == 0) palette.setColor(QPalette::Window, ColorFromColorRef(record.backColor));
        control->setPalette(palette);
        control->setAutoFillBackground(record.transparent == 0);
        if (isNew) {
            control->setAlignment(Qt::AlignCenter);
            control->show();
            control->raise();
        }
    }
}

void RemoveLabels(QWidget* window, int keep) {
    if (!window) return;
    const QList<QLabel*> labels = window->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        QLabel* control = *it;
        if (!control->objectName().startsWith(kPrefix)) continue;
        if (keep > 0) {
            bool ok = false;
            const int index = control->objectName().mid(kPrefix.size()).toInt(&ok);
            if ((ok ? index : -1) < keep) continue;
        }
        delete control;
    }
}

} // namespace scr
