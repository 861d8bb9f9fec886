// TSkinMenuBar: the menu bar of a skinned window, taken from the system
// (the window shows no menu of its own) and drawn as a strip of the
// skinned frame, one TMenuBtn per top-level item. A button opens its
// item's popup menu below it; the bar reads its items from the form's
// framework menu or from the window's system menu.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/classes.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/menus.h"
#include "skin/data/skin_data_win.h"
#include "skin/windows/form_frame_win.h"
#include "skin/windows/menu_skinning_link_win.h"
#include "skin/windows/nc_objects_win.h"

namespace skin {

class TSkinMenuBar;

// No command: the entry of a plain menu that opens a sub-menu.
inline constexpr UINT kNoCommand = 0xFFFFFFFFu;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TSkinMenuBar& bar, int index);
  void Paint() override;

  // The framework item, none for a plain menu's entry.
  gui::TMenuItem* Item = nullptr;
  TSkinData* SkinData = nullptr;
  const int Index;
  rt::WideString Caption;
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = kNoCommand;

 private:
  TSkinMenuBar& bar_;
};

class TSkinMenuBar final : public rt::TComponent, public TMenuBarPainter {
 public:
  explicit TSkinMenuBar(TSkinFormFrame& frame);
  ~TSkinMenuBar() override;
  rt::WideString ClassName() const override { return u"TSkinMenuBar"; }

  // TMenuBarPainter.
  void ReadMenu() override;
  void Paint(HDC dc, const RECT& strip) override;
  TNCObject* ObjectAt(POINT point) override;
  TNCObject* AcceleratorButton(wchar_t character) override;
  void OpenButton(TNCObject& button) override;
  int LeftMargin() const override;
  bool Tracking() const override;

  // The three ways of reading the bar: the framework menu; the window's
  // menu with the framework's captions merged by position; a menu handle
  // whose entries are matched with framework items by command id.
  void ReadFrameworkMenu();
  void ReadMergedMenu(HMENU menu);
  void ReadMenuHandle(HMENU menu);

  // A button alone, on the window (hover, press).
  void PaintButton(const TMenuBtn& button);
  // The button a point of window coordinates is on: visible, captioned.
  TMenuBtn* ButtonAt(POINT point) const;
  // The next visible, captioned button with a menu after index in the
  // direction given, wrapping at the ends; -1 when there is none.
  int Neighbour(int index, int step) const;
  bool RightToLeft() const { return MainMenu && MainMenu->IsRightToLeft(); }

  std::vector<std::unique_ptr<TMenuBtn>> MenuButtons;
  gui::TMainMenu* MainMenu = nullptr;
  RECT MenuBarRect{};
  TSkinData* SkinData = nullptr;
  TSkinFormFrame& Frame;
  gui::UniqueBitmap BarBackground;
  int ItemCount = 0;
  bool Painting = false;
  HMENU MenuHandle = nullptr;

 private:
  void ReadEntries(HMENU menu, bool mergeByPosition);
  void StartReading();
  TMenuBtn& NextButton();
  void EndReading();
  // Takes the menu off the window: the bar shows it now.
  void TakeMenuFromWindow();
  void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& bounds) const;
  // The frame of a hot or pressed button.
  void FrameButton(HDC dc, const RECT& bounds) const;
  void DrawMdiButtons(HDC dc, const RECT& strip);
};

// The index of the bar button whose popup is open, -1 when none is.
int CurrentBarIndex();

}  // namespace skin
