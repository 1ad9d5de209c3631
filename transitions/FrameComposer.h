#pragma once
// Composing one frame of a picture transition (the control's UpdateDisplay
// without the widget): the frame starts as the old picture, the style lays
// the part of the new picture that the progress calls for over it, and every
// changed area is reported.
//
// Order of one frame:
//  1. the old picture is drawn over the whole frame; `beforeNewFrame` runs;
//  2. a style above 127 stops here (nothing is reported as changed);
//  3. the style's own work: rectangle styles copy their earlier pieces (also
//     at p = 0 and 100) and report them; region styles build their region;
//     pixel styles write the frame; style 0 calls `customDraw`, or without
//     one draws the new picture and jumps to p = 100 (an instant cut);
//  4. the frame is finished: at p = 100 the whole new picture; at p = 0
//     nothing more; otherwise the rectangle styles' last piece, or the new
//     picture through the region (nothing without one);
//  5. the last piece's destination (the whole frame for the other kinds) is
//     reported as changed.
//
// Given a FrameMemory, the composer remembers what it wrote, and the next
// frame of the same two pictures redraws only that: the old picture is put
// back where the last frame differed from it (step 1 then covers less than
// the whole frame), and a region style draws and reports only where its
// region grew or shrank. The frames come out the same as without a memory.
// Without a `beforeNewFrame` hook, the pixel styles (which write every pixel)
// draw step 1's old picture in the same pass as their own work.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "platform/RandomSource.h"
#include "transitions/Rect.h"
#include "transitions/Region.h"
#include "transitions/RowSpans.h"

#include <functional>

namespace scr {

struct FrameInput {
    const Bitmap24& oldPicture;
    const Bitmap24& newPicture; // W x H; the frame and the old picture have the same size
    int progress = 0;           // 0..100
    int step = 4;               // 1..100
    int style = 51;             // 0..127; anything above composes the old picture only
    PixelOptions pixels;        // how the pixel loops may use the processor
};

struct FrameHooks {
    std::function<void()> beforeNewFrame;
    // Style 0's handler: draws the frame itself (the frame holds the old picture).
    std::function<void()> customDraw;
    // Each changed area of the frame, in frame coordinates.
    std::function<void(const Rect&)> invalidate;
};

struct FrameResult {
    bool composed = false;   // false for a style above 127
    bool reachedEnd = false; // style 0 without a handler jumped to p = 100
    Rect changed;            // the last area reported
};

// What the composer wrote into a frame, for the next frame of the same two
// pictures. Whoever draws on the frame otherwise, or changes a picture,
// calls forget().
struct FrameMemory {
    bool valid = false;
    Rect touched;              // the frame equals the old picture outside this rectangle
    RowSpans touchedRows;      // when one per frame row: and outside these spans of each row
    bool newAreaKnown = false; // the frame shows the new picture exactly in newArea
    Region newArea;

    void forget() { valid = false; }
    // The frame holds the old picture and nothing else.
    void holdsOldPicture() {
        valid = true;
        touched = {};
        touchedRows.clear();
        newAreaKnown = true;
        newArea = Region();
    }
};

FrameResult ComposeFrame(Bitmap24& frame, const FrameInput& input, RandomSource& random,
                         const FrameHooks& hooks, FrameMemory* memory = nullptr);

} // namespace scr
