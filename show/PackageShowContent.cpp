#include "show/PackageShowContent.h"

#include "package/PackageFile.h"
#include "platform/StatsLog.h"

#include <new>
#include <string>

namespace scr {

PackageShowContent::PackageShowContent(std::string packagePath, const ReadingEnvironment& reading)
    : package_(std::make_unique<PackageFile>(std::move(packagePath), reading)) {}

PackageShowContent::~PackageShowContent() = default;

int PackageShowContent::ItemCount() const {
    return package_->ItemCount();
}
ShowItem PackageShowContent::GetItem(int index) const {
    return package_->GetItem(index);
}
int PackageShowContent::CountPinnedItems() const {
    return package_->CountPinnedItems();
}
int PackageShowContent::DefaultDisplaySeconds() const {
    return package_->DefaultDisplaySeconds();
}
bool PackageShowContent::RandomOrder() const {
    return package_->RandomOrder();
}
bool PackageShowContent::LoadPicture(Bitmap24& bitmap, int index, int scale) {
    // Reading the item's bytes allocates as much as the item is long.
    try {
        if (package_->LoadPicture(bitmap, index, scale)) return true;
    } catch (const std::bad_alloc&) {
        AppendStatsLine("picture-not-loaded item=" + std::to_string(index) + " reason=out-of-memory");
        return false;
    }
    AppendStatsLine("picture-not-loaded item=" + std::to_string(index) + " reason=not-decodable");
    return false;
}
std::optional<std::vector<uint8_t>> PackageShowContent::ReadMovie(int index) {
    return package_->ReadMovie(index);
}
int PackageShowContent::MusicCount() const {
    return package_->MusicCount();
}
std::string PackageShowContent::ExtractMusic(int index) {
    const Result<ExtractedTrack> track = package_->ExtractMusic(index);
    return track ? track->path : std::string();
}
std::string PackageShowContent::Name() const {
    return package_->Name();
}
uint32_t PackageShowContent::BackgroundColor() const {
    return package_->BackgroundColor();
}
const Bitmap24* PackageShowContent::Background() const {
    return package_->Background();
}
void PackageShowContent::DropBackground() {
    package_->SetBackground(nullptr);
}
int PackageShowContent::DesignWidth() const {
    return package_->DesignWidth();
}
int PackageShowContent::PlacementMode() const {
    return package_->PlacementMode();
}
bool PackageShowContent::IgnoreMouseMove() const {
    return package_->IgnoreMouseMove();
}
bool PackageShowContent::KeepCursor() const {
    return package_->KeepCursor();
}
int PackageShowContent::OpacityPercent() const {
    return package_->OpacityPercent();
}
std::string PackageShowContent::HomePage() const {
    return package_->Author().homepage();
}
const LabelGroup* PackageShowContent::Labels(int itemIndex) const {
    return package_->Labels().Group(itemIndex);
}

} // namespace scr
