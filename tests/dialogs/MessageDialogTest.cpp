#include "dialogs/MessageDialog.h"

#include "platform/gui/ImageControl.h"
#include "tests/dialogs/Screenshot.h"
#include "tests/support/FormControls.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace scr {
namespace {

using test::FindControl;

// Dynamic texts whose entry i reads "text i".
QStringList NumberedTexts(int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QStringLiteral("text %1").arg(i);
    return texts;
}

std::vector<QPushButton*> VisibleButtons(const MessageDialog& form) {
    std::vector<QPushButton*> buttons;
    for (const char* name : {"Btn1", "Btn2", "Btn3"})
        if (QPushButton* button = FindControl<QPushButton>(form, name); button && !button->isHidden())
            buttons.push_back(button);
    return buttons;
}

// Shows the form, presses a key on it and returns the answer it finished
// with, or nothing when the key did not end it.
std::optional<MessageAnswer> AnswerOfKey(MessageDialog& form, Qt::Key key) {
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return std::nullopt;
    QSignalSpy finished(&form, &QDialog::finished);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyClick(target, key);
    if (finished.count() != 1) return std::nullopt;
    return form.answer();
}

struct Example {
    MessageStyle style;
    int textCount; // -1: no list
    std::vector<QString> texts;
    std::vector<int> lefts;
    std::optional<MessageAnswer> enter;
    std::optional<MessageAnswer> escape;
};

using Icon = MessageIcon;
using Buttons = MessageButtons;
using Answer = MessageAnswer;

TEST(MessageDialog, WorkedExamples) {
    const Example examples[] = {
        {{Icon::Exclamation, Buttons::Ok}, -1, {"&OK"}, {146}, Answer::Ok, Answer::Ok},
        {{Icon::Question, Buttons::YesNoCancel},
         25,
         {"text 19", "text 20", "text 18"},
         {23, 146, 269},
         Answer::Yes,
         Answer::Cancel},
        {{Icon::Information, Buttons::Ok}, 10, {"&OK"}, {146}, Answer::Ok, Answer::Ok},
        {{Icon::None, Buttons::YesNo, 1}, 26, {"text 19", "text 20"}, {64, 228}, Answer::No, std::nullopt},
        {{Icon::Stop, Buttons::YesNo}, -1, {"&Yes", "&No"}, {64, 228}, Answer::Yes, std::nullopt},
        {{Icon::Question, Buttons::YesNoCancel, 2},
         -1,
         {"&Yes", "&No", "&Cancel"},
         {23, 146, 269},
         Answer::Cancel,
         Answer::Cancel},
        {{Icon::None, Buttons::OkCancel}, 26, {"text 17", "text 18"}, {64, 228}, Answer::Ok, Answer::Cancel},
        // A default button the set does not have leaves the first one the default.
        {{Icon::None, Buttons::Ok, 2}, -1, {"&OK"}, {146}, Answer::Ok, Answer::Ok},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(testing::Message() << "buttons " << static_cast<int>(e.style.buttons) << " default "
                                        << e.style.defaultButton);
        const QStringList list = NumberedTexts(std::max(e.textCount, 0));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            MessageDialog form(QStringLiteral("Message"), QStringLiteral("Caption"), e.style,
                               e.textCount >= 0 ? &list : nullptr);
            EXPECT_EQ(form.icon(), e.style.icon);
            EXPECT_EQ(FindControl<ImageControl>(form, "ImageIcon")->picture().isNull(),
                      e.style.icon == MessageIcon::None);
            const std::vector<QPushButton*> buttons = VisibleButtons(form);
            ASSERT_EQ(buttons.size(), e.texts.size());
            for (std::size_t i = 0; i < buttons.size(); ++i) {
                EXPECT_EQ(buttons[i]->text(), e.texts[i]) << "button " << i;
                EXPECT_EQ(buttons[i]->geometry(), QRect(e.lefts[i], 130, 100, 29)) << "button " << i;
                EXPECT_TRUE(buttons[i]->isEnabled());
            }
            EXPECT_EQ(AnswerOfKey(form, key), key == Qt::Key_Return ? e.enter : e.escape)
                << (key == Qt::Key_Return ? "Enter" : "Esc");
        }
    }
}

