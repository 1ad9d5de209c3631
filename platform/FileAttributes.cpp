#include "platform/FileAttributes.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace scr {

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code ec1, ec2;
    const auto resolvedA = std::filesystem::weakly_canonical(a, ec1);
    const auto resolvedB = std::filesystem::weakly_canonical(b, ec2);
    return !ec1 && !ec2 && resolvedA == resolvedB;
}

bool ClearReadOnly(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    if (st.st_mode & S_IWUSR) return true;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

} // namespace scr
