// Controls: the common base of everything placed on a form. A control has
// a parent (the windowed control it sits in), bounds in the parent's client
// area, a caption, a colour and a font that can follow the parent's, and a
// replaceable message handler, WindowProc, through which every message for
// it passes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/classes.h"
#include "runtime/colors.h"
#include "runtime/gui/graphics.h"
#include "runtime/gui/messages.h"
#include "runtime/published.h"

namespace gui {

using rt::TColor;
using rt::TNotifyEvent;
using rt::WideString;

class TWinControl;
class TForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public rt::TComponent {
 public:
  explicit TControl(rt::TComponent* owner);
  ~TControl() override;
  WideString ClassName() const override { return u"TControl"; }

  // Starts as the control's own WndProc. Replace it to see every message
  // first; keep the previous value, pass on what you do not swallow, and
  // put it back when you let go.
  TWndMethod WindowProc;
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form the control sits on, or nullptr.
  TForm* ParentForm() const;
  virtual bool IsWindowed() const { return false; }

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int32_t value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int32_t value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int32_t value) { SetBounds(left_, top_, width_, value); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // The area children are placed in, in the control's own coordinates.
  virtual RECT ClientRect() const { return {0, 0, width_, height_}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  // Visible, and so is every parent up to the form.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Caption and Text are the same text.
  virtual WideString Text() const { return text_; }
  void SetText(const WideString& text);
  WideString Caption() const { return Text(); }
  void SetCaption(const WideString& text) { SetText(text); }

  // With ParentColor the parent's colour is used.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  // With ParentFont the font follows the parent's; changing the font
  // switches ParentFont off.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  TNotifyEvent OnClick;
  virtual void Click();

  // A brush of the control's colour, kept until the colour changes.
  HBRUSH ColorBrush();
  // The answer to a reflected WM_CTLCOLOR* message: the DC's text in the
  // font's colour on the control's colour, and the brush of that colour.
  void AnswerControlColors(TMessage& message);

  // Repaints the control: its window, or its part of the parent's.
  virtual void Invalidate();
  // What the parent paints for a non-windowed control, in the control's
  // own coordinates.
  virtual void Paint(HDC) {}

  // The handling of the framework's messages; WindowProc starts here.
  virtual void WndProc(TMessage& message);
  // What happens to a message nobody handled.
  virtual void DefaultHandler(TMessage& message);

 protected:
  // Bounds changed (also by the parent's alignment).
  virtual void BoundsChanged(const RECT& previous);
  virtual void RequestAlign();

  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  WideString text_;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentColor_ = false;
  bool parentFont_ = true;

 private:
  friend class TWinControl;
  void FontChanged();
  void SyncParentFont();

  TWinControl* parent_ = nullptr;
  TAlign align_ = alNone;
  TColor color_ = rt::clBtnFace;
  TFont font_;
  bool syncingFont_ = false;
  bool pressed_ = false;
  UniqueBrush brush_;
  COLORREF brushColor_ = 0;
};

// A control without a window of its own, painted by its parent (labels,
// pictures). Its parent also hands it the mouse messages over its bounds.
class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
  WideString ClassName() const override { return u"TGraphicControl"; }
};

}  // namespace gui
