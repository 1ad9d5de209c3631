#pragma once
// A show package made in memory for tests of the show window: items, their
// pictures as JPEG data decoded as the package reader decodes them, labels
// and the few package-wide settings the tests vary.

#include "package/JpegCodec.h"
#include "platform/gui/QtScreenSize.h"
#include "show/ShowPackage.h"

#include <map>
#include <string>
#include <vector>

namespace scr::test {

class JpegShowPackage : public ShowPackage {
public:
    std::vector<ShowItem> items;
    std::map<int, std::vector<uint8_t>> jpegs;
    std::vector<LabelGroup> labels;
    int designWidth = 0;
    uint32_t backgroundColor = 0x00000000;
    // Pictures are decoded within the bounds the player's environment sets.
    DecodeLimits decode = QtDesktopDecodeLimits();

    int ItemCount() const override { return static_cast<int>(items.size()); }
    ShowItem GetItem(int i) const override {
        return i >= 0 && i < ItemCount() ? items[static_cast<std::size_t>(i)] : ShowItem{};
    }
    int CountPinnedItems() const override {
        int n = 0;
        for (const auto& item : items)
            n += item.pinned != 0;
        return n;
    }
    int DefaultDisplaySeconds() const override { return 5; }
    bool RandomOrder() const override { return false; }
    bool LoadPicture(Bitmap24& bitmap, int index, int scale) override {
        const auto it = jpegs.find(index);
        return it != jpegs.end() && DecodeJpeg(it->second, scale, bitmap, decode);
    }
    std::optional<std::vector<uint8_t>> ReadMovie(int) override { return std::nullopt; }
    int MusicCount() const override { return 0; }
    std::string ExtractMusic(int) override { return {}; }
    std::string Name() const override { return "Memory"; }
    uint32_t BackgroundColor() const override { return backgroundColor; }
    const Bitmap24* Background() const override { return nullptr; }
    void DropBackground() override {}
    int DesignWidth() const override { return designWidth; }
    int PlacementMode() const override { return 0; }
    bool IgnoreMouseMove() const override { return false; }
    bool KeepCursor() const override { return true; }
    int OpacityPercent() const override { return 0; }
    std::string HomePage() const override { return {}; }
    const LabelGroup* Labels(int i) const override {
        return i >= 0 && i < static_cast<int>(labels.size()) ? &labels[static_cast<std::size_t>(i)] : nullptr;
    }
};

// A picture item at a fixed place, shown and left without transitions.
inline ShowItem FixedPictureItem(int left, int top, int width, int height) {
    ShowItem item;
    item.kind = ShowItem::Picture;
    item.displaySeconds = 5;
    item.fixedPosition = 1;
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.transitionEffect = -2;
    item.exitEffect = -2;
    return item;
}

} // namespace scr::test
