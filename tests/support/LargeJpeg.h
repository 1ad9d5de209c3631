#pragma once
// JPEG pictures of any size for tests, encoded row by row from one row of a
// single colour, so that a 30000 x 30000 picture costs a few kilobytes of
// memory and a small file.

#include <cstdint>
#include <vector>

namespace scr::test {

// A baseline JPEG of width x height filled with one colour (COLORREF: red in
// the lowest byte); quality 50. Empty when the library refuses the size.
std::vector<uint8_t> MakeUniformJpeg(int width, int height, uint32_t colorRef);

} // namespace scr::test
