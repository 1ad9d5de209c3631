#include "installer/ScreenSaverThemeEntry.h"

#include "installer/DesktopShortcut.h"
#include "installer/InstallNames.h"
#include "platform/FileAttributes.h"
#include "platform/FilePathText.h"
#include "platform/SafeFile.h"
#include "platform/StandardDirectories.h"

#include <QStandardPaths>
#include <QString>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace scr {
namespace {

constexpr char kEntryPrefix[] = "scrplayer-";

std::string ThemeFolder() {
    return XdgDataHome() + "/applications/screensavers";
}

// The folders these hosts take programs from; they run nothing else.
constexpr const char* kEngineFolders[] = {"/usr/lib/mate-screensaver/mate-screensaver",
                                          "/usr/libexec/xscreensaver", "/usr/lib/xscreensaver"};

} // namespace

std::string ScreenSaverThemeEntryPath(const std::string& installedFile) {
    return ThemeFolder() + "/" + kEntryPrefix + SafeNameComponent(ExtractFileStem(installedFile)) +
           ".desktop";
}

std::string ScreenSaverThemeId(const std::string& installedFile) {
    return std::string("screensavers-") + kEntryPrefix + SafeNameComponent(ExtractFileStem(installedFile));
}

std::string EngineFolderPlayer() {
    for (const char* folder : kEngineFolders) {
        const std::string tool = std::string(folder) + "/scrtool";
        if (::access(tool.c_str(), X_OK) == 0) return tool;
    }
    return {};
}

std::string ScreenSaverThemeEntryText(const std::string& installedFile, const std::string& displayName,
                                      const std::string& player, bool fileRunsItself) {
    ShortcutFields fields;
    fields.name = displayName;
    fields.target = installedFile;
    fields.arguments = "-root";
    if (!player.empty()) {
        // The tool plays the installed file's package; the file itself runs nothing.
        fields.target = player;
        // The arguments get their '%' doubled once, with the rest of the line.
        std::string file = QuoteExecArgument(installedFile);
        for (std::size_t at = file.find("%%"); at != std::string::npos; at = file.find("%%", at + 1))
            file.erase(at, 1);
        fields.arguments = "play " + file + " -root";
    }
    fields.categories = "Screensaver;";
    // Like the hosts' own entries: offered by the screen-saver settings, not in application menus.
    fields.onlyShowIn = "MATE;XFCE;";
    // Offered only while the installed file exists (or, for a movie file, its player).
    fields.tryExec = fileRunsItself ? installedFile : player;
    return DesktopEntryText(fields);
}

bool ScreenSaverThemeHostInstalled() {
    for (const char* host : {"mate-screensaver", "xfce4-screensaver"})
        if (!QStandardPaths::findExecutable(QString::fromLatin1(host)).isEmpty()) return true;
    return false;
}

bool RegisterScreenSaverTheme(const std::string& installedFile, const std::string& displayName,
                              const std::string& moviePlayer) {
    if (!ScreenSaverThemeHostInstalled()) return false;
    std::error_code ec;
    std::filesystem::create_directories(ThemeFolder(), ec);
    const std::string path = ScreenSaverThemeEntryPath(installedFile);
    std::string player = EngineFolderPlayer();
    if (player.empty()) player = moviePlayer;
    const std::string text =
        ScreenSaverThemeEntryText(installedFile, displayName, player, moviePlayer.empty());
    if (!WriteFileReplacing(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()})) return false;
    ::chmod(path.c_str(), 0644);
    return true;
}

bool RemoveScreenSaverTheme(const std::string& installedFile) {
    const std::string path = ScreenSaverThemeEntryPath(installedFile);
    const std::string tryExec = DesktopEntryValue(path, "TryExec");
    const std::vector<std::string> exec = ExecArguments(DesktopEntryValue(path, "Exec"));
    const auto isFile = [&](const std::string& named) {
        return !named.empty() && (named == installedFile || SameFile(named, installedFile));
    };
    // It runs the file, or a player plays it.
    const bool ours = IsShortcutTo(path, installedFile) || isFile(tryExec) ||
                      (exec.size() >= 3 && exec[1] == "play" && isFile(exec[2]));
    if (!ours) return true;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace scr
