#include "show/MovieShowContent.h"

#include "package/MoviePackage.h"
#include "package/ScreenSaverFileRecogniser.h"

#include <filesystem>

namespace scr {

namespace fs = std::filesystem;

MovieShowContent::MovieShowContent(RecognisedFile file, ScreenSize screen)
    : file_(std::move(file)), screen_(screen), name_(MovieScreenSaverName(file_.path)) {}

ShowItem MovieShowContent::GetItem(int) const {
    ShowItem item{};
    item.kind = ShowItem::Flash;
    // A fixed time (not waiting for the movie's end, which a looping movie never reaches).
    item.displaySeconds = -kItemSeconds;
    item.transitionEffect = -2;
    item.exitEffect = -2;
    item.transitionStep = 10;
    item.exitStep = 10;
    item.fixedPosition = 1;
    item.width = screen_.width;
    item.height = screen_.height;
    return item;
}

std::optional<std::vector<uint8_t>> MovieShowContent::ReadMovie(int index) {
    if (index != 0) return std::nullopt;
    return ReadFoundMovie(file_);
}

std::string MovieShowContent::MovieFolder(int index) const {
    if (index != 0 || file_.movieFile.empty()) return {};
    std::error_code ec;
    const fs::path movie = fs::absolute(file_.movieFile, ec);
    return ec ? std::string() : movie.parent_path().string();
}

} // namespace scr
