#include "package/ByteSource.h"

#include <cstring>

namespace scr {

bool ByteSource::readBytes(int64_t offset, std::size_t count, std::vector<uint8_t>& out) const {
    if (offset < 0 || offset > size() || static_cast<uint64_t>(size() - offset) < count) return false;
    std::vector<uint8_t> data(count);
    if (!readAt(offset, data.data(), count)) return false;
    out = std::move(data);
    return true;
}

bool ByteSource::readLE16(int64_t offset, uint16_t& value) const {
    uint8_t b[2];
    if (!readAt(offset, b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ByteSource::readLE32(int64_t offset, uint32_t& value) const {
    uint8_t b[4];
    if (!readAt(offset, b, 4)) return false;
    value = static_cast<uint32_t>(ReadLE32(b));
    return true;
}

bool MemoryByteSource::readAt(int64_t offset, void* buffer, std::size_t count) const {
    if (offset < 0 || offset > size() || static_cast<uint64_t>(size() - offset) < count) return false;
    if (count > 0) std::memcpy(buffer, data_.data() + offset, count);
    return true;
}

} // namespace scr
