#include "platform/InstallPrefixes.h"

#include "platform/ExecutablePath.h"
#include "platform/StandardDirectories.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// The folder above the folder of `file`, resolving links (a `bin/scrplayer`
// linked from elsewhere belongs to the tree it links into).
std::string PrefixOfProgram(const std::string& file) {
    std::error_code ec;
    const fs::path real = fs::canonical(file, ec);
    return ec ? std::string() : real.parent_path().parent_path().string();
}

std::string PrefixOfProgramOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    std::istringstream folders(path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        // Relative entries would depend on where the screen saver was started.
        if (folder.empty() || folder.front() != '/') continue;
        const std::string file = folder + "/" + name;
        if (access(file.c_str(), X_OK) == 0) return PrefixOfProgram(file);
    }
    return {};
}

std::string ParentOfShareFolder(const std::string& folder) {
    const fs::path path = fs::path(folder).lexically_normal();
    const fs::path trimmed = path.has_filename() ? path : path.parent_path();
    return trimmed.filename() == "share" && trimmed.is_absolute() ? trimmed.parent_path().string()
                                                                  : std::string();
}

std::vector<std::string> XdgDataDirs() {
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(value && *value ? value : "/usr/local/share:/usr/share");
    std::vector<std::string> folders;
    for (std::string folder; std::getline(list, folder, ':');)
        folders.push_back(folder);
    return folders;
}

} // namespace

std::string ConfiguredInstallPrefix() {
#ifdef SCR_INSTALL_PREFIX
    return SCR_INSTALL_PREFIX;
#else
    return {};
#endif
}

std::vector<std::string> InstallPrefixes() {
    std::vector<std::string> candidates{PrefixOfProgram(ExecutablePath()), PrefixOfProgramOnPath("scrplayer"),
                                        ParentOfShareFolder(XdgDataHome())};
    candidates.push_back(ConfiguredInstallPrefix());
    for (const std::string& folder : XdgDataDirs())
        candidates.push_back(ParentOfShareFolder(folder));
    candidates.insert(candidates.end(), {HomeDirectory() + "/.local", "/usr/local", "/usr"});

    std::vector<std::string> prefixes;
    for (std::string& candidate : candidates) {
        if (candidate.empty()) continue;
        candidate = fs::path(candidate).lexically_normal().string();
        while (candidate.size() > 1 && candidate.back() == '/')
            candidate.pop_back();
        if (std::find(prefixes.begin(), prefixes.end(), candidate) == prefixes.end())
            prefixes.push_back(candidate);
    }
    return prefixes;
}

} // namespace scr
