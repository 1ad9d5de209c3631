#pragma once
// A file written under a temporary name in its destination folder and moved
// into place only when it is complete: readers never see half a file, and a
// failure or an abandoned writer leaves the destination as it was.

#include <cstddef>
#include <cstdint>
#include <string>

namespace scr {

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter(); // removes the temporary file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates a new, owner-only temporary file beside `path`. False with a
    // reason in error() when the folder cannot take it.
    bool open(const std::string& path);
    // Appends bytes; false (and error() set) on any write failure.
    bool write(const void* data, std::size_t count);
    int64_t size() const { return size_; }
    // Flushes the data to disk, gives the file `mode` and renames it over the
    // destination. False, with the destination untouched, on any failure.
    bool commit(unsigned mode);

    const std::string& error() const { return error_; }

private:
    void discard();
    bool fail(const std::string& what);

    int fd_ = -1;
    std::string path_;
    std::string temporaryPath_;
    int64_t size_ = 0;
    std::string error_;
};

} // namespace scr
