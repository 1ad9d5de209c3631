#pragma once
// Flash movies made for the tests: a square moving across the stage, one
// position per frame (header, FileAttributes, SetBackgroundColor,
// DefineShape, PlaceObject2 and ShowFrame per frame, End).

#include "show/SwfContainer.h"

#include <cstdint>
#include <vector>

namespace scr::test {

struct TestMovieOptions {
    int frames = 24;
    double fps = 12;
    int width = 320, height = 240;
    uint8_t version = 8;
    bool actionScript3 = false;
    SwfCompression compression = SwfCompression::None;
};

// The body (everything after the 8-byte header) of the movie.
std::vector<uint8_t> TestMovieBody(const TestMovieOptions& options);
// The whole movie file.
std::vector<uint8_t> TestMovie(const TestMovieOptions& options = {});

} // namespace scr::test
