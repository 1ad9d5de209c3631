#pragma once
// The show's view of the package reader: creates the run's package (which
// reads the package at once) and releases it (removing its temporary files)
// when destroyed.

#include "platform/ReadingEnvironment.h"
#include "show/ShowPackage.h"

#include <memory>
#include <string>

namespace scr {

class PackageFile;

class PackageShowContent : public ShowPackage {
public:
    // Reads the package at `packagePath` in the reading environment of the run.
    PackageShowContent(std::string packagePath, const ReadingEnvironment& reading);
    ~PackageShowContent() override;

    PackageFile& package() { return *package_; }

    int ItemCount() const override;
    ShowItem GetItem(int index) const override;
    int CountPinnedItems() const override;
    int DefaultDisplaySeconds() const override;
    bool RandomOrder() const override;
    bool LoadPicture(Bitmap24& bitmap, int index, int scale) override;
    std::optional<std::vector<uint8_t>> ReadMovie(int index) override;
    int MusicCount() const override;
    std::string ExtractMusic(int index) override;
    std::string Name() const override;
    uint32_t BackgroundColor() const override;
    const Bitmap24* Background() const override;
    void DropBackground() override;
    int DesignWidth() const override;
    int PlacementMode() const override;
    bool IgnoreMouseMove() const override;
    bool KeepCursor() const override;
    int OpacityPercent() const override;
    std::string HomePage() const override;
    const LabelGroup* Labels(int itemIndex) const override;

private:
    std::unique_ptr<PackageFile> package_;
};

} // namespace scr
