#pragma once
// The tags that let an ActionScript 3 movie report its main timeline's frame
// without changing what the movie does: an empty sprite of a class of our own
// (ABC bytecode in a DoABC tag, the class bound by SymbolClass), placed on the
// root's first frame at a depth the movie never uses. Its constructor keeps
// its parent, the root, and listens to ENTER_FRAME; whenever the root's
// current frame changes it traces "<prefix>hostFrame <frame from 0>", and
// without looping, on the last frame it stops the root and traces
// "<prefix>hostEnd". A root that stops by itself sends nothing more, as with
// the ActionScript 1/2 notices. The class name is random per load and apart
// from the prefix, so a movie that finds the sprite learns nothing that lets
// it send notices of its own.

#include <cstdint>
#include <string_view>
#include <vector>

namespace scr {

struct As3ProbePlace {
    uint16_t character = 0; // an id no tag of the movie uses
    uint16_t depth = 0;     // a depth no tag of the movie places at
};

// The tags (headers included) to insert before the first ShowFrame.
std::vector<uint8_t> As3FrameProbeTags(const As3ProbePlace& place, std::string_view className, bool loop,
                                       std::string_view prefix);

} // namespace scr
