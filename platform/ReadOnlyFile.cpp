#include "platform/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace scr {

ReadOnlyFile::~ReadOnlyFile() {
    close();
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), position_(other.position_) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        position_ = other.position_;
    }
    return *this;
}

bool ReadOnlyFile::open(const std::string& path) {
    close();
    // Non-blocking, so that a named pipe given as a file is refused at once
    // instead of waiting for a writer; regular files ignore the flag.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<int64_t>(st.st_size);
    position_ = 0;
    return true;
}

void ReadOnlyFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
    position_ = 0;
}

bool ReadOnlyFile::seek(int64_t position) {
    if (fd_ < 0 || position < 0 || position > size_) return false;
    position_ = position;
    return true;
}

bool ReadOnlyFile::readAt(int64_t offset, void* buffer, std::size_t count) const {
    if (fd_ < 0 || offset < 0 || offset > size_ || static_cast<uint64_t>(size_ - offset) < count)
        return false;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n =
            ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadOnlyFile::read(void* buffer, std::size_t count) {
    if (!readAt(position_, buffer, count)) return false;
    position_ += static_cast<int64_t>(count);
    return true;
}

bool ReadOnlyFile::readBytes(std::size_t count, std::vector<uint8_t>& out) {
    if (fd_ < 0 || static_cast<uint64_t>(size_ - position_) < count) return false;
    std::vector<uint8_t> data(count);
    if (!read(data.data(), count)) return false;
    out = std::move(data);
    return true;
}

bool ReadOnlyFile::readInt32(int32_t& value) {
    uint8_t bytes[4];
    if (!read(bytes, 4)) return false;
    value = ReadLE32(bytes);
    return true;
}

} // namespace scr
