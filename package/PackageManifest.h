#pragma once
// The JSON manifest from which `scrtool pack` builds a package: package
// settings, items with their labels, tracks, and the files that hold their
// data and texts (paths relative to the manifest's folder). The keys and
// their ranges are documented in docs/package-format.md.

#include "package/PackageBuilder.h"

#include <string>
#include <vector>

namespace scr {

// Reads the manifest and every file it names into a package description.
// A failure with a message naming the key on any problem: unknown keys, values of
// the wrong type or beyond what their field stores, missing files, texts too
// long for their fields or not storable in the code page. Values the package
// stores but the player treats specially (a transition step of 0, a picture
// that is not JPEG) are kept, and each is named in `warnings` when given.
//
// A table the manifest does not name is taken from `defaultTables` (stored
// form: code-page text, lines ended by CR LF) unless the manifest's key
// "default_tables" is false.
struct LanguageTableTexts {
    std::string dynamicTexts;
    std::string staticCaptions;
};
Result<PackageDescription> LoadPackageManifest(const std::string& path,
                                               std::vector<std::string>* warnings = nullptr,
                                               const LanguageTableTexts& defaultTables = {});

} // namespace scr
