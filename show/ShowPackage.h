#pragma once
// Everything the show window reads from its package: the sequence content,
// the music tracks and the package-wide settings of the show. The player
// uses the package reader through PackageShowContent; tests use packages
// made in memory.

#include "package/LabelData.h"
#include "show/ShowContent.h"
#include "show/ShowMusic.h"

#include <cstdint>
#include <string>

namespace scr {

class Bitmap24;

class ShowPackage : public ShowContent, public MusicTrackSource {
public:
    virtual std::string Name() const = 0;
    virtual uint32_t BackgroundColor() const = 0; // COLORREF
    // The background picture; null when the package has none.
    virtual const Bitmap24* Background() const = 0;
    // Frees the background picture once it is painted.
    virtual void DropBackground() = 0;
    // Screen width the layout was designed for (the screen's when not stored).
    virtual int DesignWidth() const = 0;
    virtual int PlacementMode() const = 0;
    virtual bool IgnoreMouseMove() const = 0;
    virtual bool KeepCursor() const = 0;
    virtual int OpacityPercent() const = 0;
    virtual std::string HomePage() const = 0;
    // The labels of an item; null or empty when it has none.
    virtual const LabelGroup* Labels(int itemIndex) const = 0;
    // True when the items' movies loop as pinned movies do, instead of
    // stopping at their last frame (a movie file shown as a screen saver).
    virtual bool LoopMovies() const { return false; }
};

// PlacementMode value of packages whose items move about the screen.
inline constexpr int kPlacementMoving = 3;

} // namespace scr
