#pragma once
class QWidget;

namespace scr {

// Marks a top-level window as a tool window that gets no task-bar entry
// (the skip-taskbar hint on X11). Call before the window is shown.
void HideTaskbarEntry(QWidget* window);

// Whether windows of this run get a task-bar entry: only a configuration run
// without a parent window keeps one. Set once by the dispatcher.
void SetTaskbarEntryWanted(bool wanted);
bool TaskbarEntryWanted();

} // namespace scr
