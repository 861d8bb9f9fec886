// Panels: windowed containers painted in their colour, with optional
// bevels and a centred caption. Non-windowed children (labels, pictures)
// are painted over the background in creation order.
#pragma once

#include "runtime/gui/win_control.h"

namespace gui {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
 public:
  explicit TPanel(rt::TComponent* owner);
  WideString ClassName() const override { return u"TPanel"; }

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t value);
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t value);

  // Aligned children stay inside the bevels and the border.
  RECT ClientRect() const override;
  void Paint(HDC dc) override;

 private:
  void BevelsChanged();
  int32_t FrameWidth() const;

  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int32_t bevelWidth_ = 1;
  int32_t borderWidth_ = 0;
};

}  // namespace gui
