// Colours as the controls and the stored forms hold them: an RGB value
// (red in the low byte, as a Windows COLORREF) or, with the high bit set,
// the index of a system colour that is looked up when drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace rt {

using TColor = int32_t;

constexpr TColor RGBColor(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<TColor>(red | green << 8 | blue << 16);
}

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | index); }
constexpr bool IsSystemColor(TColor color) { return color < 0; }
constexpr int SystemColorIndex(TColor color) { return color & 0xFF; }

inline constexpr TColor clBlack = RGBColor(0, 0, 0);
inline constexpr TColor clMaroon = RGBColor(128, 0, 0);
inline constexpr TColor clGreen = RGBColor(0, 128, 0);
inline constexpr TColor clOlive = RGBColor(128, 128, 0);
inline constexpr TColor clNavy = RGBColor(0, 0, 128);
inline constexpr TColor clPurple = RGBColor(128, 0, 128);
inline constexpr TColor clTeal = RGBColor(0, 128, 128);
inline constexpr TColor clGray = RGBColor(128, 128, 128);
inline constexpr TColor clSilver = RGBColor(192, 192, 192);
inline constexpr TColor clRed = RGBColor(255, 0, 0);
inline constexpr TColor clLime = RGBColor(0, 255, 0);
inline constexpr TColor clYellow = RGBColor(255, 255, 0);
inline constexpr TColor clBlue = RGBColor(0, 0, 255);
inline constexpr TColor clFuchsia = RGBColor(255, 0, 255);
inline constexpr TColor clAqua = RGBColor(0, 255, 255);
inline constexpr TColor clWhite = RGBColor(255, 255, 255);
// "No colour" and "whatever the control would use by itself".
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The system colours, by their Windows index.
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);
inline constexpr TColor clHotLight = SystemColor(26);
inline constexpr TColor clGradientActiveCaption = SystemColor(27);
inline constexpr TColor clGradientInactiveCaption = SystemColor(28);
inline constexpr TColor clMenuHighlight = SystemColor(29);
inline constexpr TColor clMenuBar = SystemColor(30);

// An identifier with its value: colour names, character-set names.
struct TIdentMapEntry {
  std::string_view Name;
  int64_t Value;
};
using TIdentMap = std::span<const TIdentMapEntry>;

// Every colour name above.
TIdentMap ColorIdents();

// Lookups in a map; names compare without regard to ASCII case.
std::optional<int64_t> IdentToValue(TIdentMap map, std::string_view name);
std::optional<std::string_view> ValueToIdent(TIdentMap map, int64_t value);

}  // namespace rt
