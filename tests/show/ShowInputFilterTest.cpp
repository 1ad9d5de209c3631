// Qt's events as the show's input: what each becomes, and that the events
// still reach the widgets they were meant for.
#include "show/ShowInputFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace scr {
namespace {

using Kind = ShowInput::Kind;

// A child that counts the mouse presses that reach it.
class PressCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class ShowInputFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.resize(200, 100);
        child_ = new PressCounter(&window_);
        child_->setGeometry(100, 0, 100, 100);
        filter_ = std::make_unique<ShowInputFilter>(
            &window_, [this](const ShowInput& input) { inputs_.push_back(input); });
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        inputs_.clear();
    }
    void Send(QEvent& event) { QCoreApplication::sendEvent(window_.windowHandle(), &event); }
    std::vector<Kind> Kinds() const {
        std::vector<Kind> kinds;
        for (const ShowInput& input : inputs_)
            kinds.push_back(input.kind);
        return kinds;
    }

    QWidget window_;
    PressCounter* child_ = nullptr;
    std::unique_ptr<ShowInputFilter> filter_;
    std::vector<ShowInput> inputs_;
};

TEST_F(ShowInputFilterTest, KeysMouseAndActivationBecomeTypedInput) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        Kind kind;
    } keys[] = {
        {Qt::Key_Space, Qt::NoModifier, Kind::ForwardKey},
        {Qt::Key_PageUp, Qt::NoModifier, Kind::BackwardKey},
        {Qt::Key_F1, Qt::NoModifier, Kind::HelpKey},
        {Qt::Key_F2, Qt::NoModifier, Kind::HomePageKey},
        {Qt::Key_Escape, Qt::NoModifier, Kind::OtherKey},
        {Qt::Key_A, Qt::ShiftModifier, Kind::OtherKey},
        {Qt::Key_Alt, Qt::AltModifier, Kind::OtherKey},
        {Qt::Key_F4, Qt::AltModifier, Kind::AltKey},
        {Qt::Key_Right, Qt::AltModifier, Kind::AltKey},
    };
    for (const auto& k : keys) {
        inputs_.clear();
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers);
        Send(press);
        EXPECT_EQ(Kinds(), std::vector<Kind>{k.kind}) << k.key;
    }

    inputs_.clear();
    const QPoint global = window_.mapToGlobal(QPoint(150, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 50), QPointF(global), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    Send(move);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(150, 50), QPointF(global), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    Send(press);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&window_, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window_, &activate);
    EXPECT_EQ(Kinds(),
              (std::vector<Kind>{Kind::MouseMove, Kind::MouseButton, Kind::Deactivated, Kind::Activated}));
    // Mouse input carries where the pointer was.
    EXPECT_EQ(inputs_[0].cursor, (Point{global.x(), global.y()}));
    EXPECT_EQ(inputs_[1].cursor, (Point{global.x(), global.y()}));
    // The press went on to the child under the pointer, read once.
    EXPECT_EQ(child_->presses, 1);
}

TEST_F(ShowInputFilterTest, NothingArrivesOnceTheFilterIsGone) {
    filter_.reset();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
    Send(press);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&window_, &deactivate);
    EXPECT_TRUE(inputs_.empty());
}

} // namespace
} // namespace scr
