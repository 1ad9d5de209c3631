#pragma once
// The desktop shortcut of an installed screen saver: a freedesktop launcher
// (a ".desktop" file) in the user's desktop folder. Desktops run a launcher
// only when it is executable, and some only when it is marked trusted, so
// the file is made executable and, where the desktop's metadata tool exists,
// marked trusted.

#include <string>
#include <utility>
#include <vector>

namespace scr {

// What a launcher says. Texts are UTF-8.
struct ShortcutFields {
    std::string name;             // the name shown under the icon
    std::string target;           // the program it runs
    std::string workingDirectory; // empty: none
    std::string description;      // empty: none
    std::string arguments;        // appended to the command as they stand (one text)
    std::string icon;             // an icon name or path; empty: the screen-saver icon of the theme
    std::string uninstallCommand; // empty: none; else an "Uninstall" action running the target with it
    std::string categories;       // empty: none; else the menu categories, ';'-terminated
    std::string onlyShowIn;       // empty: every desktop; else the desktops, ';'-terminated
    std::string tryExec;          // empty: none; else offered only while this program exists
    // More keys of the main group, in this order (values are escaped as needed).
    std::vector<std::pair<std::string, std::string>> moreKeys;
};

// The launcher's path for a screen saver called `name` in `desktopFolder`:
// folder + "/" + the name, made a single file name, + ".desktop".
std::string ShortcutPath(const std::string& desktopFolder, const std::string& name);

// The text of the launcher (of any desktop entry that runs a program).
std::string DesktopEntryText(const ShortcutFields& fields);

// One argument of an Exec line, quoted where the freedesktop rules ask for it
// (reserved characters) and with '%' doubled.
std::string QuoteExecArgument(const std::string& argument);

// The arguments of an Exec value, unquoted, with "%%" as one '%'.
std::vector<std::string> ExecArguments(const std::string& exec);

// True when `linkPath` is a launcher that runs `target`, whatever symbolic
// links either path passes through (so that removing a screen saver never
// deletes a launcher of something else that happens to bear its name, and
// always deletes its own).
bool IsShortcutTo(const std::string& linkPath, const std::string& target);

// The value of `key` in the main group of a desktop entry, unescaped; empty
// when the file or the key is missing.
std::string DesktopEntryValue(const std::string& entryPath, const std::string& key);

// Writes the launcher to `linkPath` (complete or not at all, replacing an
// earlier one), mode 0755, and asks the desktop to trust it. False when the
// file cannot be written.
bool CreateShortcut(const ShortcutFields& fields, const std::string& linkPath);

} // namespace scr
