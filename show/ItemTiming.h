#pragma once
// How long an item stays on screen, and whether a playing movie holds the
// next item back.

namespace scr {

// Kinds of show items.
enum class ItemKind { Picture = 0, Flash = 1 };

// The item timer's interval after an item has been shown. A movie with a
// negative time -n stays exactly n seconds; every other item stays its own
// time, else the package's default, else 1 second.
int ItemIntervalMs(int kind, int displaySeconds, int defaultDisplaySeconds);

// What the sequencer can see of the current item's movie.
struct MovieProgress {
    bool exists = false; // the current item has a Flash host
    int totalFrames = 0;
    int frameNum = 0;
    bool playing = false;
};

// True when the next item may come: always, unless the current item is a
// movie of more than one frame that is waited for (its time is not
// negative) and is neither on its last frame nor stopped.
bool ItemIsFinished(int displaySeconds, const MovieProgress& movie);

// The interval at which a movie that holds the next item back is tested again.
constexpr int kMovieRetestMs = 1000;

} // namespace scr
