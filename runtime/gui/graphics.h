// Fonts, pictures and colours of the controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "runtime/bmp.h"
#include "runtime/classes.h"
#include "runtime/colors.h"
#include "runtime/gui/handles.h"

namespace gui {

using rt::TColor;
using rt::WideString;

// The RGB value to draw a colour with: system colours are looked up.
COLORREF ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;  // a set of TFontStyle, one bit each

// Character sets by name: ANSI_CHARSET, DEFAULT_CHARSET ...
rt::TIdentMap CharsetIdents();

// A font as controls hold it. The HFONT is made when first asked for and
// remade after a change; OnChange tells the owner of every change.
class TFont : public rt::TPersistent {
 public:
  TFont() = default;
  WideString ClassName() const override { return u"TFont"; }

  const WideString& Name() const { return name_; }
  void SetName(const WideString& name);
  // Character height in pixels, negative as Windows takes it (-11 is 8
  // points at 96 pixels per inch); a positive value is the cell height.
  int32_t Height() const { return height_; }
  void SetHeight(int32_t height);
  // Points at the screen's resolution.
  int32_t Size() const;
  void SetSize(int32_t points);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  uint8_t Charset() const { return charset_; }
  void SetCharset(uint8_t charset);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);

  HFONT Handle() const;

  void Assign(const rt::TPersistent& source) override;
  bool SameAs(const TFont& other) const;

  std::function<void()> OnChange;

 private:
  void Changed();

  WideString name_ = u"MS Sans Serif";
  int32_t height_ = -11;
  TColor color_ = rt::clWindowText;
  uint8_t charset_ = DEFAULT_CHARSET;
  TFontStyles style_ = 0;
  mutable UniqueFont handle_;
};

// A bitmap held as a 32-bit top-down DIB section, made from BMP data.
class TBitmap {
 public:
  // Raises rt::EInvalidBitmap; an empty span empties the bitmap.
  void LoadFromBmp(std::span<const uint8_t> file);
  void LoadFromImage(const rt::TBmpImage& image);
  void Clear();

  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Handle() const { return handle_.get(); }
  // 0x00RRGGBB of a pixel, rows from the top.
  uint32_t Pixel(int x, int y) const;
  // The colour treated as transparent: that of the bottom-left pixel.
  COLORREF TransparentColor() const;
  // The BMP file it was loaded from, as the stored form holds it.
  const std::vector<uint8_t>& Data() const { return data_; }

  // Draws the bitmap into dest; with transparent, the pixels of
  // TransparentColor are left out.
  void Draw(HDC dc, const RECT& dest, bool transparent) const;

 private:
  UniqueBitmap handle_;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> data_;
};

// The picture of an image control; stored forms give its Bitmap.
class TPicture : public rt::TPersistent {
 public:
  WideString ClassName() const override { return u"TPicture"; }
  TBitmap& Bitmap() { return bitmap_; }
  const TBitmap& Bitmap() const { return bitmap_; }
  void LoadBitmap(std::span<const uint8_t> file);
  void Assign(const rt::TPersistent& source) override;

  std::function<void()> OnChange;

 private:
  TBitmap bitmap_;
};

}  // namespace gui
