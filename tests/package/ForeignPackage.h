#pragma once
// Packages laid out the way another writer might: blocks in another order,
// junk between them, blocks the format level does not need, music names
// without a final line end. Only what the reader relies on is kept: the name
// at the package start, the author block after it, the blocks of format level
// 4 and up directly after the label data, the locator and the trailer at the
// end.

#include "package/PackageBuilder.h"

#include <cstdint>
#include <vector>

namespace scr::test {

struct ForeignLayout {
    std::size_t gap = 0; // junk bytes between blocks
    bool labels = true;  // false: no label data at all (format level below 4 only)
    bool unneededBlocks =
        false; // an extension block below level 4, a licence at level 4, junk after the name
    bool musicNamesJoinedByLf = true; // names separated by LF, no final line end
};

// A program image followed by the package of `d`, laid out as `layout` says.
std::vector<uint8_t> BuildForeignPackage(const PackageDescription& d, const ForeignLayout& layout);

} // namespace scr::test
