#include "show/ShowLabels.h"

#include "platform/CodePage.h"
#include "platform/gui/QtColorRef.h"

#include <QFontMetrics>
#include <QLabel>
#include <QList>
#include <QString>
#include <QWidget>
#include <cmath>
#include <cstdint>

namespace scr {
namespace {

const QString kPrefix = QStringLiteral("xlabel_");

// The pixel height of a label's font at a scale factor. A size above 0 is in
// points at the 96 pixels per inch the layouts were designed for, whatever
// the X server reports, scaled as whole points; 0 stands for the default
// size of 8 points; a size below 0 is the character height in pixels. Text
// stays at least 2 pixels high however small the factor (a preview), and
// absurd sizes are bounded.
int LabelPixelSize(int32_t size, double factor) {
    constexpr int32_t kDefaultPoints = 8;
    constexpr int kSmallest = 2;
    constexpr int kLargest = 4096;
    if (size == 0) size = kDefaultPoints;
    const double scaled = std::trunc(static_cast<double>(size) * factor);
    const double pixels = size > 0 ? std::floor((scaled * 96 + 36) / 72) : -scaled;
    if (!(pixels > kSmallest)) return kSmallest;
    return pixels < kLargest ? static_cast<int>(pixels) : kLargest;
}

QFont LabelFont(const LabelRecord& record, double factor) {
    QFont font(QString::fromStdString(DecodeCodePage(record.fontNameText())));
    font.setPixelSize(LabelPixelSize(record.fontSize, factor));
    font.setBold(record.fontStyle & LabelBold);
    font.setItalic(record.fontStyle & LabelItalic);
    font.setUnderline(record.fontStyle & LabelUnderline);
    font.setStrikeOut(record.fontStyle & LabelStrikeOut);
    return font;
}

} // namespace

void ShowLabels(QWidget* window, const LabelGroup* group, double factor, QPoint origin) {
    if (!window) return;
    for (int i = 0; i < LabelCount(group); ++i) {
        const LabelItem& label = *Label(group, i);
        const LabelRecord& record = label.record();
        const QString text = QString::fromStdString(label.textUtf8());

        // Measured with the unscaled font, then scaled with the placement.
        const QFontMetrics metrics(LabelFont(record, 1.0));
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
        control->setFont(LabelFont(record, factor));
        control->setGeometry(origin.x() + static_cast<int>(factor * record.centerX - factor * w * 0.5),
                             origin.y() + static_cast<int>(factor * record.centerY - factor * h * 0.5),
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
