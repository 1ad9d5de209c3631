#pragma once
// The program's own English language tables of the dialogs, as a package
// stores them: for packages whose manifest names none, so that their dialogs
// are complete.

#include "package/PackageManifest.h"

namespace scr {

LanguageTableTexts EnglishLanguageTables();

} // namespace scr
