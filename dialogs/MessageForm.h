#pragma once
// TFormLumMsg: the dialogs' own message box. It carries the skinned frame,
// shows an icon and a message, and offers one of four button sets whose
// texts come from the caller's dynamic texts. ShowMessageForm runs it modally
// and returns the result of the button pressed.
//
// Flags (the layout of the system message-box flags):
//   flags & 0x70   icon: 0x40 information, 0x30 exclamation, 0x20 question, 0x10 stop; else none
//   0x04           Yes, No                 (tested first)
//   flags & 3 = 3  Yes, No, Cancel
//   0x01           OK, Cancel
//   otherwise      OK
//   0x100          the second button is the default button
//   0x200          the third button is the default button (when 0x100 is not set)

#include "dialogs/BevelPanel.h"
#include "dialogs/SkinnedFrame.h"

#include <QStringList>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;

namespace scr {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };

// The icon chosen by flags & 0x70.
MessageIcon MessageIconFromFlags(uint32_t flags);

class TFormLumMsg : public TFormScrNeo {
    Q_OBJECT
public:
    // Indices of the button texts in the dynamic texts.
    static constexpr int kTextOk = 17;
    static constexpr int kTextCancel = 18;
    static constexpr int kTextYes = 19;
    static constexpr int kTextNo = 20;

    // `texts` may be null: the built-in texts "&OK", "&Cancel", "&Yes", "&No" serve.
    TFormLumMsg(const QString& message, const QString& caption, uint32_t flags, const QStringList* texts,
                QWidget* owner = nullptr);
    ~TFormLumMsg() override;

    MessageIcon icon() const { return icon_; }

private:
    // The controls, by object name: PanelMain, Panel1, ImageIcon, LabelMsg,
    // Btn1, Btn2, Btn3.
    struct Ui {
        BevelPanel* panel = nullptr;
        BevelPanel* messageArea = nullptr;
        ImageControl* icon = nullptr;
        QLabel* message = nullptr;
        // Left to right; a button set shows the first one, two or three.
        std::array<QPushButton*, 3> buttons{};
    };

    void ConfigureButtons(uint32_t flags, const QStringList* texts);
    void LayOutButtons();

    Ui ui_;
    MessageIcon icon_ = MessageIcon::None;
};

// Shows the message form modally and returns its result: 6 Yes, 7 No,
// 2 Cancel, 1 OK (the OK of the OK-and-Cancel set answers 6). Closing it by
// the frame's close button gives 2.
int ShowMessageForm(const QString& message, const QString& caption, uint32_t flags,
                    const QStringList* texts = nullptr);

// A picture of the message icon at the given size, drawn in the dialogs'
// style (null for None).
QPixmap MessageIconPixmap(MessageIcon icon, int size);

} // namespace scr
