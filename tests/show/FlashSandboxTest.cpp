// Hostile movies, made here, try every way out of the player page that
// ActionScript 1/2 offers: opening URLs (http and javascript:), loading
// variables, XML and movies from the network and from local files, raw
// sockets and script calls into the page. A local listener must see no
// connection, no watched local file may be opened, and the page must stay
// where it is, with no window opened. A movie played from a movie file may
// load the files of its own folder, and still nothing else.

#include "show/FlashControl.h"
#include "show/FlashHost.h"
#include "show/FlashPlayers.h"
#include "tests/show/As3TestMovies.h"
#include "tests/show/SwfTestMovies.h"
#include "tests/support/TempDir.h"

#ifdef SCR_HAVE_FLASH_ENGINE
#include "show/FlashEngine.h"
#endif

#include <QApplication>
#include <QColor>
#include <QHostAddress>
#include <QImage>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/inotify.h>
#include <unistd.h>

namespace scr {
namespace {

#ifdef SCR_HAVE_FLASH_ENGINE

using test::avm1::Argument;

// Counts the connections a local TCP listener accepts.
class Listener {
public:
    Listener() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++connections_;
                socket->close();
                socket->deleteLater();
            }
        });
    }
    int port() const { return server_.serverPort(); }
    int connections() const { return connections_; }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port()) + "/" + path;
    }

private:
    QTcpServer server_;
    int connections_ = 0;
};

// Counts opens and reads of the files in one folder (by any process).
class FileWatch {
public:
    explicit FileWatch(const std::string& folder) {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        EXPECT_GE(fd_, 0);
        EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_ACCESS), 0);
    }
    ~FileWatch() { close(fd_); }
    // Events since the last call.
    int Events() {
        alignas(inotify_event) char buffer[4096];
        int count = 0;
        for (;;) {
            ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            for (char* p = buffer; p < buffer + n;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                ++count;
                p += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    }

private:
    int fd_ = -1;
};

class FlashSandboxTest : public ::testing::Test {
protected:
    // These tests tell pages apart (a page reused, a page never replaced by
    // a movie's doing). A page renewed because its renderer passed the
    // show's memory bound is neither, and the renderer comes close to that
    // bound here (about 270 MB of 280): renewal is off, and has tests of its
    // own. The engine reads the bound when its first page is made.
    static void SetUpTestSuite() { qputenv("SCRPLAYER_FLASH_RENDERER_MB", "0"); }

    void SetUp() override {
        const QString reason = FlashEngineUnavailableReason();
        ASSERT_TRUE(reason.isEmpty()) << reason.toStdString();
        parent_.resize(400, 300);
        parent_.show();
        // Local files a movie could try to read: variables and a movie.
        test::WriteFile(secrets_.file("secret.txt"), {'a', '=', '1'});
        test::WriteFile(secrets_.file("local.swf"), test::TestMovie({.frames = 2}));
    }

    std::string SecretUrl(const std::string& name) const { return "file://" + secrets_.file(name); }

    // Plays the movie to its end; false when it never ends. With a folder,
    // the movie may load the files of that folder.
    bool PlayToEnd(const std::vector<uint8_t>& actions, const std::string& folder = {}) {
        const std::vector<uint8_t> movie =
            test::TestMovie({.frames = 12, .fps = 24, .firstFrameActions = actions});
        host_.reset(CreateFlashHost(&parent_, players_, 0, 0, 320, 240));
        if (!host_ || !host_->Player()) return false;
        host_->SetMovieFolder(QString::fromStdString(folder));
        host_->SetMovie(
            QByteArray(reinterpret_cast<const char*>(movie.data()), static_cast<qsizetype>(movie.size())));
        host_->show();
        host_->Play();
        return QTest::qWaitFor([&] { return !host_->Playing(); }, 30000) && host_->FrameNum() == 11;
    }

    // The web view of the current host: found by class name, so the test
    // needs no web engine headers.
    QWidget* View() const {
        for (QWidget* child : host_->Player()->findChildren<QWidget*>())
            if (QByteArray(child->metaObject()->className()) == "QWebEngineView") return child;
        return nullptr;
    }

    test::TempDir secrets_;
    QWidget parent_;
    FlashPlayers players_{&parent_}; // ends before its home, parent_
    std::unique_ptr<FlashHost> host_;
};

TEST_F(FlashSandboxTest, TheWatchersSeeWhatTheyWatch) {
    Listener listener;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(listener.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.connections() == 1; }, 5000));
    FileWatch watch(secrets_.path());
    test::ReadFile(secrets_.file("secret.txt"));
    EXPECT_GT(watch.Events(), 0);
}

