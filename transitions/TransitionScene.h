#pragma once
// Where the transition player's frame is shown and what lies under it: the
// client area (of whatever shows the player), its colour, a background
// picture and how it fills the area, and how the frame is placed (at the
// top-left or centred, unscaled or stretched). The player draws the scene to
// capture what is shown before a transition; a view paints it. No widgets.

#include "platform/Bitmap24.h"
#include "platform/PixelOptions.h"
#include "transitions/Rect.h"

#include <cstdint>
#include <functional>

namespace scr {

enum class BackgroundMode : uint8_t { None = 0, Tiled = 1, Stretched = 2, Centered = 3 };

struct TransitionScene {
    // The client area's size, asked each time it is needed (a view answers
    // with its current size); 100 x 100 unless told.
    std::function<Rect()> clientArea = [] { return Rect{0, 0, 100, 100}; };
    // Colour of the client area under background and frame, as COLORREF.
    uint32_t color = 0x00000000;
    BackgroundMode backgroundMode = BackgroundMode::Tiled;
    Bitmap24 background;
    // Centre the unscaled frame in the client area.
    bool center = false;
    // Scale the frame to the client area; with stretchFine keeping its aspect ratio.
    bool stretch = false;
    bool stretchFine = false;

    Rect Client() const { return clientArea(); }
    // The frame's unscaled placement in client coordinates (empty without a
    // frame). Centring halves truncate toward zero, so a frame larger than
    // the client area gets negative offsets.
    Rect PictureRect(const Bitmap24& frame) const;
    // The part of the client area in which the frame is shown.
    Rect DisplayRect(const Bitmap24& frame) const;
    // A changed area of the frame (frame coordinates) in client coordinates:
    // scaled through the display rectangle, or moved by the frame's place
    // and cut to it.
    Rect FrameAreaToClient(const Bitmap24& frame, const Rect& area) const;
    bool DrawsBackground() const;
    // A w x h frame drawn where `frame` stands would show, pixel for pixel
    // and whole, what `frame` shows: the frame is then what the scene shows there.
    bool ShowsFrameAsItIs(const Bitmap24& frame, int w, int h) const;
    // Draws colour, background and frame into `buffer` (resized to the
    // client area), inside `area` only.
    void Render(const PixelOptions& options, Bitmap24& buffer, const Rect& area, const Bitmap24& frame) const;
};

} // namespace scr
