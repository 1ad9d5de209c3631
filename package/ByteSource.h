#pragma once
// Bounded random-access reads from a file or from memory, so that parsers of
// package data work the same on both (files at run time, memory in fuzzing).

#include "platform/ReadOnlyFile.h"

#include <cstdint>
#include <span>
#include <vector>

namespace scr {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int64_t size() const = 0;
    // Reads exactly count bytes at offset; false, with nothing read, when they do not exist.
    virtual bool readAt(int64_t offset, void* buffer, std::size_t count) const = 0;

    // Reads count bytes into a vector allocated only after the bound check.
    bool readBytes(int64_t offset, std::size_t count, std::vector<uint8_t>& out) const;
    bool readLE16(int64_t offset, uint16_t& value) const;
    bool readLE32(int64_t offset, uint32_t& value) const;
};

class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const ReadOnlyFile& file) : file_(file) {}
    int64_t size() const override { return file_.size(); }
    bool readAt(int64_t offset, void* buffer, std::size_t count) const override {
        return file_.readAt(offset, buffer, count);
    }

private:
    const ReadOnlyFile& file_;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const uint8_t> data) : data_(data) {}
    int64_t size() const override { return static_cast<int64_t>(data_.size()); }
    bool readAt(int64_t offset, void* buffer, std::size_t count) const override;

private:
    std::span<const uint8_t> data_;
};

} // namespace scr
