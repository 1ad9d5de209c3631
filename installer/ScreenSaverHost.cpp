#include "installer/ScreenSaverHost.h"

#include "platform/SafeFile.h"
#include "platform/StandardDirectories.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace scr {
namespace {

constexpr std::string_view kProgramsKey = "programs:";

struct Lines {
    std::vector<std::string> lines;
    bool finalNewline = true;
};

Lines SplitLines(const std::string& text) {
    Lines out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            out.lines.push_back(text.substr(start));
            out.finalNewline = false;
            break;
        }
        out.lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string JoinLines(const Lines& text) {
    std::string out;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        out += text.lines[i];
        if (i + 1 < text.lines.size() || text.finalNewline) out += '\n';
    }
    return out;
}

bool Continues(const std::string& line) {
    return !line.empty() && line.back() == '\\';
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string_view TrimLeft(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

void TrimRight(std::string& text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.pop_back();
}

// The first and last line of a resource (its value continues over lines that
// end with a backslash); nothing when the text has no such resource.
struct Block {
    std::size_t first = 0;
    std::size_t last = 0;
};

std::optional<Block> FindResource(const std::vector<std::string>& lines, std::string_view key) {
    bool continued = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool startsResource = !continued && TrimLeft(lines[i]).starts_with(key);
        continued = Continues(lines[i]);
        if (!startsResource) continue;
        Block block{i, i};
        while (Continues(lines[block.last]) && block.last + 1 < lines.size())
            ++block.last;
        return block;
    }
    return std::nullopt;
}

// A value in a resource file: a backslash stands for itself only when doubled.
std::string EscapeResource(std::string_view text) {
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::string EntryText(const std::string& command, const std::string& displayName) {
    std::string name;
    for (char c : displayName)
        if (c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20) name += c;
    std::string entry = "\t\t\t\t";
    if (!name.empty()) entry += "\"" + name + "\"  ";
    return entry + EscapeResource(command);
}

std::optional<std::string> ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void StartDetached(const char* const* candidates) {
    for (; *candidates; ++candidates) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(*candidates));
        if (!program.isEmpty() && QProcess::startDetached(program, {})) return;
    }
}

} // namespace

std::string HostCommandFor(const std::string& installedFile) {
    constexpr std::string_view plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./+-,:@=";
    std::string word = installedFile;
    if (word.empty() || word.find_first_not_of(plain) != std::string::npos) {
        word = "'";
        for (char c : installedFile)
            word += c == '\'' ? std::string("'\\''") : std::string(1, c);
        word += "'";
    }
    return word + " -root";
}

std::string AddHostProgram(const std::string& config, const std::string& command,
                           const std::string& displayName, const std::string& defaultPrograms) {
    Lines text = SplitLines(config);
    const std::string entry = EntryText(command, displayName);
    std::optional<Block> block = FindResource(text.lines, kProgramsKey);

    if (!block) {
        // A new resource, holding the host's defaults (so they stay on offer) and the entry.
        if (!text.lines.empty() && !text.finalNewline) text.finalNewline = true;
        if (!text.lines.empty() && !IsBlank(text.lines.back())) text.lines.emplace_back();
        Lines defaults = SplitLines(defaultPrograms);
        if (defaults.lines.empty()) defaults.lines.push_back(std::string(kProgramsKey) + "\t\\");
        const std::size_t first = text.lines.size();
        text.lines.insert(text.lines.end(), defaults.lines.begin(), defaults.lines.end());
        if (Continues(text.lines.back())) text.lines.emplace_back(); // closes the list
        text.finalNewline = true;
        block = FindResource(text.lines, kProgramsKey);
        if (!block || block->first != first) return config;
    }

    for (std::size_t i = block->first; i <= block->last; ++i)
        if (text.lines[i].find(EscapeResource(command)) != std::string::npos) return config;

    std::string& last = text.lines[block->last];
    auto at = text.lines.begin() + static_cast<std::ptrdiff_t>(block->last);
    if (Continues(last)) {
        // The text ends inside the value: the entry ends it.
        text.lines.insert(at + 1, entry + " \\n");
        text.finalNewline = true;
    } else if (block->last > block->first && IsBlank(last)) {
        // The usual form: every entry ends with "\n\" and a blank line closes the value.
        text.lines.insert(at, entry + "\t\t\\n\\");
    } else {
        // The value ends on a line of its own: continue it with the entry.
        const bool emptyValue =
            block->last == block->first && IsBlank(TrimLeft(last).substr(kProgramsKey.size()));
        TrimRight(last);
        if (!emptyValue && !last.ends_with("\\n")) last += " \\n";
        last += " \\";
        text.lines.insert(at + 1, entry + " \\n");
    }
    return JoinLines(text);
}

std::string HostDefaultPrograms() {
    for (const char* path :
         {"/etc/X11/app-defaults/XScreenSaver", "/usr/share/X11/app-defaults/XScreenSaver"}) {
        const auto text = ReadText(path);
        if (!text) continue;
        Lines lines = SplitLines(*text);
        const auto block = FindResource(lines.lines, "*programs:");
        if (!block) continue;
        Lines programs;
        programs.lines.assign(lines.lines.begin() + static_cast<std::ptrdiff_t>(block->first),
                              lines.lines.begin() + static_cast<std::ptrdiff_t>(block->last) + 1);
        std::string& first = programs.lines.front();
        first.erase(0, first.find('*') + 1);
        return JoinLines(programs);
    }
    return {};
}

std::string HostConfigPath() {
    return HomeDirectory() + "/.xscreensaver";
}

bool ScreenSaverHostInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("xscreensaver")).isEmpty();
}

bool HandOverToScreenSaverHost(const std::string& installedFile, const std::string& displayName) {
    if (!ScreenSaverHostInstalled()) return false;

    // A configuration kept elsewhere and linked here is changed where it lives.
    std::string path = HostConfigPath();
    std::error_code ec;
    if (const auto real = std::filesystem::canonical(path, ec); !ec) path = real.string();
    const std::optional<std::string> old = ReadText(path);
    const std::string updated = AddHostProgram(old.value_or(std::string()), HostCommandFor(installedFile),
                                               displayName, old ? std::string() : HostDefaultPrograms());
    if (!old || updated != *old) {
        struct stat st {};
        const bool hadMode = ::stat(path.c_str(), &st) == 0;
        if (WriteFileReplacing(path, {reinterpret_cast<const uint8_t*>(updated.data()), updated.size()}) &&
            hadMode)
            ::chmod(path.c_str(), st.st_mode & 07777);
    }

    static const char* const settings[] = {"xscreensaver-settings", "xscreensaver-demo", nullptr};
    StartDetached(settings);
    return true;
}

} // namespace scr
