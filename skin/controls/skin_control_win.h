// TSkinControl: the base of the control painters. A painter stands in
// front of one control's message handling (a framework control's
// WindowProc, or a bare window's procedure), lets the control handle each
// message as usual and then paints the skin over it; some kinds paint the
// whole control themselves.
#pragma once

#include <windows.h>

#include <memory>

#include "runtime/classes.h"
#include "runtime/gui/control.h"
#include "runtime/gui/window_subclass.h"
#include "skin/data/skin_data_win.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/windows/control_skinning_link_win.h"
#include "skin/windows/form_frame_win.h"

namespace skin {


enum TControlPhase { cpNone = 0, cpAttached = 1, cpUnskinned = 2, cpDestroyed = 6 };

class TSkinControl : public rt::TComponent, public TSkinControlPainter {
 public:
  // The owner is the framework control painted, or the frame skinner for
  // a bare window.
  explicit TSkinControl(rt::TComponent* owner);
  ~TSkinControl() override;
  rt::WideString ClassName() const override { return u"TSkinControl"; }

  // For a framework control, the painter's owner. Runs once.
  virtual void AttachControl(TSkinFormFrame* skinForm, TSkinData* data, bool recolour);
  // For a window of its own (also the edit window of a framework edit).
  virtual void AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm);
  // Base: gives the control its saved colour back.
  void Unskin() override;
  // True lets the control handle the message, then AfterMessage follows.
  virtual bool BeforeMessage(gui::TMessage& message);
  virtual void AfterMessage(gui::TMessage& message);
  // Draws over the window (its window DC when dc is none).
  virtual void PaintWindow(HDC dc);
  // The painting itself, in window coordinates (0, 0, width, height).
  virtual void Draw(HDC dc, const RECT& bounds);
  // Base: sets the colour again when recolouring, then repaints.
  void Refresh() override;

  // TSkinControlPainter.
  HWND Handle() const override { return handle_; }
  bool BareWindow() const override { return control_ == nullptr; }
  RECT ScreenRect() const override { return screenRect_; }
  void MouseLeave() override;

  gui::TControl* Control() const { return control_; }
  TSkinData* SkinData() const { return skinData_; }
  TSkinFormFrame* SkinForm() const { return skinForm_; }
  int Phase() const { return phase_; }
  // Whether the painter sets the control's colour to the skin's face.
  bool Recolours() const { return Recolour; }
  bool PaintEnabled() const { return paintEnabled_; }

 protected:
  // False for kinds that only recolour the control and see no message.
  virtual bool HooksMessages() const { return true; }
  // Hands the message to the control (its previous handler).
  void PassOn(gui::TMessage& message);
  void Repaint();
  // The paint routine of kinds that paint the whole control: WM_PAINT is
  // not passed on, the painter paints through BeginPaint (or the DC the
  // message brings).
  void PaintWhole(gui::TMessage& message);
  // For those kinds: WM_PAINT through the paint routine and WM_ERASEBKGND
  // answered (the paint covers everything); true when the message was one
  // of them.
  bool PaintsWholeControl(gui::TMessage& message);
  // Asks for one WM_MOUSELEAVE once the mouse has left the window.
  void TrackMouseLeave();
  // The part of the control at a client point, -1 for none; kinds
  // without parts have the one part 0.
  virtual int PartAt(POINT) const { return 0; }
  // The part under the mouse, -1 for none.
  int HotPart() const { return hotPart_; }
  // Follows the mouse: on WM_MOUSEMOVE the part under it becomes hot (and
  // its leaving is watched), on leaving none is; repaints on a change.
  // True when the message was one of those.
  bool FollowMouse(const gui::TMessage& message);
  void FillFace(HDC dc, const RECT& rect) const;
  void FillParentColour(HDC dc, const RECT& rect) const;
  // The parent control's colour, ButtonFace when there is none.
  COLORREF ParentColour() const;
  const TSkinModel& Model() const { return skinData_->Model(); }
  COLORREF SkinColour(rt::TColor colour) const;
  HBITMAP Bitmap(const TSkinBitmap& image) const { return skinData_->ImageBitmap(image); }
  DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE)); }
  // The control's published property as text; empty when it has none.
  rt::WideString PropertyText(const char* name) const;
  void SetPropertyText(const char* name, const rt::WideString& value) const;
  rt::WideString WindowText() const;
  // Whether the painter still exists after a call that may free it.
  std::weak_ptr<bool> Lifetime() const { return alive_; }

  uint8_t StateBits = 0;
  uint8_t Handled = 0;
  bool Enabled = true;
  bool Focused = false;
  rt::WideString Text;
  bool Recolour = false;
  rt::TColor SavedColor = rt::clBtnFace;

 private:
  void Route(gui::TMessage& message);
  void Hook();

  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  HWND handle_ = nullptr;
  gui::TControl* control_ = nullptr;
  gui::TWndMethod oldWindowProc_;
  gui::TWindowSubclass subclass_;
  TSkinData* skinData_ = nullptr;
  TSkinFormFrame* skinForm_ = nullptr;
  RECT screenRect_{};
  bool paintEnabled_ = true;
  bool trackingLeave_ = false;
  int hotPart_ = -1;
  bool attached_ = false;
  int phase_ = cpNone;
};

}  // namespace skin
