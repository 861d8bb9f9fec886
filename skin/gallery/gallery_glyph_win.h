// The picture of the gallery's bit button, drawn in code.
#pragma once

#include <cstdint>
#include <vector>

namespace gallery {

// A BMP file of two 16 x 16 frames side by side, the up and the disabled
// face of a glyph, on a background of the colour buttons leave out.
std::vector<uint8_t> DrawTwoFrameGlyph();

}  // namespace gallery
