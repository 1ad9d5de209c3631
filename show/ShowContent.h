#pragma once
// What the show sequencer reads from the package: the item records and, on
// demand, a picture decoded into a bitmap or a movie extracted to a file.

#include "package/PackageRecords.h"

#include <optional>
#include <string>

namespace scr {

class Bitmap24;

class ShowContent {
public:
    virtual ~ShowContent() = default;
    virtual int ItemCount() const = 0;
    // The item's record; the package's default item when out of range.
    virtual ShowItem GetItem(int index) const = 0;
    virtual int CountPinnedItems() const = 0;
    virtual int DefaultDisplaySeconds() const = 0;
    virtual bool RandomOrder() const = 0;
    // Decodes picture `index` at 1/2^scale of its size; false leaves `bitmap` as it was.
    virtual bool LoadPicture(Bitmap24& bitmap, int index, int scale) = 0;
    // The bytes of movie `index`; none when they cannot be read.
    virtual std::optional<std::vector<uint8_t>> ReadMovie(int index) = 0;
    // The folder whose files movie `index` may load beside itself; empty,
    // as for every movie of a package, when it may load nothing.
    virtual std::string MovieFolder(int /*index*/) const { return {}; }
};

} // namespace scr
