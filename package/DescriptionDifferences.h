#pragma once
// Compares two package descriptions as the builder would store them: what
// differs is named in words ("item 3: its settings", "the music names"), so
// that a tool can say which parts of a package a round trip would change.

#include "package/PackageBuilder.h"

#include <string>
#include <vector>

namespace scr {

// The parts in which `actual` would give a different package than
// `expected`; empty when both give the same bytes. Fields the builder fills in
// itself (signature, counts, block sizes) are not compared.
std::vector<std::string> DescriptionDifferences(const PackageDescription& expected,
                                                const PackageDescription& actual);

} // namespace scr
