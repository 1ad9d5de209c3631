#pragma once
// The JSON manifest from which `scrtool pack` builds a package: package
// settings, items with their labels, tracks, and the files that hold their
// data and texts (paths relative to the manifest's folder). The keys and
// their ranges are documented in docs/package-format.md.

#include "package/PackageBuilder.h"

#include <string>

namespace scr {

// Reads the manifest and every file it names into a package description.
// False with a message naming the key on any problem: unknown keys, values of
// the wrong type or out of range, missing files, pictures that are not JPEG,
// movies that are not SWF, texts too long for their fields or not storable in
// the code page.
//
// A table the manifest does not name is taken from `defaultTables` (stored
// form: code-page text, lines ended by CR LF) unless the manifest's key
// "default_tables" is false.
struct LanguageTableTexts {
    std::string dynamicTexts;
    std::string staticCaptions;
};
bool LoadPackageManifest(const std::string& path, PackageDescription& description, std::string* error,
                         const LanguageTableTexts& defaultTables = {});

} // namespace scr
