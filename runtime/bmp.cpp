#include "runtime/bmp.h"

#include <bit>
#include <cstdlib>

#include "runtime/byte_reader.h"
#include "runtime/format.h"

namespace rt {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr uint32_t kBiAlphaBitFields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;

[[noreturn]] void Fail(WideStringView message) { throw EInvalidBitmap(WideString(message)); }

// One colour channel of a bit-field mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel Of(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (!mask) return c;
    c.shift = std::countr_zero(mask);
    const uint32_t field = mask >> c.shift;
    if (field & (field + 1)) Fail(Format(u"Masque de couleur 0x%X non contigu", {mask}));
    c.bits = std::popcount(mask);
    return c;
  }

  // The channel as 8 bits. Narrower fields repeat their bits downwards,
  // as the system's own conversion does, so that white stays 255.
  uint32_t Extract(uint32_t pixel) const {
    if (!bits) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    uint32_t out = 0;
    for (int pos = 8 - bits;; pos -= bits) {
      out |= pos >= 0 ? v << pos : v >> -pos;
      if (pos <= 0) break;
    }
    return out & 0xFF;
  }
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top first
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  size_t paletteEntrySize = 4;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  bool hasMasks = false;
  size_t headerBytes = 0;  // the info header and any masks that follow it
};

Header ReadHeader(TByteReader& in) {
  Header h;
  const uint32_t size = in.U32();
  if (in.Failed()) Fail(u"En-tête de bitmap tronqué");
  if (size == kCoreHeaderSize) {
    h.width = in.U16();
    h.height = in.U16();
    const uint16_t planes = in.U16();
    h.bitCount = in.U16();
    h.paletteEntrySize = 3;
    h.headerBytes = kCoreHeaderSize;
    if (in.Failed()) Fail(u"En-tête de bitmap tronqué");
    if (planes != 1) Fail(Format(u"Nombre de plans %d invalide", {planes}));
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24)
      Fail(Format(u"Profondeur %d bits non prise en charge", {h.bitCount}));
    return h;
  }
  if (size != 40 && size != 52 && size != 56 && size != 108 && size != 124)
    Fail(Format(u"Taille d'en-tête de bitmap %u inconnue", {size}));
  h.width = static_cast<int32_t>(in.U32());
  h.height = static_cast<int32_t>(in.U32());
  const uint16_t planes = in.U16();
  h.bitCount = in.U16();
  h.compression = in.U32();
  in.U32();  // image size: recomputed from the dimensions
  in.U32();  // resolution
  in.U32();
  h.colorsUsed = in.U32();
  in.U32();  // important colours
  size_t maskCount = 0;
  if (size >= 52) {
    maskCount = size >= 56 ? 4 : 3;
  } else if (h.compression == kBiBitFields) {
    maskCount = 3;  // they follow the 40-byte header
  } else if (h.compression == kBiAlphaBitFields) {
    maskCount = 4;
  }
  for (size_t i = 0; i < maskCount; ++i) h.masks[i] = in.U32();
  h.headerBytes = size + (size == 40 ? 4 * maskCount : 0);
  if (in.Failed()) Fail(u"En-tête de bitmap tronqué");
  if (planes != 1) Fail(Format(u"Nombre de plans %d invalide", {planes}));
  switch (h.bitCount) {
    case 1: case 4: case 8: case 24:
      if (h.compression != kBiRgb) Fail(Format(u"Compression %u non prise en charge", {h.compression}));
      break;
    case 16: case 32:
      if (h.compression != kBiRgb && h.compression != kBiBitFields &&
          h.compression != kBiAlphaBitFields)
        Fail(Format(u"Compression %u non prise en charge", {h.compression}));
      h.hasMasks = h.compression != kBiRgb;
      break;
    default:
      Fail(Format(u"Profondeur %d bits non prise en charge", {h.bitCount}));
  }
  if (!h.hasMasks) h.masks[3] = 0;
  return h;
}

std::vector<uint32_t> ReadPalette(TByteReader& in, const Header& h) {
  std::vector<uint32_t> palette;
  if (h.bitCount > 8) {
    // Optional palette of a true-colour bitmap: only skipped.
    if (h.colorsUsed > 256) Fail(Format(u"Palette de %u couleurs trop grande", {h.colorsUsed}));
    in.Bytes(h.colorsUsed * h.paletteEntrySize);
    return palette;
  }
  const uint32_t full = 1u << h.bitCount;
  const uint32_t count = h.colorsUsed ? h.colorsUsed : full;
  if (count > 256) Fail(Format(u"Palette de %u couleurs trop grande", {count}));
  for (uint32_t i = 0; i < count; ++i) {
    const auto entry = in.Bytes(h.paletteEntrySize);
    if (entry.empty()) Fail(u"Palette de bitmap tronquée");
    palette.push_back(0xFF000000u | uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0]);
  }
  return palette;
}

