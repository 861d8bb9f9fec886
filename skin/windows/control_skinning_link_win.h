// What the frame skinner needs of the control painters: they live in
// their own module, which installs its entry points here. Without it a
// skinned window keeps the system look of its controls.
#pragma once

#include <windows.h>

namespace skin {

class TSkinFormFrame;

// A painter attached to one control of a skinned window; its frame
// skinner owns it.
class TSkinControlPainter {
 public:
  virtual ~TSkinControlPainter() = default;
  virtual HWND Handle() const = 0;
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
