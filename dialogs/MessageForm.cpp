#include "dialogs/MessageForm.h"

#include "dialogs/ModalResult.h"

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
    int result;
};

struct ButtonSet {
    std::array<ButtonEntry, 3> buttons;
    int count;
    int cancelButton; // index of the button Esc clicks, -1 for none
};

constexpr ButtonEntry kYes{TFormLumMsg::kTextYes, "&Yes", mrYes};
constexpr ButtonEntry kNo{TFormLumMsg::kTextNo, "&No", mrNo};
constexpr ButtonEntry kCancel{TFormLumMsg::kTextCancel, "&Cancel", mrCancel};
constexpr ButtonEntry kOkOfPair{TFormLumMsg::kTextOk, "&OK", mrYes};
constexpr ButtonEntry kOk{TFormLumMsg::kTextOk, "&OK", mrOk};
constexpr ButtonEntry kUnused{-1, "", mrNone};

constexpr ButtonSet kYesNo{{kYes, kNo, kUnused}, 2, -1};
constexpr ButtonSet kYesNoCancel{{kYes, kNo, kCancel}, 3, 2};
// No caller uses OK and Cancel; its Cancel answers Cancel and is the Esc button.
constexpr ButtonSet kOkCancel{{kOkOfPair, kCancel, kUnused}, 2, 1};
constexpr ButtonSet kOkAlone{{kOk, kUnused, kUnused}, 1, 0};

const ButtonSet& ButtonSetFromFlags(uint32_t flags) {
    if (flags & 0x04) return kYesNo;
    if ((flags & 3) == 3) return kYesNoCancel;
    if (flags & 0x01) return kOkCancel;
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

MessageIcon MessageIconFromFlags(uint32_t flags) {
    switch (flags & 0x70) {
    case 0x40:
        return MessageIcon::Information;
    case 0x30:
        return MessageIcon::Exclamation;
    case 0x20:
        return MessageIcon::Question;
    case 0x10:
        return MessageIcon::Stop;
    default:
        return MessageIcon::None;
    }
}

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

TFormLumMsg::TFormLumMsg(const QString& message, const QString& caption, uint32_t flags,
                         const QStringList* texts, QWidget* owner)
    : TFormScrNeo(owner) {
    setObjectName(QStringLiteral("FormLumMsg"));
    PanelMain = new BevelPanel(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    PanelMain->setColor(ColorFromColorRef(kFormColor));
    PanelMain->resize(kPanelWidth, kPanelHeight);

    Panel1 = new BevelPanel(PanelMain);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setColor(Qt::white);
    Panel1->setBevelOuter(BevelPanel::Bevel::Lowered);
    Panel1->setBevelInner(BevelPanel::Bevel::Raised);
    Panel1->setGeometry(16, 16, 361, 97);

    ImageIcon = new ImageControl(Panel1);
    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setGeometry(16, 16, 32, 32);

    LabelMsg = new QLabel(Panel1);
    LabelMsg->setObjectName(QStringLiteral("LabelMsg"));
    LabelMsg->setGeometry(64, 16, 288, 65);
    LabelMsg->setWordWrap(true);
    LabelMsg->setTextFormat(Qt::PlainText);
    LabelMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Btn1 = MakeButton(PanelMain, "Btn1");
    Btn2 = MakeButton(PanelMain, "Btn2");
    Btn3 = MakeButton(PanelMain, "Btn3");

    EmbedPanel(PanelMain);
    SetFrameCaption(caption);
    LabelMsg->setText(message);

    icon_ = MessageIconFromFlags(flags);
    ImageIcon->setPicture(MessageIconPixmap(icon_, 32));

    ConfigureButtons(flags, texts);
    LayOutButtons();
    CenterOnScreen();
}

TFormLumMsg::~TFormLumMsg() = default;

void TFormLumMsg::ConfigureButtons(uint32_t flags, const QStringList* texts) {
    const ButtonSet& set = ButtonSetFromFlags(flags);
    const std::array<QPushButton*, 3> buttons{Btn1, Btn2, Btn3};
    for (int i = 0; i < set.count; ++i) {
        const ButtonEntry& entry = set.buttons[static_cast<std::size_t>(i)];
        QPushButton* button = buttons[static_cast<std::size_t>(i)];
        button->setText(ButtonText(entry, texts));
        button->setVisible(true);
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, [this, result = entry.result] { done(result); });
    }
    if (set.cancelButton >= 0) SetCancelButton(buttons[static_cast<std::size_t>(set.cancelButton)]);

    // The default button must be one that is shown: a flag that names an
    // absent button leaves the first button the default.
    int defaultIndex = 0;
    if (flags & 0x100)
        defaultIndex = 1;
    else if (flags & 0x200)
        defaultIndex = 2;
    if (defaultIndex >= set.count) defaultIndex = 0;
    QPushButton* defaultButton = buttons[static_cast<std::size_t>(defaultIndex)];
    defaultButton->setDefault(true);
    defaultButton->setFocus();
}

void TFormLumMsg::LayOutButtons() {
    std::array<QPushButton*, 3> visible{};
    int n = 0;
    for (QPushButton* button : {Btn1, Btn2, Btn3})
        if (!button->isHidden()) visible[static_cast<std::size_t>(n++)] = button;
    if (n == 0) return;
    const int p = PanelMain->width();
    const int w = Btn1->width();
    for (int i = 0; i < n; ++i) {
        QPushButton* button = visible[static_cast<std::size_t>(i)];
        button->move(((p - n * w) * (i + 1)) / (n + 1) + i * w, kButtonTop);
    }
}

int ShowMessageForm(const QString& message, const QString& caption, uint32_t flags,
                    const QStringList* texts) {
    // Owned by the application; the active window keeps it in front of itself.
    TFormLumMsg form(message, caption, flags, texts, QApplication::activeWindow());
    return form.exec();
}

} // namespace scr