TBmpImage DecodePixels(std::span<const uint8_t> bits, const Header& h,
                       const std::vector<uint32_t>& palette) {
  if (h.width <= 0 || h.height == 0 || h.width > kBmpMaxSide || std::llabs(h.height) > kBmpMaxSide)
    Fail(Format(u"Dimensions de bitmap %d x %d invalides", {h.width, h.height}));
  const int64_t rows = std::llabs(h.height);
  if (h.width * rows > kBmpMaxPixels)
    Fail(Format(u"Bitmap de %d x %d pixels trop grand", {h.width, rows}));
  const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * h.bitCount + 7) / 8;
  const uint64_t stride = (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
  // The padding of the last row is often left out.
  const uint64_t needed = stride * static_cast<uint64_t>(rows - 1) + rowBytes;
  if (needed > bits.size())
    Fail(Format(u"Pixels de bitmap tronqués : %d octets nécessaires, %d présents",
                {static_cast<int64_t>(needed), static_cast<int64_t>(bits.size())}));

  uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  if (!h.hasMasks) {
    if (h.bitCount == 16) {
      masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
  }
  const Channel red = Channel::Of(masks[0]), green = Channel::Of(masks[1]),
                blue = Channel::Of(masks[2]), alpha = Channel::Of(masks[3]);

  TBmpImage image;
  image.Width = static_cast<int32_t>(h.width);
  image.Height = static_cast<int32_t>(rows);
  image.HasAlpha = alpha.mask != 0;
  image.Pixels.resize(static_cast<size_t>(h.width * rows));
  for (int64_t y = 0; y < rows; ++y) {
    const int64_t sourceRow = h.height > 0 ? rows - 1 - y : y;
    const uint8_t* row = bits.data() + stride * static_cast<uint64_t>(sourceRow);
    uint32_t* out = image.Pixels.data() + y * h.width;
    for (int64_t x = 0; x < h.width; ++x) {
      uint32_t pixel;
      switch (h.bitCount) {
        case 1: case 4: case 8: {
          const int64_t bit = x * h.bitCount;
          const int shift = 8 - h.bitCount - static_cast<int>(bit % 8);
          const uint32_t index = (row[bit / 8] >> shift) & ((1u << h.bitCount) - 1);
          // Indices past the palette are black, as the system draws them.
          pixel = index < palette.size() ? palette[index] : 0xFF000000u;
          break;
        }
        case 24: {
          const uint8_t* p = row + x * 3;
          pixel = 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
          break;
        }
        default: {
          const uint8_t* p = row + x * (h.bitCount / 8);
          const uint32_t raw = h.bitCount == 16
                                   ? uint32_t{p[0]} | uint32_t{p[1]} << 8
                                   : uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                                         uint32_t{p[3]} << 24;
          const uint32_t a = image.HasAlpha ? alpha.Extract(raw) : 0xFF;
          pixel = a << 24 | red.Extract(raw) << 16 | green.Extract(raw) << 8 | blue.Extract(raw);
          break;
        }
      }
      out[x] = pixel;
    }
  }
  return image;
}

}  // namespace

TBmpImage DecodeDib(std::span<const uint8_t> dib) {
  TByteReader in(dib);
  const Header h = ReadHeader(in);
  if (h.headerBytes > dib.size()) Fail(u"En-tête de bitmap tronqué");
  TByteReader afterHeader(dib.subspan(h.headerBytes));
  const auto palette = ReadPalette(afterHeader, h);
  if (afterHeader.Failed()) Fail(u"Palette de bitmap tronquée");
  return DecodePixels(dib.subspan(h.headerBytes + afterHeader.Offset()), h, palette);
}

TBmpImage DecodeBmp(std::span<const uint8_t> file) {
  TByteReader in(file);
  const uint16_t magic = in.U16();
  in.U32();  // file size: not trusted
  in.U32();  // reserved
  const uint32_t bitsOffset = in.U32();
  if (in.Failed()) Fail(u"Fichier bitmap tronqué");
  if (magic != 0x4D42) Fail(u"Ce n'est pas un fichier bitmap");
  const auto dib = file.subspan(kFileHeaderSize);
  TByteReader headerIn(dib);
  const Header h = ReadHeader(headerIn);
  if (h.headerBytes > dib.size()) Fail(u"En-tête de bitmap tronqué");
  TByteReader paletteIn(dib.subspan(h.headerBytes));
  const auto palette = ReadPalette(paletteIn, h);
  if (paletteIn.Failed()) Fail(u"Palette de bitmap tronquée");
  if (bitsOffset < kFileHeaderSize + h.headerBytes || bitsOffset > file.size())
    Fail(Format(u"Position des pixels %u invalide", {bitsOffset}));
  return DecodePixels(file.subspan(bitsOffset), h, palette);
}

}  // namespace rt
