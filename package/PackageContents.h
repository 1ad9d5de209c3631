#pragma once
// The way back from a loaded package to the description the builder takes:
// every record, text and block exactly as stored (the layout as designed, not
// fitted to a screen), with each item's and track's data read from the file.
// Parts that cannot be read are left out and named, so that a damaged package
// still gives everything that is intact.

#include "package/PackageBuilder.h"

#include <string>
#include <vector>

namespace scr {

class PackageFile;

struct PackageContents {
    PackageDescription description;
    // What could not be read and was left out, one sentence each.
    std::vector<std::string> skipped;
};

// `package` should be loaded without a screen size, so that its layout is as stored.
PackageContents ReadPackageContents(const PackageFile& package);

} // namespace scr
