#pragma once
// The package builder: the inverse of the package reader. It lays out an
// appended package from an in-memory description: name, author block, item
// and track data (first eighth scrambled), the plain item tables, the
// language tables, the label data, the extension block, music names,
// background picture and licence text, the label locator and the trailer.
// The same description always gives the same bytes.

#include "package/LabelData.h"
#include "package/PackageRecords.h"
#include "package/Result.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace scr {

// One show item: its record and its data (a JPEG picture or a Flash movie).
struct PackageItemSource {
    ShowItem record;
    std::vector<uint8_t> data;
};

// One music track: its record (extension) and its data.
struct PackageTrackSource {
    MusicItem record;
    std::vector<uint8_t> data;
};

// Everything a package holds. Texts are code-page bytes as stored.
struct PackageDescription {
    std::string name; // at most 63 bytes
    // The information record as stored, except that the builder writes the
    // signature and the item and track counts. Reserved bytes are kept as given.
    ScreenSaverInfo info;
    AuthorInfo author; // written when info.hasAuthorInfo() is non-zero
    std::vector<PackageItemSource> items;
    std::vector<PackageTrackSource> tracks;
    // One group per item; fewer groups are padded with empty ones.
    LabelGroupList labels;
    // Format level 4 and above: design height, opacity and cursor; the
    // builder fills in the sizes of the music names and the background.
    PackageExtension extension;
    // One name per track, or none (the player then makes names up).
    std::vector<std::string> musicNames;
    std::vector<uint8_t> background; // JPEG bytes; empty: no background
    std::string licenseText;         // format level 5 and above; at most 65536 bytes
    std::string dynamicTexts;        // the first language table, lines ended by CR LF
    std::string staticCaptions;      // the second language table (INI text)
};

// Receives the package bytes in order; false stops the building.
using PackageSink = std::function<bool(const uint8_t* data, std::size_t size)>;

// Writes the package to the sink. A failure with the reason when the
// description cannot be stored (a text too long for its field, blocks the
// format level cannot carry, a package beyond 2 GB, more label groups than
// items) or the sink fails; nothing is written when the description is
// refused.
Result<void> WritePackage(const PackageDescription& description, const PackageSink& sink);

// The package bytes in memory.
Result<std::vector<uint8_t>> BuildPackage(const PackageDescription& description);

// Writes `program` followed by the package to `path`: under a temporary name
// in the same folder, renamed when complete, mode 0755. On failure the
// destination is left as it was.
Result<void> WritePackedFile(const std::string& path, std::span<const uint8_t> program,
                             const PackageDescription& description);

// The program image of an executable: the whole file, or, when the file
// already carries a package, the bytes in front of it.
Result<std::vector<uint8_t>> ReadProgramImage(const std::string& path);

} // namespace scr
