#include "platform/SafeFile.h"

#include "platform/AtomicFileWriter.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace scr {
namespace {

bool WriteAll(int fd, std::span<const uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Closes fd; on a failed write or close the half-written file is removed.
bool FinishFile(int fd, const std::string& path, bool written) {
    const bool closed = ::close(fd) == 0;
    if (written && closed) return true;
    ::unlink(path.c_str());
    return false;
}

} // namespace

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> data) {
    AtomicFileWriter out;
    return out.open(path) && out.write(data.data(), data.size()) && out.commit(0644);
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    ReadOnlyFile in;
    AtomicFileWriter out;
    if (!in.open(from) || !out.open(to)) return false;
    // Stream in blocks so a large movie or track never sits in memory whole.
    std::vector<uint8_t> block(1 << 20);
    for (int64_t left = in.size(); left > 0;) {
        const auto count =
            static_cast<std::size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size())));
        if (!in.read(block.data(), count) || !out.write(block.data(), count)) return false;
        left -= static_cast<int64_t>(count);
    }
    return out.commit(0644);
}

std::optional<std::string> CreateNumberedFile(const std::string& dir, const std::string& prefix,
                                              const std::string& extension, std::span<const uint8_t> data) {
    const std::string base = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    // A bound on the search so that a directory full of our names cannot keep us busy forever.
    constexpr int kMaxNumbers = 100000;
    for (int n = 0; n < kMaxNumbers; ++n) {
        const std::string path = base + prefix + std::to_string(n) + extension;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        if (!FinishFile(fd, path, WriteAll(fd, data))) return std::nullopt;
        return path;
    }
    return std::nullopt;
}

bool IsOwnRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_uid == ::geteuid();
}

std::string TemporaryDirectory() {
    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : dir.string();
}

} // namespace scr
