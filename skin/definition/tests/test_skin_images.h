// A stand-in for the skin archive in tests: a value such as
// "Images\left_10x65.bmp" loads a 10 x 65 image whose pixel (x, y) is red x,
// green y, blue 7; a value without such a size loads nothing. Every value
// asked for is recorded.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/strings.h"
#include "skin/definition/skin_model.h"

namespace skin::testimages {

inline TSkinBitmap SizedImage(int32_t width, int32_t height) {
  TSkinBitmap bitmap(width, height);
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      bitmap.SetPixel(x, y, static_cast<uint32_t>(x & 0xFF) | static_cast<uint32_t>(y & 0xFF) << 8 | 0x070000);
  return bitmap;
}

struct FakeImages {
  std::vector<rt::WideString> asked;

  TBitmapLoader Loader() {
    return [this](const rt::WideString& value) {
      asked.push_back(value);
      const std::string text = rt::WideToUtf8(value);
      const size_t underscore = text.rfind('_');
      int width = 0, height = 0;
      if (underscore == std::string::npos ||
          std::sscanf(text.c_str() + underscore + 1, "%dx%d.bmp", &width, &height) != 2)
        return TSkinBitmap();
      return SizedImage(width, height);
    };
  }
};

}  // namespace skin::testimages
