// What the frame skinner needs of the control painters: they live in
// their own module, which installs its entry points here. Without it a
// skinned window keeps the system look of its controls.
#pragma once

#include <windows.h>

namespace skin {

class TSkinFormFrame;

// A painter attached to one control of a skinned window. It belongs to
// the control it paints (and goes with it), or to the frame skinner when
// it paints a bare child window; the frame skinner keeps the list of
// both and frees them all when it detaches.
class TSkinControlPainter {
 public:
  virtual ~TSkinControlPainter() = default;
  virtual HWND Handle() const = 0;
  // It paints a window of no framework control.
  virtual bool BareWindow() const = 0;
  // Gives the control its own look back before the painter goes.
  virtual void Unskin() = 0;
  // The skin's colours were applied again: read them and repaint.
  virtual void Refresh() = 0;
  // Where the control is on the screen.
  virtual RECT ScreenRect() const = 0;
  // The mouse has left the control without the control noticing.
  virtual void MouseLeave() = 0;
};

struct TControlSkinning {
  // Attaches painters to the controls of a window that was just skinned.
  void (*SkinControls)(TSkinFormFrame& frame) = nullptr;
  // Attaches a painter to one child window created later (the size grip).
  void (*SkinChild)(TSkinFormFrame& frame, HWND child) = nullptr;
};

const TControlSkinning& ControlSkinning();
void SetControlSkinning(const TControlSkinning& entries);

}  // namespace skin
