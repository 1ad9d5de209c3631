#include "dialogs/MessageDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <array>

namespace scr {
namespace {

constexpr int kPanelWidth = 392;
constexpr int kPanelHeight = 183;
constexpr int kButtonTop = 130;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 29;

struct ButtonEntry {
    int textIndex;
    const char* builtInText;
    MessageAnswer answer;
};

struct ButtonSet {
    std::array<ButtonEntry, 3> buttons;
    int count;
    int cancelButton; // index of the button Esc clicks, -1 for none
};

constexpr ButtonEntry kYes{MessageDialog::kTextYes, "&Yes", MessageAnswer::Yes};
constexpr ButtonEntry kNo{MessageDialog::kTextNo, "&No", MessageAnswer::No};
constexpr ButtonEntry kCancel{MessageDialog::kTextCancel, "&Cancel", MessageAnswer::Cancel};
constexpr ButtonEntry kOk{MessageDialog::kTextOk, "&OK", MessageAnswer::Ok};
constexpr ButtonEntry kUnused{-1, "", MessageAnswer::Cancel};

constexpr ButtonSet kYesNo{{kYes, kNo, kUnused}, 2, -1};
constexpr ButtonSet kYesNoCancel{{kYes, kNo, kCancel}, 3, 2};
// No caller uses OK and Cancel; its Cancel is the Esc button.
constexpr ButtonSet kOkCancel{{kOk, kCancel, kUnused}, 2, 1};
constexpr ButtonSet kOkAlone{{kOk, kUnused, kUnused}, 1, 0};

const ButtonSet& ButtonSetOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::YesNo:
        return kYesNo;
    case MessageButtons::YesNoCancel:
        return kYesNoCancel;
    case MessageButtons::OkCancel:
        return kOkCancel;
    case MessageButtons::Ok:
        break;
    }
    return kOkAlone;
}

// The caller's text when the list has that entry (even an empty one), else the built-in text.
QString ButtonText(const ButtonEntry& entry, const QStringList* texts) {
    if (texts && entry.textIndex >= 0 && entry.textIndex < texts->size()) return (*texts)[entry.textIndex];
    return QString::fromLatin1(entry.builtInText);
}

QPushButton* MakeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);
    button->setAutoDefault(true);
    button->hide();
    button->setEnabled(false);
    return button;
}

} // namespace

QPixmap MessageIconPixmap(MessageIcon icon, int size) {
    if (icon == MessageIcon::None || size <= 0) return {};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    const QRectF disc(1.5, 1.5, 29, 29);
    auto gradient = [](QColor light, QColor dark) {
        QLinearGradient g(0, 0, 0, 32);
        g.setColorAt(0, light);
        g.setColorAt(1, dark);
        return g;
    };
    painter.setPen(Qt::NoPen);
    switch (icon) {
    case MessageIcon::Information:
    case MessageIcon::Question: {
        painter.setBrush(gradient(QColor(0x4A, 0x93, 0xE6), QColor(0x1F, 0x62, 0xB8)));
        painter.drawEllipse(disc);
        painter.setBrush(Qt::white);
        if (icon == MessageIcon::Information) {
            painter.drawEllipse(QRectF(14, 6.5, 4, 4));
            painter.drawRoundedRect(QRectF(14.1, 12.5, 3.8, 13), 1.2, 1.2);
        } else {
            QFont font(QStringLiteral("Arial"));
            font.setBold(true);
            font.setPixelSize(22);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QRectF(0, 0, 32, 32.5), Qt::AlignCenter, QStringLiteral("?"));
        }
        break;
    }
    case MessageIcon::Exclamation: {
        QPainterPath triangle;
        triangle.moveTo(16, 2.5);
        triangle.lineTo(30.5, 28.5);
        triangle.lineTo(1.5, 28.5);
        triangle.closeSubpath();
        painter.setPen(QPen(QColor(0xD9, 0x8E, 0x04), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(gradient(QColor(0xFF, 0xD0, 0x4D), QColor(0xF2, 0xA9, 0x1B)));
        painter.drawPath(triangle);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x3A, 0x2A, 0x05));
        painter.drawRoundedRect(QRectF(14.3, 10, 3.4, 11), 1.4, 1.4);
        painter.drawEllipse(QRectF(14.2, 22.6, 3.6, 3.6));
        break;
    }
    case MessageIcon::Stop: {
        painter.setBrush(gradient(QColor(0xEC, 0x5B, 0x4F), QColor(0xC2, 0x2E, 0x24)));
        painter.drawEllipse(disc);
        painter.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(11, 11), QPointF(21, 21));
        painter.drawLine(QPointF(21, 11), QPointF(11, 21));
        break;
    }
    case MessageIcon::None:
        break;
    }
    return pixmap;
}

