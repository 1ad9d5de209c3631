#include "installer/ScreenSaverHost.h"

#include "platform/FileAttributes.h"
#include "platform/SafeFile.h"
#include "platform/StandardDirectories.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace scr {
namespace {

constexpr std::string_view kProgramsKey = "programs:";
constexpr std::string_view kModeKey = "mode:";
constexpr std::string_view kSelectedKey = "selected:";

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

// The value of a resource as the host reads it: continuation lines joined,
// "\n" a line break, a doubled backslash one backslash.
std::string ResourceValue(const std::vector<std::string>& lines, const Block& block, std::string_view key) {
    std::string raw;
    for (std::size_t i = block.first; i <= block.last; ++i) {
        std::string_view line = lines[i];
        if (i == block.first) line = TrimLeft(line).substr(key.size());
        if (i < block.last && !line.empty() && line.back() == '\\') line.remove_suffix(1);
        raw += line;
    }
    std::string value;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            ++i;
            value += raw[i] == 'n' ? '\n' : raw[i];
        } else {
            value += raw[i];
        }
    }
    return value;
}

// The entries of the programs list, in the host's order (the order its
// "selected:" index counts in); blank lines are no entries.
std::vector<std::string> ProgramEntries(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    const std::optional<Block> block = FindResource(lines, kProgramsKey);
    if (!block) return entries;
    const std::string value = ResourceValue(lines, *block, kProgramsKey);
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find('\n', start);
        if (end == std::string::npos) end = value.size();
        const std::string entry = value.substr(start, end - start);
        if (!IsBlank(entry)) entries.push_back(entry);
        start = end + 1;
    }
    return entries;
}

