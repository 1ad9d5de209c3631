// scr_test_focus_window: an ordinary window of another program for the
// idle watcher's tests; it prints "active" or "inactive" on standard output
// each time the compositor gives it the focus or takes it away.

#include <QGuiApplication>
#include <QRasterWindow>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    QRasterWindow window;
    window.resize(640, 400);
    QObject::connect(&window, &QWindow::activeChanged, [&window] {
        std::printf("%s\n", window.isActive() ? "active" : "inactive");
        std::fflush(stdout);
    });
    window.show();
    window.requestActivate();
    return application.exec();
}
