#pragma once
// A file opened for reading only. Other readers and writers are not locked
// out. Every read is bounded by the file's size as measured when it was
// opened: a read that would pass the end fails and reads nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace scr {

class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    explicit ReadOnlyFile(const std::string& path) { open(path); }
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    int64_t size() const { return size_; }
    int64_t position() const { return position_; }
    // Moves the read position; false (position unchanged) outside 0..size.
    bool seek(int64_t position);

    // Reads exactly `count` bytes at the current position and advances it.
    // False, with nothing read and the position unchanged, when fewer bytes remain.
    bool read(void* buffer, std::size_t count);
    // Reads exactly `count` bytes into a vector; false when they do not exist.
    // The vector is allocated only after the bound check, so a count from
    // damaged data never allocates more than the file holds.
    bool readBytes(std::size_t count, std::vector<uint8_t>& out);
    // Reads a 32-bit little-endian signed integer.
    bool readInt32(int32_t& value);

    // Reads exactly `count` bytes at an absolute offset without moving the position.
    bool readAt(int64_t offset, void* buffer, std::size_t count) const;

private:
    int fd_ = -1;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

// Reads a 32-bit little-endian integer from a byte buffer.
inline int32_t ReadLE32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
inline void WriteLE32(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace scr
