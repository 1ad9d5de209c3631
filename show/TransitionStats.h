#pragma once
// Diagnostics of transition smoothness: when the environment variable
// SCRPLAYER_STATS names a file, one line when a transition starts and one
// when it has finished or was stopped
//   transition-start style=<n>
//   transition style=<n> frames=<progress steps> ms=<duration>
// are appended to it, and one line when the first item is on screen.

#include <chrono>
#include <string>

namespace scr {

class TransitionStats {
public:
    void Start(int style);
    void CountFrame() { ++frames_; }
    // Appends the line of the transition started last; nothing when disabled
    // or when no transition was started.
    void Finish();

    static std::string FormatLine(int style, int frames, long long ms);

    // Appends "first-item ms=<time since the process started>": the first
    // frame of the first item is on screen (start-up speed as the user sees it).
    static void ReportFirstItem();

private:
    bool started_ = false;
    int style_ = 0;
    int frames_ = 0;
    std::chrono::steady_clock::time_point start_;
};

} // namespace scr
