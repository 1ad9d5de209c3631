#pragma once
// The installed copy of a self-installing screen saver: the installer file
// byte for byte, program and package, except the package-kind byte of the
// trailer, which marks the copy as an installed screen saver ('S').

#include <string>

namespace scr {

// The stored (scrambled) form of 'S' that the copy carries at trailer byte 137.
inline constexpr unsigned char kInstalledKindByte = 0xAC;

// Copies `source` to `destination` with the package-kind byte set. The copy
// is written beside the destination under a temporary name and renamed over
// it only when complete, owner-writable and executable (mode 0755): a failure
// at any point leaves an existing destination exactly as it was and no
// temporary file behind. False, with a reason in `error` when given, when the
// source cannot be read or is shorter than a trailer, or the copy cannot be
// written.
bool WriteInstalledCopy(const std::string& source, const std::string& destination,
                        std::string* error = nullptr);

} // namespace scr
