#include "tests/show_e2e/X11Session.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace scr::test {
namespace {

bool DisplayTaken(int n) {
    return std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock") ||
           std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n));
}

} // namespace

void XServer::StartOnFreeDisplay(const std::function<pid_t(const std::string& display)>& launch) {
    // A display number nobody uses; other processes may hold :98 or :99.
    for (int n = 140 + static_cast<int>(getpid() % 200); n < 600 && !connection_; n += 7) {
        if (DisplayTaken(n)) continue;
        display_ = ":" + std::to_string(n);
        pid_ = launch(display_);
        if (pid_ <= 0) continue;
        WaitUntil(
            [&] {
                if (connection_) return true;
                xcb_connection_t* c = xcb_connect(display_.c_str(), nullptr);
                if (xcb_connection_has_error(c)) {
                    xcb_disconnect(c);
                    return waitpid(pid_, nullptr, WNOHANG) != 0; // the server gave up
                }
                connection_ = c;
                return true;
            },
            std::chrono::seconds(10));
        if (!connection_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    if (connection_) root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

XServer::~XServer() {
    if (connection_) xcb_disconnect(connection_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

XvfbServer::XvfbServer(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    StartOnFreeDisplay([&](const std::string& display) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                   nullptr);
            _exit(127);
        }
        return pid;
    });
}

QImage XServer::Screenshot() const {
    if (!connection_) return {};
    xcb_get_geometry_reply_t* size =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root_), nullptr);
    if (!size) return {};
    const int width = size->width, height = size->height;
    std::free(size);
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, 0, 0,
                                          static_cast<uint16_t>(width), static_cast<uint16_t>(height), ~0u),
                            nullptr);
    if (!reply) return {};
    const QImage image(xcb_get_image_data(reply), width, height, QImage::Format_RGB32);
    QImage copy = image.copy();
    std::free(reply);
    return copy;
}

uint32_t XServer::CreateWindow(int x, int y, int width, int height) {
    if (!connection_) return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const uint32_t id = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->white_pixel};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, id, root_, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
    xcb_map_window(connection_, id);
    xcb_flush(connection_);
    return id;
}

std::vector<XServer::Child> XServer::Children(uint32_t window) const {
    std::vector<Child> children;
    if (!connection_) return children;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
    if (!tree) return children;
    const xcb_window_t* ids = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        xcb_get_geometry_reply_t* g =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, ids[i]), nullptr);
        xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, ids[i]), nullptr);
        if (g && a)
            children.push_back(
                {ids[i], g->x, g->y, g->width, g->height, a->map_state == XCB_MAP_STATE_VIEWABLE});
        std::free(g);
        std::free(a);
    }
    std::free(tree);
    return children;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& env) {
    // Arguments and environment are made before the fork: the child only
    // calls execve, so tests may start processes from several threads.
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (!env.count(entry.substr(0, entry.find('=')))) entries.push_back(entry);
    }
    for (const auto& [name, value] : env)
        if (!value.empty()) entries.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ != 0) return;
    execve(args[0], args.data(), envp.data());
    _exit(127);
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ChildProcess::Running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return false;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    WaitUntil([&] { return !Running(); }, timeout);
    return status_;
}

void ChildProcess::Signal(int signal) {
    if (Running()) kill(pid_, signal);
}

int DistinctColours(const QImage& image, const QRect& area) {
    const QRect r = area.isNull() ? image.rect() : area;
    std::set<QRgb> colours;
    for (int y = r.top(); y <= r.bottom(); y += 3)
        for (int x = r.left(); x <= r.right(); x += 3)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace scr::test
