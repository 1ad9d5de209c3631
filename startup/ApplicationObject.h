#pragma once
// The one Qt application object of the process, created when a mode needs
// windows (never for modes that end without showing anything).

class QApplication;

namespace scr {

// How the windows of the process are measured: in Qt's logical pixels
// (dialogs, which grow with the desktop's scale factor) or in device pixels
// (the show, whose layout and pictures are screen pixels).
enum class WindowPixels { Logical, Device };

void SetApplicationArguments(int argc, char** argv);
// Creates the application object on first call and returns it.
QApplication& InitializeApplication(WindowPixels pixels = WindowPixels::Logical);
// The application object if it exists, else nullptr.
QApplication* ApplicationIfCreated();
// Destroys the application object; the program entry calls it before
// returning, while the rest of the program is still alive.
void ShutdownApplication();

} // namespace scr
