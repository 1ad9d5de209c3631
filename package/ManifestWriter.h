#pragma once
// The inverse of the manifest reader: writes a package description as a
// folder that `scrtool pack` reads back to the same description. Each item's
// and track's data becomes a file (item-01.jpg, item-02.swf, item-03.bin,
// track-01.mp3, ...), the background, licence and language tables become
// files of their own, and manifest.json names them and holds every setting.
//
// File names are made here, never taken from the package: an item's name
// comes from its kind, a track's from its stored extension only when that is
// a plain one. Every file is written under a temporary name in the folder
// and renamed into place, so a link already in the folder is replaced, not
// followed.

#include "package/PackageBuilder.h"

#include <string>

namespace scr {

inline constexpr char kManifestFileName[] = "manifest.json";

// Writes the files and the manifest into the existing folder `dir`. A failure
// with the reason when a file cannot be written (files written before stay).
Result<void> WriteManifestFolder(const PackageDescription& description, const std::string& dir);

} // namespace scr
