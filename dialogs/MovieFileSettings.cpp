#include "dialogs/MovieFileSettings.h"

#include "dialogs/MessageDialog.h"

namespace scr {

QString MovieFileSettingsText(const QString& name, const QString& kindWord) {
    return QStringLiteral("\u201C%1\u201D is a Flash movie (%2) played as a screen saver.\n\n"
                          "It has no settings beyond the music options (random order, repeat, mute), "
                          "and it carries no music of its own for them to change: "
                          "the movie plays with its own sound.")
        .arg(name, kindWord);
}

void ShowMovieFileSettings(const QString& name, const QString& kindWord) {
    ShowMessageForm(MovieFileSettingsText(name, kindWord), QStringLiteral("Screen Saver Settings"),
                    MessageStyle{MessageIcon::Information, MessageButtons::Ok});
}

} // namespace scr
