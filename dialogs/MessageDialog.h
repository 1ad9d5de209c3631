#pragma once
// MessageDialog: the dialogs' own message box. It carries the skinned frame,
// shows an icon and a message, and offers one of four button sets
// (MessageStyle) whose texts come from the caller's dynamic texts.
// ShowMessageForm runs it modally and returns the answer of the button pressed.

#include "dialogs/BevelPanel.h"
#include "dialogs/MessageStyle.h"
#include "dialogs/SkinnedDialog.h"

#include <QStringList>
#include <array>

class QLabel;
class QPushButton;

namespace scr {

class MessageDialog : public SkinnedDialog {
    Q_OBJECT
public:
    // Indices of the button texts in the dynamic texts.
    static constexpr int kTextOk = 17;
    static constexpr int kTextCancel = 18;
    static constexpr int kTextYes = 19;
    static constexpr int kTextNo = 20;

    // `texts` may be null: the built-in texts "&OK", "&Cancel", "&Yes", "&No" serve.
    MessageDialog(const QString& message, const QString& caption, const MessageStyle& style,
                  const QStringList* texts, QWidget* owner = nullptr);
    ~MessageDialog() override;

    MessageIcon icon() const { return icon_; }
    // Ends the form with this answer, as its button does.
    void Answer(MessageAnswer answer);
    // The answer the form ended with; Cancel until a button is pressed.
    MessageAnswer answer() const { return answer_; }

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

    void ConfigureButtons(const MessageStyle& style, const QStringList* texts);
    void LayOutButtons();

    Ui ui_;
    MessageIcon icon_ = MessageIcon::None;
    MessageAnswer answer_ = MessageAnswer::Cancel;
};

// Shows the message form modally and returns the answer of the button
// pressed; closing it by the frame's close button answers Cancel.
MessageAnswer ShowMessageForm(const QString& message, const QString& caption, const MessageStyle& style,
                              const QStringList* texts = nullptr);

// A picture of the message icon at the given size, drawn in the dialogs'
// style (null for None).
QPixmap MessageIconPixmap(MessageIcon icon, int size);

} // namespace scr
