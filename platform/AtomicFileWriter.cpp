#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace scr {

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

bool AtomicFileWriter::fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    discard();
    return false;
}

bool AtomicFileWriter::open(const std::string& path) {
    discard();
    error_.clear();
    size_ = 0;
    path_ = path;
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    // mkstemp creates the file exclusively with mode 0600.
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return fail("cannot create a file in " + folder.string());
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    fd_ = fd;
    temporaryPath_ = pattern;
    return true;
}

bool AtomicFileWriter::write(const void* data, std::size_t count) {
    if (fd_ < 0) {
        if (error_.empty()) error_ = "file not open";
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(fd_, bytes, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write " + path_);
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
        size_ += n;
    }
    return true;
}

bool AtomicFileWriter::commit(unsigned mode) {
    if (fd_ < 0) {
        if (error_.empty()) error_ = "file not open";
        return false;
    }
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) return fail("cannot set the mode of " + path_);
    if (::fsync(fd_) != 0) return fail("cannot write " + path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail("cannot write " + path_);
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) return fail("cannot replace " + path_);
    temporaryPath_.clear();
    return true;
}

} // namespace scr
