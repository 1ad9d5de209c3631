#pragma once
// The shell's special folders by the codes the dialogs use (100..115), mapped
// onto the freedesktop (XDG) folders and Qt's standard locations.
//
// code  folder                         Linux
// 100   recycle bin                    none (the trash is not a plain folder)
// 101   control panel                  none
// 102   desktop                        $XDG_DESKTOP_DIR, else the desktop of user-dirs.dirs, else ~/Desktop
// 103   desktop directory              the same
// 104   my computer                    none
// 105   fonts                          the user's fonts folder (~/.local/share/fonts)
// 106   network neighbourhood folder   none
// 107   network                        none
// 108   my documents                   the documents folder
// 109   printers                       none
// 110   start-menu programs            the applications folder (~/.local/share/applications)
// 111   recent documents               none
// 112   send-to                        none
// 113   start menu                     the applications folder
// 114   start-up                       the autostart folder ($XDG_CONFIG_HOME/autostart)
// 115   templates                      the templates folder

#include <string>

namespace scr {

inline constexpr int kFolderDesktop = 102;

// Writes the folder's path (no trailing delimiter) into `path` and returns
// true. A code outside 100..115, or one without a folder on this system,
// returns false and leaves `path` untouched.
bool GetSpecialFolder(std::string& path, int code);

} // namespace scr
