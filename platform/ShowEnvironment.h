#pragma once
// What a run works with that comes from the machine rather than from the
// package: built once where the run begins (RunProgram for the player, each
// `scrtool` command for itself) and handed by constructor to the parts that
// need it, so no part reads the screen, the clock or a generator from a
// global.
//
//   reading   the package reader: the screen its layout is fitted to and
//             the bounds of the pictures it decodes;
//   random    every random choice of the show (orders, random styles and
//             their patterns, random places, the movement's start);
//   clock     every timer of the show (WallClock for the player, a
//             VirtualClock for a rendered show);
//   pixels    how the transitions' pixel loops may use the processor (its
//             vector paths, a second thread).
//
// The generator and the clock are owned by whoever builds the environment
// and outlive everything the environment is handed to.

#include "platform/PixelOptions.h"
#include "platform/RandomSource.h"
#include "platform/ReadingEnvironment.h"
#include "platform/ShowClock.h"

namespace scr {

struct ShowEnvironment {
    ReadingEnvironment reading;
    RandomSource& random;
    ShowClock& clock;
    PixelOptions pixels;
};

} // namespace scr
