// Buttons with a picture. A bit button is a push button that draws its
// face itself (owner-drawn), glyph and caption placed by Layout, and keeps
// the default-button frame of TButton. A speed button is a framework
// window that paints itself as a button and takes no focus; with a
// GroupIndex it stays down, and pressing one of a group (same parent, same
// GroupIndex) lets the others up.
#pragma once

#include <algorithm>

#include "runtime/gui/button.h"
#include "runtime/gui/button_glyph.h"

namespace gui {

class TBitBtn : public TButton, public TGlyphProperties {
 public:
  explicit TBitBtn(rt::TComponent* owner);
  WideString ClassName() const override { return u"TBitBtn"; }

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
};

class TSpeedButton : public TWinControl, public TGlyphProperties {
 public:
  explicit TSpeedButton(rt::TComponent* owner);
  WideString ClassName() const override { return u"TSpeedButton"; }

  bool Down() const { return down_; }
  void SetDown(bool value);
  int32_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t value) { groupIndex_ = std::max(value, 0); }
  // A click on the down button of a group lets it up.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  // No edge until the mouse is over the button.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);

  // Held down by the mouse right now.
  bool Pressed() const { return pressed_; }
  bool MouseInside() const { return mouseInside_; }

  void Click() override;
  void Paint(HDC dc) override;
  void WndProc(TMessage& message) override;

 private:
  void EndTracking();

  bool down_ = false;
  int32_t groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool pressed_ = false;
  bool tracking_ = false;
  bool mouseInside_ = false;
};

}  // namespace gui
