// Windowed controls: a control with a window of its own, made when first
// needed. Every window of the framework runs one window procedure, which
// binds the control at WM_NCCREATE and hands each message to its
// WindowProc. Controls built on a system control (push button, edit box)
// use a window class of their own name on top of the system one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/gui/control.h"

namespace gui {

class TWinControl : public TControl {
 public:
  explicit TWinControl(rt::TComponent* owner);
  ~TWinControl() override;
  WideString ClassName() const override { return u"TWinControl"; }
  bool IsWindowed() const override { return true; }

  // The window, made (with those of the parents) when it does not exist.
  HWND Handle();
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The framework control of a window, or nullptr.
  static TWinControl* FromHandle(HWND window);

  // The children in creation order; this is also the order in which the
  // non-windowed ones are painted.
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }

  // The place in the parent's tab order: lower comes first; equal values
  // keep the creation order.
  int32_t TabOrder() const { return tabOrder_; }
  void SetTabOrder(int32_t value) { tabOrder_ = value; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  // The windowed controls inside this one in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;

  bool Focused() const;
  // Showing, enabled, and so are the parents.
  bool CanFocus() const;
  void SetFocus();

  RECT ClientRect() const override;
  WideString Text() const override;
  void Invalidate() override;
  // Places the aligned children in the client area.
  void Realign();
  // Windows the framework paints are composed off-screen and copied in
  // one go, so that nothing flickers.
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  struct TCreateParams {
    std::wstring WindowClass;        // registered under this name
    const wchar_t* BaseClass = nullptr;  // the system class built upon, or none
    UINT ClassStyle = CS_DBLCLKS;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
  };
  virtual void CreateParams(TCreateParams& params);
  // Makes the window and those of the windowed children.
  virtual void CreateHandle();
  // After the window exists: font, text, system-control settings.
  virtual void HandleCreated() {}
  void DestroyHandle();

  // Windows painted by the framework (no system class): the background in
  // Color, the control's Paint, then the non-windowed children in creation
  // order.
  void PaintWindow(HDC dc);
  void PaintBuffered(HDC dc);
  void PaintControls(HDC dc);
  bool OwnPainted() const { return ownPainted_; }
  // The non-windowed child at a client point, the last created first.
  TControl* ControlAtPos(POINT point) const;

  void BoundsChanged(const RECT& previous) override;
  void RequestAlign() override;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void ReflectToChild(TMessage& message, HWND child);
  void ForwardMouse(TMessage& message);
  void UpdateBoundsFromWindow();

  HWND handle_ = nullptr;
  WNDPROC baseProc_ = nullptr;
  bool ownPainted_ = true;
  bool doubleBuffered_ = false;
  bool creating_ = false;
  std::vector<TControl*> controls_;
  int32_t tabOrder_ = -1;
  bool tabStop_ = false;
  bool aligning_ = false;
  bool trackingMouse_ = false;
  TControl* mouseCapture_ = nullptr;
};

namespace detail {
// The control under the mouse is forgotten when it goes.
void ForgetMouseControl(TControl* control);
}  // namespace detail

}  // namespace gui