MessageDialog::MessageDialog(const QString& message, const QString& caption, const MessageStyle& style,
                             const QStringList* texts, QWidget* owner)
    : SkinnedDialog(owner) {
    setObjectName(QStringLiteral("FormLumMsg"));
    ui_.panel = new BevelPanel(this);
    ui_.panel->setObjectName(QStringLiteral("PanelMain"));
    ui_.panel->setColor(ColorFromColorRef(kFormColor));
    ui_.panel->resize(kPanelWidth, kPanelHeight);

    ui_.messageArea = new BevelPanel(ui_.panel);
    ui_.messageArea->setObjectName(QStringLiteral("Panel1"));
    ui_.messageArea->setColor(Qt::white);
    ui_.messageArea->setBevelOuter(BevelPanel::Bevel::Lowered);
    ui_.messageArea->setBevelInner(BevelPanel::Bevel::Raised);
    ui_.messageArea->setGeometry(16, 16, 361, 97);

    ui_.icon = new ImageControl(ui_.messageArea);
    ui_.icon->setObjectName(QStringLiteral("ImageIcon"));
    ui_.icon->setGeometry(16, 16, 32, 32);

    ui_.message = new QLabel(ui_.messageArea);
    ui_.message->setObjectName(QStringLiteral("LabelMsg"));
    ui_.message->setGeometry(64, 16, 288, 65);
    ui_.message->setWordWrap(true);
    ui_.message->setTextFormat(Qt::PlainText);
    ui_.message->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ui_.buttons[0] = MakeButton(ui_.panel, "Btn1");
    ui_.buttons[1] = MakeButton(ui_.panel, "Btn2");
    ui_.buttons[2] = MakeButton(ui_.panel, "Btn3");

    EmbedPanel(ui_.panel);
    SetFrameCaption(caption);
    ui_.message->setText(message);

    icon_ = style.icon;
    ui_.icon->setPicture(MessageIconPixmap(icon_, 32));

    ConfigureButtons(style, texts);
    LayOutButtons();
    CenterOnScreen();
}

MessageDialog::~MessageDialog() = default;

void MessageDialog::Answer(MessageAnswer answer) {
    answer_ = answer;
    done(QDialog::Accepted);
}

void MessageDialog::ConfigureButtons(const MessageStyle& style, const QStringList* texts) {
    const ButtonSet& set = ButtonSetOf(style.buttons);
    const std::array<QPushButton*, 3>& buttons = ui_.buttons;
    for (int i = 0; i < set.count; ++i) {
        const ButtonEntry& entry = set.buttons[static_cast<std::size_t>(i)];
        QPushButton* button = buttons[static_cast<std::size_t>(i)];
        button->setText(ButtonText(entry, texts));
        button->setVisible(true);
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, [this, answer = entry.answer] { Answer(answer); });
    }
    if (set.cancelButton >= 0) SetCancelButton(buttons[static_cast<std::size_t>(set.cancelButton)]);

    // The default button must be one that is shown.
    int defaultIndex = style.defaultButton;
    if (defaultIndex < 0 || defaultIndex >= set.count) defaultIndex = 0;
    QPushButton* defaultButton = buttons[static_cast<std::size_t>(defaultIndex)];
    defaultButton->setDefault(true);
    defaultButton->setFocus();
}

void MessageDialog::LayOutButtons() {
    std::array<QPushButton*, 3> visible{};
    int n = 0;
    for (QPushButton* button : ui_.buttons)
        if (!button->isHidden()) visible[static_cast<std::size_t>(n++)] = button;
    if (n == 0) return;
    const int p = ui_.panel->width();
    const int w = ui_.buttons[0]->width();
    for (int i = 0; i < n; ++i) {
        QPushButton* button = visible[static_cast<std::size_t>(i)];
        button->move(((p - n * w) * (i + 1)) / (n + 1) + i * w, kButtonTop);
    }
}

MessageAnswer ShowMessageForm(const QString& message, const QString& caption, const MessageStyle& style,
                              const QStringList* texts) {
    // Owned by the application; the active window keeps it in front of itself.
    MessageDialog form(message, caption, style, texts, QApplication::activeWindow());
    form.exec();
    return form.answer();
}

} // namespace scr
