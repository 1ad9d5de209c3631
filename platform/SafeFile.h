#pragma once
// Writing files without surprises: a file is either written completely under
// its final name or not at all, and names in shared folders are claimed
// exclusively, never by following or overwriting what someone else put there.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace scr {

// Writes data to a new temporary file beside `path` and renames it over
// `path`, replacing an existing file. Nothing is left behind on failure.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> data);

// Copies a file the same way (the copy replaces `to` at once or not at all).
bool CopyFileReplacing(const std::string& from, const std::string& to);

// Creates dir/prefix + N + extension with the smallest N from 0 upwards whose
// name is free, exclusively (never following a symbolic link or reusing an
// existing file) and readable only by the owner, and writes data into it. A
// name taken meanwhile moves on to the next number. Returns the path, or
// nothing when no file could be created or written (no file is left then).
std::optional<std::string> CreateNumberedFile(const std::string& dir, const std::string& prefix,
                                              const std::string& extension, std::span<const uint8_t> data);

// True when path names a regular file (not a link) owned by this user.
bool IsOwnRegularFile(const std::string& path);

// The system's temporary directory ($TMPDIR or /tmp).
std::string TemporaryDirectory();

} // namespace scr
