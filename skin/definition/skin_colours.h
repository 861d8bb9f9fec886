// Colour values of skin definitions: up to three decimal numbers, red,
// green and blue, separated by anything that is not a digit.
#pragma once

#include "runtime/colors.h"
#include "runtime/strings.h"
#include "skin/definition/quick_ini.h"

namespace skin {

// "55 82 116" is RGB 55, 82, 116; a single number is black; of two numbers
// only the first counts; numbers after the third are ignored. Each number
// contributes its low 8 bits.
rt::TColor ParseColour(rt::WideStringView text);

// ParseColour of the key's value, or defaultColour when it is absent or empty.
rt::TColor ReadColour(const TQuickIni& ini, rt::WideStringView section, rt::WideStringView key,
                      rt::TColor defaultColour);

// Sets colour from the integers <prefix>R, <prefix>G and <prefix>B, and
// only when all three are given and none is negative.
void ReadRGBKeys(const TQuickIni& ini, rt::WideStringView section, rt::WideStringView prefix,
                 rt::TColor& colour);

}  // namespace skin
