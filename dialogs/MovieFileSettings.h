#pragma once
// The configuration role of a Flash movie file played as a screen saver (a
// projector, another maker's wrapper, a bare movie): such a file carries no
// settings, so instead of the configuration dialog a message says so.

#include <QString>

namespace scr {

// The message: the file is a Flash movie of kind `kindWord`, played as a
// screen saver, with no settings beyond the music options.
QString MovieFileSettingsText(const QString& name, const QString& kindWord);

// Shows that message in the dialogs' message box, modally.
void ShowMovieFileSettings(const QString& name, const QString& kindWord);

} // namespace scr