// The words of an entry's command, unquoted. An entry is
// "[-] [visual:] ["name"] command": a leading "-" disables it, a visual names
// the kind of window it needs.
std::vector<std::string> EntryWords(std::string_view entry) {
    entry = TrimLeft(entry);
    if (entry.starts_with('-')) entry = TrimLeft(entry.substr(1));
    const auto visualEnd =
        entry.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-");
    if (visualEnd != std::string_view::npos && visualEnd > 0 && entry[visualEnd] == ':')
        entry = TrimLeft(entry.substr(visualEnd + 1));
    if (entry.starts_with('"')) {
        const auto close = entry.find('"', 1);
        entry = close == std::string_view::npos ? std::string_view() : TrimLeft(entry.substr(close + 1));
    }
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (quote == '"' && c == '\\' && i + 1 < entry.size())
                word += entry[++i];
            else
                word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < entry.size()) {
            word += entry[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

bool IsFile(const std::string& word, const std::string& file) {
    return !word.empty() && (word == file || SameFile(word, file));
}

// The entry runs the file, or plays it ("PLAYER play FILE ...").
bool RunsFile(const std::string& entry, const std::string& installedFile) {
    const std::vector<std::string> words = EntryWords(entry);
    if (words.empty()) return false;
    return IsFile(words[0], installedFile) ||
           (words.size() >= 3 && words[1] == "play" && IsFile(words[2], installedFile));
}

// The value of a one-line resource ("mode:", "selected:"), or nothing.
std::optional<std::string> SimpleValue(const std::vector<std::string>& lines, std::string_view key) {
    const std::optional<Block> block = FindResource(lines, key);
    if (!block) return std::nullopt;
    std::string value(TrimLeft(TrimLeft(lines[block->first]).substr(key.size())));
    TrimRight(value);
    return value;
}

// Sets a one-line resource, keeping the line's own spacing; a missing one
// goes before the programs list (or to the end).
void SetSimpleValue(std::vector<std::string>& lines, std::string_view key, const std::string& value) {
    if (const std::optional<Block> block = FindResource(lines, key); block && block->first == block->last) {
        std::string& line = lines[block->first];
        const std::size_t keyAt = line.find(key);
        std::size_t valueAt = line.find_first_not_of(" \t", keyAt + key.size());
        if (valueAt == std::string::npos) valueAt = line.size();
        const std::string spacing = line.substr(keyAt + key.size(), valueAt - keyAt - key.size());
        line = line.substr(0, keyAt + key.size()) + (spacing.empty() ? std::string("\t\t") : spacing) + value;
        return;
    }
    std::string line = std::string(key) + (key.size() < 8 ? "\t\t" : "\t") + value;
    const std::optional<Block> programs = FindResource(lines, kProgramsKey);
    lines.insert(programs ? lines.begin() + static_cast<std::ptrdiff_t>(programs->first) : lines.end(), line);
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

// Rewrites the host's configuration through `change` (given the old text, or
// nothing when there is no file; returning the new text). A configuration
// kept elsewhere and linked here is changed where it lives; the new text
// replaces the old one whole (never a half-written file) with the old file's
// permissions. Unchanged texts are not written. False when the file could
// not be read or written.
bool UpdateHostConfig(const std::function<std::string(const std::optional<std::string>&)>& change) {
    std::string path = HostConfigPath();
    std::error_code ec;
    if (const auto real = std::filesystem::canonical(path, ec); !ec) path = real.string();
    const std::optional<std::string> old = ReadText(path);
    // A file that is there but cannot be read is the user's all the same: it stays untouched.
    if (!old && FileExists(path)) return false;
    const std::string updated = change(old);
    if (old ? updated == *old : updated.empty()) return true;
    struct stat st {};
    const bool hadMode = ::stat(path.c_str(), &st) == 0;
    if (!WriteFileReplacing(path, {reinterpret_cast<const uint8_t*>(updated.data()), updated.size()}))
        return false;
    if (hadMode) ::chmod(path.c_str(), st.st_mode & 07777);
    return true;
}

} // namespace

namespace {

// One word of a command line, shell-quoted where needed.
std::string ShellWord(const std::string& text) {
    constexpr std::string_view plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./+-,:@=";
    if (!text.empty() && text.find_first_not_of(plain) == std::string::npos) return text;
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

} // namespace

std::string HostCommandFor(const std::string& installedFile, const std::string& player) {
    if (!player.empty()) return ShellWord(player) + " play " + ShellWord(installedFile) + " -root";
    return ShellWord(installedFile) + " -root";
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

std::optional<std::size_t> FindHostProgram(const std::string& config, const std::string& installedFile) {
    const std::vector<std::string> entries = ProgramEntries(SplitLines(config).lines);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (RunsFile(entries[i], installedFile)) return i;
    return std::nullopt;
}

std::string SelectHostProgram(const std::string& config, const std::string& installedFile) {
    const std::optional<std::size_t> index = FindHostProgram(config, installedFile);
    if (!index) return config;
    Lines text = SplitLines(config);
    SetSimpleValue(text.lines, kModeKey, "one");
    SetSimpleValue(text.lines, kSelectedKey, std::to_string(*index));
    return JoinLines(text);
}

std::string RemoveHostProgram(const std::string& config, const std::string& installedFile) {
    Lines text = SplitLines(config);
    const std::vector<std::string> entries = ProgramEntries(text.lines);
    std::vector<std::size_t> removed;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (RunsFile(entries[i], installedFile)) removed.push_back(i);
    if (removed.empty()) return config;

    // The lines that hold those entries go; a list that ended on one of them
    // now ends on the line before.
    std::optional<Block> block = FindResource(text.lines, kProgramsKey);
    for (std::size_t i = block->last; i > block->first; --i) {
        std::vector<std::string> one{std::string(kProgramsKey) + " " + text.lines[i]};
        if (Continues(one[0])) one[0].pop_back();
        const std::vector<std::string> lineEntries = ProgramEntries(one);
        if (lineEntries.size() != 1 || !RunsFile(lineEntries[0], installedFile)) continue;
        const bool wasLast = !Continues(text.lines[i]);
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(i));
        --block->last;
        if (wasLast && i == block->last + 1) {
            std::string& previous = text.lines[i - 1];
            TrimRight(previous);
            if (Continues(previous)) {
                previous.pop_back();
                TrimRight(previous);
            }
        }
    }
    if (FindHostProgram(JoinLines(text), installedFile)) return config; // a form we cannot take apart safely

    // The selection follows its entry; one that pointed at a removed entry points at none.
    if (const auto selected = SimpleValue(text.lines, kSelectedKey)) {
        char* end = nullptr;
        const long index = std::strtol(selected->c_str(), &end, 10);
        if (end != selected->c_str() && index >= 0) {
            const auto at = static_cast<std::size_t>(index);
            if (std::find(removed.begin(), removed.end(), at) != removed.end()) {
                SetSimpleValue(text.lines, kSelectedKey, "-1");
                if (SimpleValue(text.lines, kModeKey) == "one")
                    SetSimpleValue(text.lines, kModeKey, "random");
            } else {
                const auto before =
                    std::count_if(removed.begin(), removed.end(), [at](auto r) { return r < at; });
                if (before > 0) SetSimpleValue(text.lines, kSelectedKey, std::to_string(index - before));
            }
        }
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

bool HandOverToScreenSaverHost(const std::string& installedFile, const std::string& displayName,
                               const std::string& player) {
    if (!ScreenSaverHostInstalled()) return false;
    UpdateHostConfig([&](const std::optional<std::string>& old) {
        const std::string added =
            AddHostProgram(old.value_or(std::string()), HostCommandFor(installedFile, player), displayName,
                           old ? std::string() : HostDefaultPrograms());
        return SelectHostProgram(added, installedFile);
    });
    static const char* const settings[] = {"xscreensaver-settings", "xscreensaver-demo", nullptr};
    StartDetached(settings);
    return true;
}

bool RemoveFromScreenSaverHost(const std::string& installedFile) {
    return UpdateHostConfig([&](const std::optional<std::string>& old) {
        return old ? RemoveHostProgram(*old, installedFile) : std::string();
    });
}

} // namespace scr
