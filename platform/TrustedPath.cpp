#include "platform/TrustedPath.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace scr {
namespace {

namespace fs = std::filesystem;

// Checks one path name and the folders it lies in, as written: symbolic
// links on the way are not followed, their own folders are checked instead.
std::string UntrustedReasonAlong(const fs::path& path) {
    fs::path current;
    for (const fs::path& part : path) {
        current /= part;
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0)
            return current.string() + " cannot be examined: " + std::strerror(errno);
        // A link's own mode means nothing; whoever can replace it can write
        // its folder, which was checked one step before.
        if (S_ISLNK(info.st_mode)) continue;
        if (info.st_uid != 0 && info.st_uid != geteuid())
            return current.string() + " belongs to user " + std::to_string(info.st_uid);
        const bool last = current == path;
        const bool sharedSticky = S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) && !last;
        if (sharedSticky) continue;
        if (info.st_mode & S_IWOTH) return current.string() + " is writable by everyone";
        if (info.st_mode & S_IWGRP) return current.string() + " is writable by its group";
    }
    return {};
}

} // namespace

std::string UntrustedReason(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec).lexically_normal();
    if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
    if (ec) return path + " cannot be examined: " + ec.message();
    if (std::string reason = UntrustedReasonAlong(absolute); !reason.empty()) return reason;
    // What a link on the way points to is what gets loaded: its folders count too.
    const fs::path real = fs::canonical(absolute, ec);
    if (ec) return path + " cannot be examined: " + ec.message();
    return real == absolute ? std::string() : UntrustedReasonAlong(real);
}

std::string UntrustedFolderReason(const std::string& folder) {
    if (std::string reason = UntrustedReason(folder); !reason.empty()) return reason;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (std::string reason = UntrustedReason(it->path().string()); !reason.empty()) return reason;
    return ec ? folder + " cannot be listed: " + ec.message() : std::string();
}

} // namespace scr