TEST_F(FlashSandboxTest, HostileActionScript2MoviesReachNothing) {
    Listener listener;
    FileWatch watch(secrets_.path());
    const std::string port = std::to_string(listener.port());
    struct Case {
        const char* what;
        std::vector<uint8_t> actions;
    };
    const Case cases[] = {
        {"getURL http in the page", test::avm1::GetUrl(listener.url("self"), "_self")},
        {"getURL http in a new window", test::avm1::GetUrl(listener.url("blank"), "_blank")},
        {"getURL through the stack", test::avm1::GetUrl2(listener.url("url2"), "")},
        {"getURL javascript:",
         test::avm1::GetUrl("javascript:location.href='" + listener.url("js") + "'", "_self")},
        {"getURL javascript: in a new window",
         test::avm1::GetUrl("javascript:fetch('" + listener.url("js2") + "')", "_blank")},
        {"loadVariablesNum from the listener", test::avm1::LoadVariablesNum(listener.url("vars"), 0)},
        {"loadVariablesNum from a local file", test::avm1::LoadVariablesNum(SecretUrl("secret.txt"), 0)},
        {"LoadVars.load from the listener",
         test::avm1::NewObjectCall("LoadVars", "load", {{listener.url("lv")}})},
        {"LoadVars.load from a local file",
         test::avm1::NewObjectCall("LoadVars", "load", {{SecretUrl("secret.txt")}})},
        {"XML.load from the listener", test::avm1::NewObjectCall("XML", "load", {{listener.url("xml")}})},
        {"XML.load from a local file", test::avm1::NewObjectCall("XML", "load", {{SecretUrl("secret.txt")}})},
        {"XMLSocket.connect",
         test::avm1::NewObjectCall("XMLSocket", "connect",
                                   {{"127.0.0.1"}, {.number = listener.port(), .isNumber = true}})},
        {"loadMovieNum of a local file", test::avm1::LoadMovieNum(SecretUrl("local.swf"), 1)},
        {"loadMovieNum from the listener", test::avm1::LoadMovieNum(listener.url("movie.swf"), 2)},
        {"ExternalInterface.call eval",
         test::avm1::ExternalInterfaceCall({{"eval"}, {"location.href='" + listener.url("ei") + "'"}})},
        {"ExternalInterface.call open",
         test::avm1::ExternalInterfaceCall({{"open"}, {listener.url("open")}})},
    };
    // A harmless movie first: the page is loaded and waits for the next movie.
    ASSERT_TRUE(PlayToEnd({}));
    QPointer<QWidget> view = View();
    ASSERT_TRUE(view);
    const QUrl page = view->property("url").toUrl();
    EXPECT_EQ(page.scheme(), QString("scrflash"));
    QSignalSpy loads(view, SIGNAL(loadStarted()));
    QSignalSpy urls(view, SIGNAL(urlChanged(QUrl)));
    host_.reset();
    const int windows = static_cast<int>(QApplication::topLevelWidgets().size());

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(PlayToEnd(c.actions)) << "the movie did not play to its end";
        ASSERT_EQ(View(), view.data())
            << "the page was replaced: " << host_->Player()->Failure().toStdString();
        // Late requests (a socket, a timer of the page) get time to arrive.
        QTest::qWait(1000);
        EXPECT_EQ(listener.connections(), 0);
        EXPECT_EQ(watch.Events(), 0) << "a local file was opened";
        EXPECT_EQ(view->property("url").toUrl(), page);
        EXPECT_EQ(loads.count(), 0);
        EXPECT_EQ(urls.count(), 0);
        EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), windows);
        EXPECT_TRUE(host_->Player()->Failure().isEmpty()) << host_->Player()->Failure().toStdString();
        host_.reset();
    }
}

// Pixels of the picture the player shows now that are pure green (the colour
// of the neighbour movies these tests load); -1 when no picture came.
int GreenPixels(FlashControl& player) {
    int green = -1;
    bool done = false;
    player.CaptureFrame([&](const QImage& image) {
        done = true;
        if (image.isNull()) return;
        green = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.green() > 200 && c.red() < 60 && c.blue() < 60) ++green;
            }
    });
    return QTest::qWaitFor([&] { return done; }, 5000) ? green : -1;
}

// A movie of a movie file loads a movie beside it (loadMovie("part2.swf")),
// which shows over it; the file is read through the program's own scheme.
TEST_F(FlashSandboxTest, AMovieWithAFolderLoadsItsNeighbours) {
    test::TempDir folder;
    std::filesystem::create_directories(folder.file("Parts"));
    test::WriteFile(folder.file("Parts/Part2.swf"), test::TestMovie({.frames = 24, .squareColor = 0x00ff00}));
    FileWatch watch(folder.file("Parts"));
    // Named as a movie made on Windows may name it.
    const std::vector<uint8_t> actions = test::avm1::LoadMovieNum("parts\\part2.swf", 1);
    const std::vector<uint8_t> movie =
        test::TestMovie({.frames = 48, .fps = 24, .firstFrameActions = actions});
    const auto play = [&](const std::string& movieFolder) {
        host_.reset(CreateFlashHost(&parent_, players_, 0, 0, 320, 240));
        ASSERT_TRUE(host_ && host_->Player());
        host_->SetMovieFolder(QString::fromStdString(movieFolder));
        host_->SetLoop(true);
        host_->SetMovie(
            QByteArray(reinterpret_cast<const char*>(movie.data()), static_cast<qsizetype>(movie.size())));
        host_->show();
        host_->Play();
    };
    // Without a folder (a movie of a package) the movie loads nothing.
    play({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return host_->FrameNum() > 30; }, 20000));
    EXPECT_EQ(GreenPixels(*host_->Player()), 0);
    EXPECT_EQ(watch.Events(), 0);
    play(folder.path());
    EXPECT_TRUE(QTest::qWaitFor([&] { return GreenPixels(*host_->Player()) > 500; }, 20000))
        << "the neighbour movie did not show";
    EXPECT_GT(watch.Events(), 0);
    EXPECT_TRUE(host_->Player()->Failure().isEmpty()) << host_->Player()->Failure().toStdString();
}

