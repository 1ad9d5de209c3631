#pragma once
// The pictures on the configuration dialog's buttons, drawn in the dialogs'
// style: the music player's four tool-bar images (32 x 32: play, pause,
// stop, save), the small images of the picture commands and the note
// beside the track selector.

#include <QIcon>

namespace scr {

enum class DialogGlyph { Play, Pause, Stop, Save, SaveAll, Wallpaper, Note };

// The glyph at the given size, with a greyed picture for the disabled state.
QIcon DialogGlyphIcon(DialogGlyph glyph, int size);

} // namespace scr
