// What the manager and the frame skinner need of the menu painters:
// popup-menu windows, the menu bar of a skinned window and owner-drawn
// menu items live in their own module, which installs its entry points
// here. Without it menus keep the system look; a skinned window then
// shows no menu bar.
#pragma once

#include <windows.h>

#include <memory>

namespace skin {

class TSkinData;
class TSkinFormFrame;
class TNCObject;

// Paints one popup-menu window (class "#32768") while it is open.
class TPopupMenuPainter {
 public:
  virtual ~TPopupMenuPainter() = default;
  virtual HWND Handle() const = 0;
  // Gives the window its procedure back.
  virtual void Detach() = 0;
  // The menu was dropped from a skinned menu bar.
  virtual void MarkFromMenuBar() = 0;
  // The menu it shows (none until the window knows it).
  virtual HMENU Menu() const = 0;
  // The skin's menu background at the window's size, which its items are
  // painted over; none without one.
  virtual HBITMAP Background() = 0;
  // Where the window's client area starts in the window.
  virtual POINT ClientOffset() const = 0;
};

// The menu bar of a skinned window, drawn inside the skinned frame.
class TMenuBarPainter {
 public:
  virtual ~TMenuBarPainter() = default;
  // Reads the window's menu into menu-bar buttons again.
  virtual void ReadMenu() = 0;
  // Draws the bar into its strip of the window DC.
  virtual void Paint(HDC dc, const RECT& strip) = 0;
  // The button holding a point of window coordinates, or none.
  virtual TNCObject* ObjectAt(POINT point) = 0;
  // The visible, enabled button whose accelerator is the character.
  virtual TNCObject* AcceleratorButton(wchar_t character) = 0;
  // Opens the popup of a button that was pressed.
  virtual void OpenButton(TNCObject& button) = 0;
  // The left margin of the bar's skin object (0 without one).
  virtual int LeftMargin() const = 0;
  // A popup of the bar is open.
  virtual bool Tracking() const = 0;
};

struct TMenuSkinning {
  // A skinner for a popup-menu window, attached; none when it cannot be.
  std::unique_ptr<TPopupMenuPainter> (*SkinPopupMenu)(HWND window, TSkinData& data) = nullptr;
  // The menu bar of a skinned window that has a menu.
  std::unique_ptr<TMenuBarPainter> (*MakeMenuBar)(TSkinFormFrame& frame) = nullptr;
  // WM_MEASUREITEM and WM_DRAWITEM of owner-drawn menu items; false when
  // the message is not about a skinned menu item.
  bool (*MenuItemMessage)(TSkinFormFrame& frame, UINT msg, WPARAM wParam, LPARAM lParam) = nullptr;
  // Makes a form's menus owner-drawn (popup menus, or main menus too) and
  // back.
  void (*OwnerDrawMenus)(TSkinFormFrame& frame, bool popupMenus, bool mainMenus, bool on) = nullptr;
};

const TMenuSkinning& MenuSkinning();
void SetMenuSkinning(const TMenuSkinning& entries);

}  // namespace skin
