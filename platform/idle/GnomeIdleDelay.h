#pragma once
// GNOME's own idle time, read through GSettings (kept apart from any Qt
// header: GIO's headers use a name Qt defines as a keyword).

namespace scr {

// org.gnome.desktop.session idle-delay in seconds; 0 when the schema is not
// installed or the desktop blanks never.
int GnomeIdleDelay();

} // namespace scr
