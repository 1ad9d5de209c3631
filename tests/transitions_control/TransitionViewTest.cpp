#include "transitions/control/TransitionView.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace scr {
namespace {

using State = TransitionPlayer::State;

Bitmap24 Uniform(int w, int h, uint32_t colour) {
    Bitmap24 b(w, h);
    b.fill(colour);
    return b;
}

TEST(TransitionView, TheSceneIsTheViewsSizeAlsoWhileHidden) {
    QWidget parent;
    auto* view = new TransitionView(&parent);
    view->hide();
    view->setGeometry(10, 20, 50, 40);
    EXPECT_EQ(view->Scene().Client(), (Rect{0, 0, 50, 40}));
    // So the old picture of a transition started while hidden has the view's size too.
    view->ChangeScene([](TransitionScene& s) {
        s.center = true;
        s.color = 0x0000FF;
    });
    view->Player().Picture().assign(Uniform(20, 10, 0x00FF00));
    view->Player().Play({.style = 5}, State::Paused);
    EXPECT_EQ(view->Scene().PictureRect(view->Player().Frame()), (Rect{15, 15, 35, 25}));
    EXPECT_EQ(view->Player().Frame(), Uniform(20, 10, 0x0000FF));
}

TEST(TransitionView, BackgroundModesAndTheFrame) {
    QWidget parent;
    parent.resize(120, 120);
    auto* view = new TransitionView(&parent);
    view->resize(100, 80);
    Bitmap24 bg = Uniform(160, 100, 0xFF0000); // blue, larger than the view
    bg.setPixel(30, 10, 0xFFFFFF);
    view->ChangeScene([&](TransitionScene& s) {
        s.color = 0x000000;
        s.background = bg;
        s.backgroundMode = BackgroundMode::Centered;
    });
    // Drawn at ((100 - 160) / 2, (80 - 100) / 2) = (-30, -10): its (30, 10) lands on (0, 0).
    QImage shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), QColor(Qt::white).rgb());
    EXPECT_EQ(shown.pixel(1, 0), QColor(Qt::blue).rgb());

    view->ChangeScene([](TransitionScene& s) { s.backgroundMode = BackgroundMode::None; });
    shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(50, 40), QColor(Qt::black).rgb());

    view->ChangeScene([](TransitionScene& s) {
        s.backgroundMode = BackgroundMode::Tiled;
        s.background = Uniform(30, 30, 0x00FFFF); // yellow tiles
    });
    shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(95, 75), QColor(Qt::yellow).rgb());

    // A cut's frame is painted at the picture's place.
    view->Player().Picture().assign(Uniform(20, 10, 0x00FF00));
    view->Player().Cut();
    shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), QColor(Qt::green).rgb());
    EXPECT_EQ(shown.pixel(25, 5), QColor(Qt::yellow).rgb());

    // Cleared, only colour and background are left.
    view->Player().Clear();
    shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), QColor(Qt::yellow).rgb());
}

// On screen the frame's pixels go straight into the window's image: they
// land at the view's place, keep their colours, stay inside the window, and
// a widget above keeps its own pixels. A step shows what it changed at once.
TEST(TransitionView, FrameReachesTheWindowImageWhereTheViewIs) {
    QWidget window;
    window.setGeometry(0, 0, 200, 100);
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    window.setPalette(palette);
    auto* view = new TransitionView(&window);
    view->setGeometry(150, 20, 100, 50); // reaches beyond the window's right edge
    Bitmap24 picture(100, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixel(x, y, x < 25 ? 0x0000FFu : 0xFF0000u); // red, then blue
    view->Player().Picture().assign(picture);
    auto* above = new QWidget(&window);
    above->setGeometry(160, 30, 10, 10);
    above->setAutoFillBackground(true);
    palette.setColor(QPalette::Window, Qt::green);
    above->setPalette(palette);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    // One step of a wipe to the end, repainted by the view itself.
    view->Player().Play({.style = 5, .step = 100});
    ASSERT_EQ(view->Player().state(), State::NotRunning);

    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
    ASSERT_EQ(shown.size(), QSize(200, 100));
    EXPECT_EQ(QColor(shown.pixel(151, 21)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(180, 60)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(199, 69)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(149, 21)), QColor(Qt::black));
    EXPECT_EQ(QColor(shown.pixel(151, 71)), QColor(Qt::black));
    EXPECT_EQ(QColor(shown.pixel(165, 35)), QColor(Qt::green));
}

// A step repaints only what it changed: any part painted alone shows what
// the whole view shows there, in every layout and background mode.
TEST(TransitionView, APartPaintsAsTheWholeDoes) {
    Bitmap24 picture(60, 40);
    Bitmap24 bg(23, 17);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, static_cast<uint32_t>(x * 4 + (y * 6 << 8) + 0x400000));
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            bg.setPixel(x, y, static_cast<uint32_t>((x * 11) << 16 | y * 15));
    const struct {
        bool center, stretch, fine;
        BackgroundMode bgMode;
    } layouts[] = {
        {false, false, false, BackgroundMode::None}, {true, false, false, BackgroundMode::None},
        {true, false, false, BackgroundMode::Tiled}, {false, false, false, BackgroundMode::Centered},
        {false, true, false, BackgroundMode::None},  {false, true, true, BackgroundMode::Stretched},
        {true, true, true, BackgroundMode::Tiled}};
    const QRect parts[] = {{7, 5, 30, 20}, {50, 33, 50, 47}, {0, 0, 1, 1}, {99, 79, 1, 1}, {58, 0, 4, 80}};
    for (const auto& layout : layouts) {
        TransitionView view;
        view.resize(100, 80);
        view.ChangeScene([&](TransitionScene& s) {
            s.color = 0x3366CC;
            s.center = layout.center;
            s.stretch = layout.stretch;
            s.stretchFine = layout.fine;
            s.background = bg;
            s.backgroundMode = layout.bgMode;
        });
        view.Player().Picture().assign(picture);
        view.Player().Cut();
        const QImage whole = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const QRect& part : parts) {
            QImage alone(view.size(), QImage::Format_RGB32);
            alone.fill(Qt::magenta);
            // The part lands at the offset given: its own place.
            view.render(&alone, part.topLeft(), QRegion(part));
            for (int y = part.top(); y <= part.bottom(); ++y)
                for (int x = part.left(); x <= part.right(); ++x)
                    ASSERT_EQ(alone.pixel(x, y), whole.pixel(x, y))
                        << x << "," << y << " centre " << layout.center << " stretch " << layout.stretch
                        << " mode " << static_cast<int>(layout.bgMode);
        }
    }
}

// A view destroyed while its transition runs on the wall clock goes quietly.
TEST(TransitionView, DestroyingDuringATransitionIsQuiet) {
    int finished = 0;
    {
        TransitionView view;
        view.Player().Picture().assign(Uniform(30, 20, 0x00FF00));
        QObject::connect(&view.Player(), &TransitionPlayer::finished, [&] { ++finished; });
        view.Player().Play({.style = 5, .delay = 20});
        QTest::qWait(50);
        EXPECT_EQ(view.Player().state(), State::Running);
    }
    QTest::qWait(50);
    EXPECT_EQ(finished, 0);
}

} // namespace
} // namespace scr