// The same movie reaches nothing outside its folder: not by "..", an
// absolute path, a file URL or a link out of the folder, and not the network.
TEST_F(FlashSandboxTest, AMovieWithAFolderReachesNothingOutsideIt) {
    Listener listener;
    test::TempDir root;
    const std::string folder = root.file("movie");
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(root.file("outside"));
    test::WriteFile(root.file("outside/secret.swf"),
                    test::TestMovie({.frames = 24, .squareColor = 0x00ff00}));
    test::WriteFile(root.file("outside/secret.txt"), {'a', '=', '1'});
    std::filesystem::create_symlink(root.file("outside/secret.swf"), folder + "/link.swf");
    std::filesystem::create_symlink("/etc/hostname", folder + "/hostname.txt");
    FileWatch watch(root.file("outside"));
    struct Case {
        const char* what;
        std::vector<uint8_t> actions;
    };
    const Case cases[] = {
        {"loadMovieNum of ../", test::avm1::LoadMovieNum("../outside/secret.swf", 1)},
        {"loadMovieNum of an absolute path", test::avm1::LoadMovieNum(root.file("outside/secret.swf"), 1)},
        {"loadMovieNum of a file URL",
         test::avm1::LoadMovieNum("file://" + root.file("outside/secret.swf"), 1)},
        {"loadMovieNum of a link out", test::avm1::LoadMovieNum("link.swf", 1)},
        {"XML.load of ../", test::avm1::NewObjectCall("XML", "load", {{"../outside/secret.txt"}})},
        {"LoadVars.load of a link to /etc/hostname",
         test::avm1::NewObjectCall("LoadVars", "load", {{"hostname.txt"}})},
        {"loadVariablesNum from the listener", test::avm1::LoadVariablesNum(listener.url("vars"), 0)},
        {"XML.load from the listener", test::avm1::NewObjectCall("XML", "load", {{listener.url("xml")}})},
        {"getURL http", test::avm1::GetUrl(listener.url("get"), "_self")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(PlayToEnd(c.actions, folder)) << "the movie did not play to its end";
        QTest::qWait(1000);
        EXPECT_EQ(listener.connections(), 0);
        EXPECT_EQ(watch.Events(), 0) << "a file outside the folder was opened";
        EXPECT_EQ(GreenPixels(*host_->Player()), 0) << "a movie from outside the folder shows";
        host_.reset();
    }
}

// ActionScript 3 movies are played as they are (no frame notices): each
// traces a message after its calls, passed on by the engine under the
// load's prefix, which shows that the calls ran.
TEST_F(FlashSandboxTest, HostileActionScript3MoviesReachNothing) {
    Listener listener;
    FileWatch watch(secrets_.path());
    struct Case {
        const char* what;
        test::As3Call call;
    };
    const Case cases[] = {
        {"navigateToURL http", {test::As3Call::NavigateToUrl, listener.url("nav")}},
        {"navigateToURL javascript:",
         {test::As3Call::NavigateToUrl, "javascript:location.href='" + listener.url("js") + "'"}},
        {"URLLoader from the listener", {test::As3Call::UrlLoaderLoad, listener.url("loader")}},
        {"URLLoader from a local file", {test::As3Call::UrlLoaderLoad, SecretUrl("secret.txt")}},
        {"Socket.connect", {test::As3Call::SocketConnect, "127.0.0.1", listener.port()}},
        {"ExternalInterface.call eval",
         {test::As3Call::ExternalInterfaceCall, "eval", 0, "location.href='" + listener.url("ei") + "'"}},
    };
    QWidget parent;
    parent.resize(320, 240);
    parent.show();
    FlashPlayers players(&parent);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool done = false;
        QString failure;
        FlashEngineEvents events;
        events.trace = [&](const QString& message) { done = done || message == "done"; };
        events.failed = [&](const QString& reason) { failure = reason; };
        std::unique_ptr<FlashEngine> engine = players.Create(&parent, events);
        ASSERT_TRUE(engine);
        const std::vector<uint8_t> movie = test::As3TestMovie({c.call}, "p:done");
        engine->Load(
            QByteArray(reinterpret_cast<const char*>(movie.data()), static_cast<qsizetype>(movie.size())),
            "p:");
        EXPECT_TRUE(QTest::qWaitFor([&] { return done || !failure.isEmpty(); }, 30000))
            << "the movie's constructor did not run to its end";
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        QTest::qWait(1000);
        EXPECT_EQ(listener.connections(), 0);
        EXPECT_EQ(watch.Events(), 0) << "a local file was opened";
    }
}

#endif

} // namespace
} // namespace scr
