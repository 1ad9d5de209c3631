#pragma once
// Programs whose contents are hidden from any scan: packed with an
// executable packer, or self-extracting archives. No movie can be found in
// them as they are; this names what they are, so the user learns what to do.

#include "package/ByteSource.h"

#include <optional>
#include <string>

namespace scr {

// Why a movie cannot be seen in the file ("it is packed with UPX; unpack it
// with 'upx -d' first"), or nothing when it looks like none of these.
std::optional<std::string> PackedPayloadReason(const ByteSource& source);

} // namespace scr
