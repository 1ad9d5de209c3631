#pragma once
// Whether a file or folder is safe to load code or pages from: nobody but its
// owner (root or this user) can change it or anything on the way to it.

#include <string>

namespace scr {

// Why `path` must not be loaded: empty when the path, every folder above it
// and, through symbolic links, every folder above its real target are owned
// by root or by this user and writable only by their owner. A folder with the
// sticky bit (like /tmp) may be writable by all: there only the owner of an
// entry can rename or remove it. Otherwise the first offending path and why
// ("/x is writable by its group", "/x belongs to user 1001", "/x cannot be
// examined: ...").
std::string UntrustedReason(const std::string& path);

// The same for a folder whose files are loaded together: the folder as above
// and every entry directly in it.
std::string UntrustedFolderReason(const std::string& folder);

} // namespace scr
