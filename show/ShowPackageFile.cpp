#include "show/ShowPackageFile.h"

#include "package/ScreenSaverFileRecogniser.h"
#include "platform/gui/QtScreenSize.h"
#include "show/MovieShowContent.h"
#include "show/PackageShowContent.h"

namespace scr {

std::unique_ptr<ShowPackage> OpenShowPackage(const std::string& path, const ReadingEnvironment& reading) {
    RecognisedFile file = RecogniseScreenSaverFile(path);
    if (!file.HasMovie()) return std::make_unique<PackageShowContent>(path, reading);
    const ScreenSize screen = reading.screen.isKnown() ? reading.screen : QtPrimaryScreenSize();
    return std::make_unique<MovieShowContent>(std::move(file), screen);
}

} // namespace scr
