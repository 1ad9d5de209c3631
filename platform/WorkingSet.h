#pragma once

namespace scr {

// Hands memory the process no longer uses back to the system. Called before
// each modal form and after each item and track, so a long-running show keeps
// a small footprint.
void TrimWorkingSet();

} // namespace scr
