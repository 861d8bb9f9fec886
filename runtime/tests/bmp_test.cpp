#include "runtime/bmp.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/strings.h"
#include "runtime/tests/test_bmp_builder.h"

namespace rt {
namespace {

using testbmp::BmpLayout;
using testbmp::MakeBmp;

std::string DecodeError(const std::vector<uint8_t>& file) {
  try {
    DecodeBmp(file);
  } catch (const EInvalidBitmap& e) {
    return WideToUtf8(e.Message());
  }
  return "decoded";
}

TEST(Bmp, TwentyFourBitsBottomUpWithRowPadding) {
  // 3 x 2: each row is 9 bytes of BGR padded to 12; the bottom row first.
  BmpLayout s{.width = 3, .height = 2};
  s.pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,          // bottom: red green blue
              255, 255, 255, 0, 0, 0, 0x9C, 0xD7, 0xF3, 0, 0, 0};  // top: white black RGB(243,215,156)
  const TBmpImage image = DecodeBmp(MakeBmp(s));
  ASSERT_EQ(image.Width, 3);
  ASSERT_EQ(image.Height, 2);
  EXPECT_FALSE(image.HasAlpha);
  EXPECT_EQ(image.Pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.Rgb(1, 0), 0x000000u);
  EXPECT_EQ(image.Rgb(2, 0), 0xF3D79Cu);
  EXPECT_EQ(image.Rgb(0, 1), 0xFF0000u);
  EXPECT_EQ(image.Rgb(1, 1), 0x00FF00u);
  EXPECT_EQ(image.Rgb(2, 1), 0x0000FFu);
}

TEST(Bmp, ThirtyTwoBitBitFieldsTopDown) {
  // Masks in an unusual order: red in the low byte, alpha at the top.
  BmpLayout s{.headerSize = 56, .width = 2, .height = -1, .bitCount = 32, .compression = 3};
  s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  s.pixels = {0x11, 0x22, 0x33, 0x80, 0xFF, 0, 0, 0xFF};
  const TBmpImage image = DecodeBmp(MakeBmp(s));
  EXPECT_TRUE(image.HasAlpha);
  EXPECT_EQ(image.Pixel(0, 0), 0x80112233u);
  EXPECT_EQ(image.Pixel(1, 0), 0xFFFF0000u);

  // The same layout as the side picture of the installer: a 40-byte
  // header, then three masks, no alpha.
  BmpLayout plain{.width = 1, .height = 1, .bitCount = 32, .compression = 3};
  plain.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  plain.pixels = {0x9C, 0xD7, 0xF3, 0x00};
  const TBmpImage side = DecodeBmp(MakeBmp(plain));
  EXPECT_FALSE(side.HasAlpha);
  EXPECT_EQ(side.Pixel(0, 0), 0xFFF3D79Cu);
}

TEST(Bmp, NarrowChannelsRepeatTheirBits) {
  // 16 bits 5-6-5 and the default 5-5-5: full channels give 255.
  BmpLayout s{.width = 2, .height = 1, .bitCount = 16, .compression = 3};
  s.masks = {0xF800, 0x07E0, 0x001F};
  s.pixels = {0xFF, 0xFF, 0x1F, 0x00};  // white, then blue 31
  TBmpImage image = DecodeBmp(MakeBmp(s));
  EXPECT_EQ(image.Rgb(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image.Rgb(1, 0), 0x0000FFu);

  BmpLayout rgb555{.width = 1, .height = 1, .bitCount = 16};
  rgb555.pixels = {0x1E, 0x00, 0, 0};  // blue 30: 11110 -> 11110111
  EXPECT_EQ(DecodeBmp(MakeBmp(rgb555)).Rgb(0, 0), 0x0000F7u);
}

TEST(Bmp, PalettesOfOneFourAndEightBits) {
  BmpLayout mono{.width = 10, .height = 1, .bitCount = 1, .palette = {0x000000, 0xFFFFFF}};
  mono.pixels = {0b10100000, 0b01000000, 0, 0};
  TBmpImage image = DecodeBmp(MakeBmp(mono));
  EXPECT_EQ(image.Rgb(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image.Rgb(1, 0), 0x000000u);
  EXPECT_EQ(image.Rgb(2, 0), 0xFFFFFFu);
  EXPECT_EQ(image.Rgb(9, 0), 0xFFFFFFu);

  BmpLayout nibbles{.width = 3, .height = 1, .bitCount = 4, .colorsUsed = 2,
                  .palette = {0x102030, 0x405060}};
  nibbles.pixels = {0x01, 0x50, 0, 0};  // index 5 is past the palette: black
  image = DecodeBmp(MakeBmp(nibbles));
  EXPECT_EQ(image.Rgb(0, 0), 0x102030u);
  EXPECT_EQ(image.Rgb(1, 0), 0x405060u);
  EXPECT_EQ(image.Rgb(2, 0), 0x000000u);

  BmpLayout bytes{.width = 1, .height = 1, .bitCount = 8, .colorsUsed = 1, .palette = {0xABCDEF}};
  bytes.pixels = {0, 0, 0, 0};
  EXPECT_EQ(DecodeBmp(MakeBmp(bytes)).Rgb(0, 0), 0xABCDEFu);
}

TEST(Bmp, PackedDibWithoutFileHeader) {
  BmpLayout s{.width = 1, .height = 1};
  s.pixels = {1, 2, 3, 0};
  const auto file = MakeBmp(s);
  const TBmpImage image = DecodeDib(std::span<const uint8_t>(file).subspan(14));
  EXPECT_EQ(image.Rgb(0, 0), 0x030201u);
}

TEST(Bmp, TheLastRowMayLackItsPadding) {
  BmpLayout s{.width = 1, .height = 2};
  s.pixels = {1, 2, 3, 0, 4, 5, 6};  // 4 + 3 bytes
  EXPECT_EQ(DecodeBmp(MakeBmp(s)).Rgb(0, 0), 0x060504u);
}

TEST(Bmp, MalformedFilesAreRefusedWithTheNumbers) {
  const auto base = [] {
    BmpLayout s{.width = 2, .height = 2};
    s.pixels.assign(16, 0);
    return s;
  };
  struct Case {
    const char* what;
    std::function<void(BmpLayout&)> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"truncated pixels", [](BmpLayout& s) { s.pixels.resize(13); },
       "Pixels de bitmap tronqués : 14 octets nécessaires, 13 présents"},
      {"pixels past the end", [](BmpLayout& s) { s.offsetAdjust = 1000; }, "Position des pixels 1054 invalide"},
      {"pixels inside the header", [](BmpLayout& s) { s.offsetAdjust = -4; }, "Position des pixels 50 invalide"},
      {"zero width", [](BmpLayout& s) { s.width = 0; }, "Dimensions de bitmap 0 x 2 invalides"},
      {"negative width", [](BmpLayout& s) { s.width = -2; }, "Dimensions de bitmap -2 x 2 invalides"},
      {"most negative height", [](BmpLayout& s) { s.height = INT32_MIN; },
       "Dimensions de bitmap 2 x -2147483648 invalides"},
      {"too many pixels", [](BmpLayout& s) { s.width = 30000, s.height = 30000; },
       "Bitmap de 30000 x 30000 pixels trop grand"},
      {"run-length compression", [](BmpLayout& s) { s.compression = 1; }, "Compression 1 non prise en charge"},
      {"bit fields on 24 bits", [](BmpLayout& s) { s.compression = 3; }, "Compression 3 non prise en charge"},
      {"two planes", [](BmpLayout& s) { s.planes = 2; }, "Nombre de plans 2 invalide"},
      {"two bits per pixel", [](BmpLayout& s) { s.bitCount = 2; }, "Profondeur 2 bits non prise en charge"},
      {"unknown header", [](BmpLayout& s) { s.headerSize = 44; }, "Taille d'en-tête de bitmap 44 inconnue"},
      {"huge palette", [](BmpLayout& s) { s.bitCount = 8, s.colorsUsed = 300; }, "Palette de 300 couleurs trop grande"},
      {"missing palette", [](BmpLayout& s) { s.bitCount = 8, s.pixels.resize(2); }, "Palette de bitmap tronquée"},
      {"scattered mask",
       [](BmpLayout& s) { s.bitCount = 32, s.compression = 3, s.masks = {0xF0F00000, 0xFF00, 0xFF}; },
       "Masque de couleur 0xF0F00000 non contigu"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BmpLayout s = base();
    c.spoil(s);
    EXPECT_EQ(DecodeError(MakeBmp(s)), c.message);
  }
  EXPECT_EQ(DecodeError({'B', 'M', 0}), "Fichier bitmap tronqué");
  EXPECT_EQ(DecodeError(std::vector<uint8_t>(64, 'x')), "Ce n'est pas un fichier bitmap");
  auto file = MakeBmp(base());
  file.resize(30);
  EXPECT_EQ(DecodeError(file), "En-tête de bitmap tronqué");
}

}  // namespace
}  // namespace rt
