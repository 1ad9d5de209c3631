#include "package/MoviePackage.h"

#include "platform/CodePage.h"

#include <filesystem>

namespace scr {
namespace {

constexpr int32_t kOneFrameMovieSeconds = 3600;
// The item timer's first look at a movie that is waited for.
constexpr int32_t kMultiFrameMovieSeconds = 1;
constexpr std::size_t kNameBytes = 63;

// Code-page text of at most `bytes` bytes.
std::string CodePageText(const std::string& utf8, std::size_t bytes) {
    std::string text = EncodeCodePage(utf8);
    if (text.size() > bytes) text.resize(bytes);
    return text;
}

} // namespace

std::string MovieScreenSaverName(const std::string& path) {
    std::filesystem::path p(path);
    if (!p.has_filename()) p = p.parent_path(); // a folder given as "Fish.app/"
    return p.stem().string();
}

PackageDescription MoviePackageDescription(const RecognisedFile& file, std::vector<uint8_t> movie) {
    PackageDescription d;
    const FoundMovie found = file.movie.value_or(FoundMovie{});
    d.name = CodePageText(MovieScreenSaverName(file.path), kNameBytes);
    d.info.setDefaultDisplaySeconds(10);
    d.info.setDefaultTransitionStep(10);
    d.info.setDefaultExitStep(10);
    d.info.setDefaultTransitionEffect(-1);
    d.info.setDefaultExitEffect(-1);
    d.info.setFormatLevel(5);
    d.info.setPackageKind('S');
    d.info.setDesignWidth(found.frame.width);
    d.extension.designHeight = found.frame.height;
    const std::string from = std::filesystem::path(file.path).filename().string();
    d.info.setDescription(
        CodePageText("Made from " + from + ", a Flash movie file (" + std::string(KindWord(file.kind)) + ").",
                     ScreenSaverInfo::kDescriptionSize - 1));

    PackageItemSource item;
    item.record.kind = ShowItem::Flash;
    item.record.displaySeconds = found.showFrames > 1 ? kMultiFrameMovieSeconds : kOneFrameMovieSeconds;
    item.record.transitionEffect = -1;
    item.record.transitionStep = 10;
    item.record.exitEffect = -1;
    item.record.exitStep = 10;
    item.record.fixedPosition = 1;
    item.record.width = found.frame.width;
    item.record.height = found.frame.height;
    item.data = std::move(movie);
    d.items.push_back(std::move(item));
    return d;
}

} // namespace scr