TEST(MessageDialog, EmptyListEntriesAreUsedAsTheyStand) {
    QStringList texts = NumberedTexts(21);
    texts[17] = QString();
    MessageDialog form(QString(), QString(), MessageStyle{}, &texts);
    EXPECT_EQ(FindControl<QPushButton>(form, "Btn1")->text(), QString());
}

TEST(MessageDialog, FrameAndMessageArea) {
    MessageDialog form(QStringLiteral("Hello"), QStringLiteral("Greeting"), {Icon::Information, Buttons::Ok},
                       nullptr);
    EXPECT_EQ(form.size(), QSize(415, 244));
    EXPECT_EQ(FindControl<QWidget>(form, "PanelMain")->geometry(), QRect(10, 49, 392, 183));
    EXPECT_EQ(FindControl<QWidget>(form, "Panel1")->geometry(), QRect(16, 16, 361, 97));
    auto* message = FindControl<QLabel>(form, "LabelMsg");
    EXPECT_EQ(message->geometry(), QRect(64, 16, 288, 65));
    EXPECT_EQ(message->text(), QStringLiteral("Hello"));
    EXPECT_EQ(form.GetFrameCaption(), QStringLiteral("Greeting"));
}

TEST(MessageDialog, TheFramesCloseButtonAnswersCancel) {
    MessageDialog form(QStringLiteral("Replace?"), QStringLiteral("Setup"), {Icon::None, Buttons::YesNo},
                       nullptr);
    form.show();
    QSignalSpy finished(&form, &QDialog::finished);
    QTest::mouseClick(FindControl<HoverImage>(form, "ImageClose"), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(form.answer(), Answer::Cancel);
}

TEST(MessageDialog, ShowMessageFormReturnsTheButtonPressed) {
    const QStringList texts = NumberedTexts(26);
    SkinnedDialog dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&owner] {
        auto* form = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
        if (!form) return;
        owner = form->parentWidget();
        if (auto* no = form->findChild<QPushButton*>(QStringLiteral("Btn2"))) no->click();
    });
    EXPECT_EQ(ShowMessageForm(QStringLiteral("Replace it?"), QStringLiteral("Setup"),
                              {Icon::Question, Buttons::YesNoCancel}, &texts),
              Answer::No);
    EXPECT_EQ(owner, &dialog) << "the message stays in front of the dialog that shows it";
}

TEST(MessageDialog, Screenshot) {
    QStringList texts = NumberedTexts(26);
    texts[17] = QStringLiteral("&OK");
    texts[18] = QStringLiteral("&Cancel");
    texts[19] = QStringLiteral("&Yes");
    texts[20] = QStringLiteral("&No");
    MessageDialog form(
        QStringLiteral("A file with this name is already installed.\nDo you want to replace it?"),
        QStringLiteral("Screen Saver Setup"), {Icon::Question, Buttons::YesNoCancel}, &texts);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QImage shot = form.grab().toImage();
    test::SaveScreenshot(shot, QStringLiteral("message-form.png"));
    // The message area is white and the icon is drawn into it.
    const QPoint area = FindControl<QWidget>(form, "Panel1")->mapTo(&form, QPoint(200, 80));
    EXPECT_EQ(shot.pixelColor(area), QColor(Qt::white));
    const QRect icon(FindControl<QWidget>(form, "ImageIcon")->mapTo(&form, QPoint(0, 0)), QSize(32, 32));
    bool iconDrawn = false;
    for (int y = icon.top(); y <= icon.bottom(); ++y)
        for (int x = icon.left(); x <= icon.right(); ++x)
            iconDrawn |= shot.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(iconDrawn);

    QImage icons(4 * 72, 72, QImage::Format_ARGB32);
    icons.fill(Qt::white);
    QPainter painter(&icons);
    const MessageIcon kinds[] = {MessageIcon::Information, MessageIcon::Exclamation, MessageIcon::Question,
                                 MessageIcon::Stop};
    for (int i = 0; i < 4; ++i) {
        painter.drawPixmap(i * 72 + 4, 4, MessageIconPixmap(kinds[i], 64));
        EXPECT_EQ(MessageIconPixmap(kinds[i], 32).size(), QSize(32, 32));
    }
    painter.end();
    test::SaveScreenshot(icons, QStringLiteral("message-icons.png"));
}

} // namespace
} // namespace scr
