#pragma once
// A Flash movie file (a projector, another maker's wrapper, a bare movie)
// shown as a screen saver: a one-item show whose item is the movie filling
// the screen on black, looping, with the movie's own sound, for as long as
// the show runs (the item is shown anew once a day). The movie may load the
// files of its own folder and the folders below it. No labels, no music of
// its own, no settings of its own.

#include "package/RecognisedFile.h"
#include "platform/ScreenSize.h"
#include "show/ShowPackage.h"

namespace scr {

class MovieShowContent : public ShowPackage {
public:
    // The show's one item covers `screen` (the primary screen, in pixels).
    MovieShowContent(RecognisedFile file, ScreenSize screen);

    // How long the item stays before it is shown anew, in seconds.
    static constexpr int kItemSeconds = 24 * 3600;

    const RecognisedFile& file() const { return file_; }

    int ItemCount() const override { return 1; }
    ShowItem GetItem(int index) const override;
    int CountPinnedItems() const override { return 0; }
    int DefaultDisplaySeconds() const override { return kItemSeconds; }
    bool RandomOrder() const override { return false; }
    bool LoadPicture(Bitmap24&, int, int) override { return false; }
    std::optional<std::vector<uint8_t>> ReadMovie(int index) override;
    std::string MovieFolder(int index) const override;
    int MusicCount() const override { return 0; }
    std::string ExtractMusic(int) override { return {}; }
    std::string Name() const override { return name_; }
    uint32_t BackgroundColor() const override { return 0; }
    const Bitmap24* Background() const override { return nullptr; }
    void DropBackground() override {}
    int DesignWidth() const override { return screen_.width; }
    int PlacementMode() const override { return 0; }
    bool IgnoreMouseMove() const override { return false; }
    bool KeepCursor() const override { return false; }
    int OpacityPercent() const override { return 0; }
    std::string HomePage() const override { return {}; }
    const LabelGroup* Labels(int) const override { return nullptr; }
    bool LoopMovies() const override { return true; }

private:
    RecognisedFile file_;
    ScreenSize screen_;
    std::string name_;
};

} // namespace scr
