// The skin objects: what the painters read of a skin, built from its
// definition. Each object is one element (a border, a kind of control, a
// caption button) with its image of equal frames side by side, frame 1
// leftmost, and the fixed edges of a frame.
#pragma once

#include <cstdint>
#include <utility>

#include "runtime/colors.h"
#include "runtime/strings.h"
#include "skin/definition/skin_bitmap.h"

namespace skin {

// The fixed edges of a frame: widths of the left and right edges, heights
// of the top and bottom ones. The menu bar keeps its tiling flags in Left
// and Right.
struct TSkinMargins {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  friend bool operator==(const TSkinMargins&, const TSkinMargins&) = default;
};

class TDataSkinObject {
 public:
  explicit TDataSkinObject(rt::WideString name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  TSkinMargins Margins;
  TSkinBitmap Image;
  // Non-zero: magenta pixels are left out when a frame is drawn.
  int32_t Trans = 0;
  // 1: edges and middle tiled, 0: stretched. The window borders keep their
  // Stretch value here instead, with the opposite sense.
  int32_t Tile = 0;
  rt::WideString Name;
  int32_t FrameCount = 0;
  int32_t Style = 0;
  // Integers as the definition gives them, -1 when it does not.
  int32_t NormalColour = 0;
  int32_t MouseOverColour = 0;
  int32_t PressedColour = 0;
  rt::TColor NormalColour2 = 0;
  rt::TColor MouseOverColour2 = 0;
  rt::TColor PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;

  TSkinBitmap SecondImage;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;

  TSkinBitmap CheckImage;
  TSkinBitmap RadioImage;
  int32_t RadioButtonFrame = 0;
  int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;

  int32_t TextAlignment = 0;
  int32_t Textbackground = 0;
  int32_t FontHeight = 0;
  int32_t TXTBackleft = 0;
  int32_t TXTBackRight = 0;
  rt::TColor ActiveTextColour = 0;
  rt::TColor InactiveTextColour = 0;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;

  int32_t Action = 0;
  int32_t Align = 0;
  int32_t Xcoord = 0;
  int32_t Ycoord = 0;
  int32_t CombineOp = 0;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;

  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

}  // namespace skin
