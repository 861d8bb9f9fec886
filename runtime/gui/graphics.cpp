#include "runtime/gui/graphics.h"

#include <cmath>
#include <cstring>

namespace gui {

COLORREF ColorToRGB(TColor color) {
  if (rt::IsSystemColor(color)) return GetSysColor(rt::SystemColorIndex(color));
  if (color == rt::clNone || color == rt::clDefault) return GetSysColor(COLOR_WINDOW);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

namespace {

constexpr rt::TIdentMapEntry kCharsets[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"MAC_CHARSET", MAC_CHARSET},
    {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
    {"HANGEUL_CHARSET", HANGEUL_CHARSET},
    {"JOHAB_CHARSET", JOHAB_CHARSET},
    {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
    {"GREEK_CHARSET", GREEK_CHARSET},
    {"TURKISH_CHARSET", TURKISH_CHARSET},
    {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
    {"HEBREW_CHARSET", HEBREW_CHARSET},
    {"ARABIC_CHARSET", ARABIC_CHARSET},
    {"BALTIC_CHARSET", BALTIC_CHARSET},
    {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
    {"THAI_CHARSET", THAI_CHARSET},
    {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
    {"OEM_CHARSET", OEM_CHARSET},
};

int ScreenPixelsPerInch() {
  TWindowDc screen(nullptr);
  return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

}  // namespace

rt::TIdentMap CharsetIdents() { return kCharsets; }

// ---- TFont ----

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

void TFont::SetName(const WideString& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int32_t height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int32_t TFont::Size() const {
  return -static_cast<int32_t>(std::lround(height_ * 72.0 / ScreenPixelsPerInch()));
}

void TFont::SetSize(int32_t points) {
  SetHeight(-static_cast<int32_t>(std::lround(points * ScreenPixelsPerInch() / 72.0)));
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetCharset(uint8_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW font{};
    font.lfHeight = height_;
    font.lfWeight = style_ >> fsBold & 1 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_ >> fsItalic & 1;
    font.lfUnderline = style_ >> fsUnderline & 1;
    font.lfStrikeOut = style_ >> fsStrikeOut & 1;
    font.lfCharSet = charset_;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    const size_t length = std::min<size_t>(name_.size(), LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, name_.data(), length * sizeof(wchar_t));
    handle_.reset(CreateFontIndirectW(&font));
  }
  return handle_.get();
}

bool TFont::SameAs(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && color_ == other.color_ &&
         charset_ == other.charset_ && style_ == other.style_;
}

void TFont::Assign(const rt::TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) return TPersistent::Assign(source);
  if (SameAs(*font)) return;
  name_ = font->name_;
  height_ = font->height_;
  color_ = font->color_;
  charset_ = font->charset_;
  style_ = font->style_;
  Changed();
}

// ---- TBitmap ----

void TBitmap::Clear() {
  handle_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  data_.clear();
}

void TBitmap::LoadFromBmp(std::span<const uint8_t> file) {
  if (file.empty()) return Clear();
  const rt::TBmpImage image = rt::DecodeBmp(file);
  LoadFromImage(image);
  data_.assign(file.begin(), file.end());
}

void TBitmap::LoadFromImage(const rt::TBmpImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.Width;
  info.bmiHeader.biHeight = -image.Height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) throw rt::EInvalidBitmap(u"Impossible de créer le bitmap");
  // Drawn opaque or with a key colour, never blended: the top byte stays
  // 0, as the system expects of a 32-bit bitmap without alpha.
  auto* out = static_cast<uint32_t*>(bits);
  for (size_t i = 0; i < image.Pixels.size(); ++i) out[i] = image.Pixels[i] & 0xFFFFFF;
  GdiFlush();
  handle_ = std::move(bitmap);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = image.Width;
  height_ = image.Height;
  data_.clear();
}

uint32_t TBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] & 0xFFFFFF;
}

COLORREF TBitmap::TransparentColor() const {
  const uint32_t rgb = Pixel(0, height_ - 1);
  return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

void TBitmap::Draw(HDC dc, const RECT& dest, bool transparent) const {
  if (!handle_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  if (!source) return;
  TSelectObject select(source.get(), handle_.get());
  const int width = dest.right - dest.left;
  const int height = dest.bottom - dest.top;
  if (transparent) {
    GdiTransparentBlt(dc, dest.left, dest.top, width, height, source.get(), 0, 0, width_, height_,
                   TransparentColor());
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, width, height, source.get(), 0, 0, width_, height_, SRCCOPY);
  }
}

// ---- TPicture ----

void TPicture::LoadBitmap(std::span<const uint8_t> file) {
  bitmap_.LoadFromBmp(file);
  if (OnChange) OnChange();
}

void TPicture::Assign(const rt::TPersistent& source) {
  const auto* picture = dynamic_cast<const TPicture*>(&source);
  if (!picture) return TPersistent::Assign(source);
  LoadBitmap(picture->bitmap_.Data());
}

}  // namespace gui
