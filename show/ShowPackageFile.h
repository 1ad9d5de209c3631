#pragma once
// What a show plays from a file: our own package (PackageShowContent), or a
// Flash movie file shown as a screen saver (MovieShowContent), as the
// recogniser of screen-saver files tells them apart. A file that is neither
// gives the package reader's empty package, which shows nothing.

#include "platform/ReadingEnvironment.h"
#include "show/ShowPackage.h"

#include <memory>
#include <string>

namespace scr {

// `reading` as for PackageShowContent; a movie covers its screen, or the
// primary screen of the running Qt application when it is not known.
std::unique_ptr<ShowPackage> OpenShowPackage(const std::string& path, const ReadingEnvironment& reading);

} // namespace scr
