// The push-button painters: plain buttons (framework and bare ones),
// bitmap buttons and speed buttons, all drawn from the skin's Buttons
// image of five frames: 1 normal, 2 pressed, 3 disabled, 4 hot or
// focused, 5 default.
#pragma once

#include "runtime/gui/handles.h"
#include "skin/controls/skin_control_win.h"

namespace skin {

inline constexpr uint8_t kButtonHot = 1;
inline constexpr uint8_t kButtonPressed = 2;

enum TButtonFrame { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfDefault = 5 };

class TSkinButton : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinButton"; }

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  bool MultiLine() const { return multiLine_; }
  // The frame the button shows now.
  int StateFrame() const;

 protected:
  bool HasImage() const { return !Model().Buttons.Image.Empty(); }
  // The off-screen bitmap in the button's size; false when none can be had.
  bool SizeBuffer(const RECT& bounds);
  // The Buttons image in a state over the whole bitmap (selected in dc).
  void DrawBackground(HDC dc, int frame) const;
  void SetHot(bool hot);
  // A release over the pressed button: the click, as the control's own.
  virtual void Clicked();

  gui::UniqueBitmap buffer_;
  SIZE bufferSize_{};

 private:
  void DrawCaption(HDC dc, const RECT& bounds, int frame);
  bool multiLine_ = false;
};

// Bitmap buttons: the Buttons image, then the glyph and the caption laid
// out by the control's Layout, Margin and Spacing.
class TSkinBitButton : public TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  rt::WideString ClassName() const override { return u"TSkinBitButton"; }
  void Draw(HDC dc, const RECT& bounds) override;
};

// Speed buttons: windows of the framework painted whole by the painter,
// flat ones only while the mouse is over them or they are down.
class TSkinSpeedButton : public TSkinBitButton {
 public:
  using TSkinBitButton::TSkinBitButton;
  rt::WideString ClassName() const override { return u"TSkinSpeedButton"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;
};

}  // namespace skin
