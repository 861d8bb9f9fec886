// TSkinPopupMenu: the skin on one popup-menu window (class "#32768")
// while it is open. Its border is a ring cut from the skin's menu
// background drawn at the window's size; its items, owner-drawn, are
// painted over the same background. The window's menu is not known when
// the window is made: the window asks for it, and the first owner-drawn
// item painted after it opened tells it too.
#pragma once

#include <windows.h>

#include <memory>

#include "runtime/classes.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/window_subclass.h"
#include "skin/data/skin_data_win.h"
#include "skin/windows/menu_skinning_link_win.h"

namespace skin {

class TSkinPopupMenu final : public rt::TObject, public TPopupMenuPainter {
 public:
  // The width of the ring painted around the items.
  static constexpr int kRing = 3;

  TSkinPopupMenu(HWND window, TSkinData& data, HMENU menu);
  ~TSkinPopupMenu() override;
  rt::WideString ClassName() const override { return u"TSkinPopupMenu"; }

  // TPopupMenuPainter.
  HWND Handle() const override { return MenuWindow; }
  void Detach() override;
  void MarkFromMenuBar() override { FromMenuBar = true; }
  HMENU Menu() const override;
  HBITMAP Background() override;
  POINT ClientOffset() const override;

  // The menu the window shows, once an item of it was painted.
  void SetShownMenu(HMENU menu) { ShownMenu = menu; }

  HWND MenuWindow = nullptr;
  TSkinData* SkinData = nullptr;
  HMENU ShownMenu = nullptr;
  bool FromMenuBar = false;

 private:
  void Message(gui::TMessage& message);
  // The ring of the background onto the window's own DC.
  void PaintRing(HDC windowDc);
  void Print(gui::TMessage& message);

  gui::TWindowSubclass subclass_;
  gui::UniqueBitmap popupBackground_;
  SIZE backgroundSize_{};
};

// A skinner for a popup-menu window, attached; none when the skin has no
// menu background to paint it with.
std::unique_ptr<TPopupMenuPainter> SkinPopupMenuWindow(HWND window, TSkinData& data);

// An owner-drawn item of menu is being painted: the popup window opened
// last without knowing its menu shows this one.
void NoteMenuPainted(HMENU menu);

}  // namespace skin
