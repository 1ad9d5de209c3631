#pragma once
// Compares two package descriptions as the builder would store them. What
// differs is named by its manifest key ("items[2].exit_step: 10 -> 0",
// "items[0].labels[1].text", "tracks[1]: its data"), so that a tool can say
// which parts of a package a round trip would change, or how two packages
// differ.

#include "package/PackageBuilder.h"

#include <string>
#include <vector>

namespace scr {

// The parts in which `b` would give a different package than `a`, numbers
// shown as "value in a -> value in b"; empty when both give the same bytes.
// Fields the builder fills in itself (signature, counts, block sizes) are not
// compared, nor the author block of a package that has none.
std::vector<std::string> DescriptionDifferences(const PackageDescription& a, const PackageDescription& b);

} // namespace scr
