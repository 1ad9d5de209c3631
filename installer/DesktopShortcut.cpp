#include "installer/DesktopShortcut.h"

#include "installer/InstallNames.h"
#include "platform/FileAttributes.h"
#include "platform/SafeFile.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace scr {
namespace {

constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

// A value of a key: backslash, line breaks and tabs as the escapes the format knows.
std::string EscapeValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The inverse of EscapeValue.
std::string UnescapeValue(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

// The program of an Exec value: its first argument, unquoted.
std::string ExecProgram(const std::string& exec) {
    const std::vector<std::string> arguments = ExecArguments(exec);
    return arguments.empty() ? std::string() : arguments.front();
}

void AppendKey(std::string& text, const char* key, const std::string& value) {
    text += key;
    text += '=';
    text += EscapeValue(value);
    text += '\n';
}

std::string ExecLine(const std::string& target, const std::string& arguments) {
    std::string line = QuoteExecArgument(target);
    if (!arguments.empty()) {
        std::string escaped;
        for (char c : arguments)
            escaped += c == '%' ? std::string("%%") : std::string(1, c);
        line += ' ' + escaped;
    }
    return line;
}

// Desktops that keep a "trusted" flag in their file metadata (GNOME and its
// relatives) start a launcher only with it set. The tool runs on its own; its
// outcome does not matter (other desktops go by the executable bit).
void MarkTrusted(const std::string& path) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) return;
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return;
    QProcess::startDetached(gio, {QStringLiteral("set"), QString::fromStdString(path),
                                  QStringLiteral("metadata::trusted"), QStringLiteral("true")});
}

} // namespace

std::string ShortcutPath(const std::string& desktopFolder, const std::string& name) {
    std::string folder = desktopFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + SafeNameComponent(name) + ".desktop";
}

std::string QuoteExecArgument(const std::string& argument) {
    std::string out;
    const bool quote = argument.empty() || argument.find_first_of(kReservedInExec) != std::string::npos;
    for (char c : argument) {
        if (c == '%') {
            out += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

std::string DesktopEntryText(const ShortcutFields& fields) {
    std::string text = "#!/usr/bin/env xdg-open\n[Desktop Entry]\n";
    AppendKey(text, "Type", "Application");
    AppendKey(text, "Version", "1.0");
    AppendKey(text, "Name", fields.name);
    if (!fields.description.empty()) AppendKey(text, "Comment", fields.description);
    AppendKey(text, "Exec", ExecLine(fields.target, fields.arguments));
    if (!fields.tryExec.empty()) AppendKey(text, "TryExec", fields.tryExec);
    if (!fields.workingDirectory.empty()) AppendKey(text, "Path", fields.workingDirectory);
    AppendKey(text, "Icon",
              fields.icon.empty() ? std::string("preferences-desktop-screensaver") : fields.icon);
    AppendKey(text, "Terminal", "false");
    if (!fields.categories.empty()) AppendKey(text, "Categories", fields.categories);
    if (!fields.onlyShowIn.empty()) AppendKey(text, "OnlyShowIn", fields.onlyShowIn);
    for (const auto& [key, value] : fields.moreKeys)
        AppendKey(text, key.c_str(), value);
    if (!fields.uninstallCommand.empty()) {
        AppendKey(text, "Actions", "Uninstall;");
        text += "\n[Desktop Action Uninstall]\n";
        AppendKey(text, "Name", "Uninstall");
        AppendKey(text, "Exec", ExecLine(fields.target, fields.uninstallCommand));
    }
    return text;
}

std::string DesktopEntryValue(const std::string& entryPath, const std::string& key) {
    std::ifstream in(entryPath, std::ios::binary);
    std::string line;
    bool inMainGroup = false;
    const std::string prefix = key + '=';
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with('[')) inMainGroup = line == "[Desktop Entry]";
        if (inMainGroup && line.starts_with(prefix)) return UnescapeValue(line.substr(prefix.size()));
    }
    return {};
}

std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> arguments;
    std::size_t i = exec.find_first_not_of(" \t");
    while (i != std::string::npos && i < exec.size()) {
        std::string argument;
        const bool quoted = exec[i] == '"';
        if (quoted) ++i;
        for (; i < exec.size(); ++i) {
            const char c = exec[i];
            if (quoted && c == '"') {
                ++i;
                break;
            }
            if (!quoted && (c == ' ' || c == '\t')) break;
            if (quoted && c == '\\' && i + 1 < exec.size()) {
                argument += exec[++i];
            } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
                argument += '%';
                ++i;
            } else {
                argument += c;
            }
        }
        arguments.push_back(std::move(argument));
        i = exec.find_first_not_of(" \t", i);
    }
    return arguments;
}

bool IsShortcutTo(const std::string& linkPath, const std::string& target) {
    const std::string program = ExecProgram(DesktopEntryValue(linkPath, "Exec"));
    // The launcher may name the file through other links than this process does.
    return !program.empty() && (program == target || SameFile(program, target));
}

bool CreateShortcut(const ShortcutFields& fields, const std::string& linkPath) {
    const std::string text = DesktopEntryText(fields);
    if (!WriteFileReplacing(linkPath, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}))
        return false;
    ::chmod(linkPath.c_str(), 0755);
    MarkTrusted(linkPath);
    return true;
}

} // namespace scr
