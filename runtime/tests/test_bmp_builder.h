// Writes BMP files field by field for tests, so that a test can spoil
// any of the fields.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/byte_order.h"

namespace rt::testbmp {

struct BmpLayout {
  uint32_t headerSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;     // after a 40-byte header, or inside a larger one
  std::vector<uint32_t> palette;   // 0x00RRGGBB
  std::vector<uint8_t> pixels;     // rows as stored, padding included
  int64_t offsetAdjust = 0;        // added to the computed pixel offset
};

inline std::vector<uint8_t> MakeBmp(const BmpLayout& s) {
  std::vector<uint8_t> info;
  AppendU32(info, s.headerSize);
  AppendU32(info, static_cast<uint32_t>(s.width));
  AppendU32(info, static_cast<uint32_t>(s.height));
  AppendU16(info, s.planes);
  AppendU16(info, s.bitCount);
  AppendU32(info, s.compression);
  AppendU32(info, static_cast<uint32_t>(s.pixels.size()));
  AppendU32(info, 2835);
  AppendU32(info, 2835);
  AppendU32(info, s.colorsUsed);
  AppendU32(info, 0);
  for (uint32_t m : s.masks) AppendU32(info, m);
  while (info.size() < s.headerSize) info.push_back(0);
  for (uint32_t c : s.palette) AppendU32(info, c);

  std::vector<uint8_t> file = {'B', 'M'};
  const auto offset = static_cast<uint32_t>(14 + info.size() + s.offsetAdjust);
  AppendU32(file, static_cast<uint32_t>(14 + info.size() + s.pixels.size()));
  AppendU32(file, 0);
  AppendU32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

}  // namespace rt::testbmp
