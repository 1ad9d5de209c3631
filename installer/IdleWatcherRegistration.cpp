#include "installer/IdleWatcherRegistration.h"

#include "installer/DesktopShortcut.h"
#include "installer/SaverWatcherClient.h"
#include "platform/ExecutablePath.h"
#include "platform/FileAttributes.h"
#include "platform/SafeFile.h"
#include "platform/StandardDirectories.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace scr {
namespace {

constexpr char kFileKey[] = "X-Scrplayer-Saver-File";
constexpr char kIdleKey[] = "X-Scrplayer-Saver-Idle-Seconds";

bool Executable(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

// One word for a POSIX shell.
std::string ShellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool SameScreenSaver(const std::string& a, const std::string& b) {
    return !a.empty() && !b.empty() && (a == b || SameFile(a, b));
}

} // namespace

std::string IdleWatcherEntryPath() {
    return XdgConfigHome() + "/autostart/scrplayer-saver.desktop";
}

std::string ScrtoolProgram() {
    const std::string self = ExecutablePath();
    if (QFileInfo(QString::fromStdString(self)).fileName() == QLatin1String("scrtool") && Executable(self))
        return self;
    const std::string beside =
        QFileInfo(QString::fromStdString(self)).absolutePath().toStdString() + "/scrtool";
    if (Executable(beside)) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("scrtool")).toStdString();
}

std::vector<std::string> IdleWatcherCommand(const std::string& scrtool,
                                            const IdleWatcherRegistration& registration) {
    std::vector<std::string> command{scrtool, "saver", "run", registration.file};
    if (registration.idleSeconds) {
        command.push_back("--after");
        command.push_back(std::to_string(*registration.idleSeconds));
    }
    return command;
}

std::string IdleWatcherEntryText(const std::string& scrtool, const IdleWatcherRegistration& registration) {
    const std::vector<std::string> command = IdleWatcherCommand(scrtool, registration);
    ShortcutFields fields;
    fields.name = "Screen saver " +
                  QFileInfo(QString::fromStdString(registration.file)).completeBaseName().toStdString();
    fields.description = "Shows " + registration.file + " when the session is idle";
    fields.target = command[0];
    // The arguments get their '%' doubled once, with the rest of the line.
    for (std::size_t i = 1; i < command.size(); ++i) {
        std::string word = QuoteExecArgument(command[i]);
        for (std::size_t at = word.find("%%"); at != std::string::npos; at = word.find("%%", at + 1))
            word.erase(at, 1);
        fields.arguments += (i > 1 ? " " : "") + word;
    }
    fields.tryExec = scrtool;
    fields.moreKeys = {
        {"NoDisplay", "true"}, {"X-GNOME-Autostart-enabled", "true"}, {kFileKey, registration.file}};
    if (registration.idleSeconds)
        fields.moreKeys.emplace_back(kIdleKey, std::to_string(*registration.idleSeconds));
    return DesktopEntryText(fields);
}

std::string SwayExecLine(const std::string& scrtool, const IdleWatcherRegistration& registration) {
    std::string line = "exec";
    for (const std::string& word : IdleWatcherCommand(scrtool, registration))
        line += " " + ShellQuoted(word);
    return line;
}

std::optional<IdleWatcherRegistration> ReadIdleWatcherRegistration() {
    const std::string path = IdleWatcherEntryPath();
    IdleWatcherRegistration registration;
    registration.file = DesktopEntryValue(path, kFileKey);
    if (registration.file.empty()) return std::nullopt;
    const std::string idle = DesktopEntryValue(path, kIdleKey);
    int seconds = 0;
    if (!idle.empty() && std::from_chars(idle.data(), idle.data() + idle.size(), seconds).ec == std::errc())
        registration.idleSeconds = seconds;
    return registration;
}

bool WriteIdleWatcherRegistration(const std::string& scrtool, const IdleWatcherRegistration& registration) {
    std::error_code ec;
    std::filesystem::create_directories(XdgConfigHome() + "/autostart", ec);
    const std::string text = IdleWatcherEntryText(scrtool, registration);
    const std::string path = IdleWatcherEntryPath();
    if (!WriteFileReplacing(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()})) return false;
    ::chmod(path.c_str(), 0644);
    return true;
}

bool RemoveIdleWatcherRegistration() {
    return ::unlink(IdleWatcherEntryPath().c_str()) == 0 || errno == ENOENT;
}

bool OnWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

bool OnSway() {
    return !qEnvironmentVariableIsEmpty("SWAYSOCK");
}

IdleWatcherOutcome EnableIdleWatcher(const IdleWatcherRegistration& registration) {
    IdleWatcherOutcome outcome;
    const std::string scrtool = ScrtoolProgram();
    if (scrtool.empty()) {
        outcome.lines.push_back("scrtool was not found: the idle watcher cannot be registered");
        return outcome;
    }
    if (!WriteIdleWatcherRegistration(scrtool, registration)) {
        outcome.lines.push_back("cannot write " + IdleWatcherEntryPath());
        return outcome;
    }
    outcome.ok = true;
    outcome.lines.push_back("registered " + registration.file + " (" + IdleWatcherEntryPath() + ")");
    // One watcher per user: the one that runs makes way for the new one.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!EndSaverWatcher(bus)) outcome.lines.push_back("the running watcher did not end");
    if (OnWaylandSession()) {
        const std::vector<std::string> command = IdleWatcherCommand(scrtool, registration);
        QStringList arguments;
        for (std::size_t i = 1; i < command.size(); ++i)
            arguments << QString::fromStdString(command[i]);
        if (QProcess::startDetached(QString::fromStdString(scrtool), arguments))
            outcome.lines.push_back("the watcher runs now");
    }
    if (OnSway()) {
        outcome.lines.push_back("sway starts no autostart entries: add this line to your sway config "
                                "(~/.config/sway/config):");
        outcome.lines.push_back("  " + SwayExecLine(scrtool, registration));
    }
    return outcome;
}

IdleWatcherOutcome DisableIdleWatcher(const std::string& onlyFor) {
    IdleWatcherOutcome outcome{true, {}};
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const std::optional<IdleWatcherRegistration> registered = ReadIdleWatcherRegistration();
    const std::optional<SaverWatcherStatus> running = AskSaverWatcher(bus);
    const bool registeredOurs = registered && (onlyFor.empty() || SameScreenSaver(registered->file, onlyFor));
    const bool runningOurs =
        running && (onlyFor.empty() || SameScreenSaver(running->file.toStdString(), onlyFor));
    if (registeredOurs) {
        if (RemoveIdleWatcherRegistration())
            outcome.lines.push_back("removed " + IdleWatcherEntryPath());
        else {
            outcome.ok = false;
            outcome.lines.push_back("cannot remove " + IdleWatcherEntryPath());
        }
    }
    if (runningOurs) {
        if (EndSaverWatcher(bus))
            outcome.lines.push_back("the watcher has ended");
        else {
            outcome.ok = false;
            outcome.lines.push_back("the running watcher did not end");
        }
    }
    if (!registeredOurs && !runningOurs) outcome.lines.push_back("no idle watcher was registered or running");
    return outcome;
}

} // namespace scr
