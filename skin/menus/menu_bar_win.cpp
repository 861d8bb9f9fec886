#include "skin/menus/menu_bar_win.h"

#include <algorithm>
#include <array>

#include "runtime/gui/accelerator.h"
#include "runtime/gui/graphics.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/three_slice_win.h"
#include "skin/menus/menu_loop_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

constexpr int kBarFrames = 2;
// Caption buttons shown in the bar of an MDI frame whose child is maximized.
constexpr int kMdiButtonVisibility = 100;
constexpr UINT kCaptionFormat = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;

COLORREF Colour(rt::TColor colour) { return gui::ColorToRGB(colour); }

}  // namespace

// ------------------------------------------------------------------ TMenuBtn

TMenuBtn::TMenuBtn(TSkinMenuBar& bar, int index)
    : TNCObject(bar.Frame), SkinData(bar.SkinData), Index(index), bar_(bar) {}

void TMenuBtn::Paint() { bar_.PaintButton(*this); }

// -------------------------------------------------------------- TSkinMenuBar

TSkinMenuBar::TSkinMenuBar(TSkinFormFrame& frame)
    : rt::TComponent(nullptr), SkinData(frame.SkinData()), Frame(frame), MenuHandle(frame.MenuHandle()) {}

TSkinMenuBar::~TSkinMenuBar() = default;

TMenuBtn& TSkinMenuBar::NextButton() {
  // Buttons are kept across readings: the one being pressed or hot stays
  // valid while its menu changes.
  const auto index = static_cast<size_t>(ItemCount++);
  if (index == MenuButtons.size()) MenuButtons.push_back(std::make_unique<TMenuBtn>(*this, static_cast<int>(index)));
  TMenuBtn& button = *MenuButtons[index];
  button.Item = nullptr;
  button.Visible = true;
  return button;
}

void TSkinMenuBar::StartReading() {
  ItemCount = 0;
  MainMenu = Frame.Form() ? Frame.Form()->Menu() : nullptr;
}

void TSkinMenuBar::EndReading() { MenuButtons.resize(static_cast<size_t>(ItemCount)); }

void TSkinMenuBar::ReadMenu() {
  gui::TMainMenu* framework = Frame.Form() ? Frame.Form()->Menu() : nullptr;
  const HMENU shown = GetMenu(Frame.Handle());
  if (shown) {
    MenuHandle = shown;
    Frame.KeepWindowMenu(shown);
  }
  if (framework && (!SkinData->MenuMerge() || !MenuHandle)) {
    ReadFrameworkMenu();
  } else if (!framework && !shown && MainMenu) {
    // The form's menu was taken from it: the bar is empty.
    StartReading();
    EndReading();
    MenuHandle = nullptr;
    Frame.KeepWindowMenu(nullptr);
  } else if (SkinData->MenuMerge())
    ReadMergedMenu(MenuHandle);
  else
    ReadMenuHandle(MenuHandle);
  TakeMenuFromWindow();
  if (Frame.Phase() == phRunning || Frame.Phase() == phRecolor)
    RedrawWindow(Frame.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinMenuBar::TakeMenuFromWindow() {
  if (GetMenu(Frame.Handle())) SetMenu(Frame.Handle(), nullptr);
}

void TSkinMenuBar::ReadFrameworkMenu() {
  StartReading();
  if (!MainMenu) {
    EndReading();
    return;
  }
  gui::TMenuItem* root = MainMenu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    gui::TMenuItem* item = root->Items(i);
    TMenuBtn& button = NextButton();
    button.Item = item;
    button.Visible = item->Visible();
    button.Enabled = item->Enabled();
    button.Command = item->Command();
    button.Caption = item->Caption();
    button.SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
  }
  EndReading();
}

void TSkinMenuBar::ReadMergedMenu(HMENU menu) { ReadEntries(menu, true); }

void TSkinMenuBar::ReadMenuHandle(HMENU menu) { ReadEntries(menu, false); }

void TSkinMenuBar::ReadEntries(HMENU menu, bool mergeByPosition) {
  if (!menu) return;
  StartReading();
  gui::TMenuItem* root = MainMenu ? MainMenu->Items() : nullptr;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    std::array<wchar_t, 80> text{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size() - 1);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    TMenuBtn& button = NextButton();
    button.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
    button.Command = info.hSubMenu ? kNoCommand : info.wID;
    button.SubMenu = info.hSubMenu;
    button.Caption = rt::WideString(text.data(), text.data() + std::min<size_t>(info.cch, text.size() - 1));
    // The framework item of the entry: the one at the same position, or
    // the one with its command id.
    gui::TMenuItem* item = nullptr;
    if (!mergeByPosition)
      item = MainMenu ? MainMenu->FindItem(info.wID) : nullptr;
    else if (!button.Caption.empty() && root && i < root->Count())
      item = root->Items(i);
    if (!item) continue;
    button.Item = item;
    button.Caption = item->Caption();
    button.Enabled = item->Enabled();
    if (mergeByPosition) {
      button.Command = GetMenuItemID(menu, i);
      if (item->Count() > 0) button.SubMenu = item->Handle();
    } else {
      button.Visible = item->Visible();
    }
  }
  EndReading();
}

int TSkinMenuBar::LeftMargin() const {
  const TDataSkinObject* bar = SkinData->Model().MenuBar.get();
  return bar ? bar->Margins.Left : 0;
}

void TSkinMenuBar::DrawCaption(HDC dc, const TMenuBtn& button, const RECT& bounds) const {
  const rt::TColor colour = button.Enabled ? SkinData->Model().SkinColours.MenuBarText : rt::clBtnShadow;
  SetTextColor(dc, Colour(colour));
  RECT measured = bounds;
  DrawSkinText(dc, button.Caption, measured, kCaptionFormat | DT_CALCRECT | DT_NOCLIP);
  const int width = RectWidth(measured), height = RectHeight(measured);
  RECT text{bounds.left + (RectWidth(bounds) - width) / 2, bounds.top + (RectHeight(bounds) - height) / 2, 0, 0};
  text.right = text.left + width;
  text.bottom = text.top + height;
  DrawSkinText(dc, button.Caption, text, kCaptionFormat);
}

void TSkinMenuBar::Paint(HDC dc, const RECT& strip) {
  const int w = RectWidth(strip), h = RectHeight(strip);
  if (w <= 0 || h <= 0 || Painting) return;
  Painting = true;
  const TSkinModel& model = SkinData->Model();
  gui::UniqueBitmap bitmap = MakeFilledDib(w, h, Colour(model.SkinColours.Menubar));
  {
    TBitmapDc canvas(bitmap.get());
    const bool rightToLeft = RightToLeft();
    int x = 6;
    const TDataSkinObject* bar = model.MenuBar.get();
    if (HBITMAP image = bar ? SkinData->ImageBitmap(bar->Image) : nullptr) {
      const int frame = Frame.Active() ? 1 : 2;
      const RECT all{0, 0, w, h};
      if (bar->Tile == 1)
        DrawNineSlice(canvas.get(), all, image, {}, true, false, kBarFrames, frame, false);
      else
        ThreeSlice(canvas.get(), all, image, true, false, kBarFrames, frame, bar->Margins.Left, bar->Margins.Right);
      x = rightToLeft ? bar->Margins.Right + 8 : bar->Margins.Left + 4;
      if (w < x) x = 12;
    }
    MenuBarRect = strip;
    BarBackground = MakeFilledDib(w, h, 0);
    {
      TBitmapDc copy(BarBackground.get());
      BitBlt(copy.get(), 0, 0, w, h, canvas.get(), 0, 0, SRCCOPY);
    }
    const gui::UniqueFont font = gui::MenuFont();
    gui::TSelectObject selectFont(canvas.get(), font.get());
    TBackgroundMode transparent(canvas.get(), TRANSPARENT);
    for (const auto& button : MenuButtons) {
      if (!button->Visible) {
        button->Bounds = {};
        continue;
      }
      int width = 0;
      if (!button->Caption.empty()) {
        RECT measured{0, 0, 0, 0};
        DrawSkinText(canvas.get(), button->Caption, measured, kCaptionFormat | DT_CALCRECT | DT_NOCLIP);
        width = RectWidth(measured) + 10;
      }
      const RECT onBitmap = rightToLeft ? RECT{w - x - width, 0, w - x, h - 1} : RECT{x, 0, x + width, h - 1};
      x += width;
      button->Bounds = {onBitmap.left + strip.left, onBitmap.top + strip.top, onBitmap.right + strip.left,
                        onBitmap.bottom + strip.top};
      if (width == 0) continue;
      if (button->State == 2 || button->State == 3) FrameButton(canvas.get(), onBitmap);
      DrawCaption(canvas.get(), *button, onBitmap);
    }
    DrawMdiButtons(canvas.get(), strip);
  }
  Blit(dc, strip.left, strip.top, w, h, bitmap.get(), 0, 0);
  Painting = false;
}

void TSkinMenuBar::DrawMdiButtons(HDC dc, const RECT& strip) {
  TSkinManage* manager = Manager();
  const bool maximized = Frame.MdiKind() == mdFrame && manager && manager->MDIMaximized();
  if (!maximized) return;
  for (const auto& sys : Frame.SysButtons()) {
    const TCaptionButton& button = sys->Button();
    if (button.Data.Visibility != kMdiButtonVisibility || !sys->Visible) continue;
    RECT bounds = sys->Bounds;
    OffsetRect(&bounds, -strip.left, -strip.top);
    Frame.DrawCaptionButton(dc, button, bounds, 1);
  }
}

void TSkinMenuBar::FrameButton(HDC dc, const RECT& bounds) const {
  gui::UniqueBrush frame(CreateSolidBrush(Colour(SkinData->Model().SkinColours.ButtonHilight)));
  FrameRect(dc, &bounds, frame.get());
}

void TSkinMenuBar::PaintButton(const TMenuBtn& button) {
  if (!BarBackground || IsRectEmpty(&button.Bounds)) return;
  gui::TWindowFrameDc dc(Frame.Handle());
  const RECT& b = button.Bounds;
  Blit(dc.get(), b.left, b.top, RectWidth(b), RectHeight(b), BarBackground.get(), b.left - MenuBarRect.left,
       b.top - MenuBarRect.top);
  if (button.State == 2 || button.State == 3) FrameButton(dc.get(), b);
  const gui::UniqueFont font = gui::MenuFont();
  gui::TSelectObject selectFont(dc.get(), font.get());
  TBackgroundMode transparent(dc.get(), TRANSPARENT);
  DrawCaption(dc.get(), button, b);
}

TMenuBtn* TSkinMenuBar::ButtonAt(POINT point) const {
  for (const auto& button : MenuButtons)
    if (button->Visible && !button->Caption.empty() && PtInRect(&button->Bounds, point)) return button.get();
  return nullptr;
}

TNCObject* TSkinMenuBar::ObjectAt(POINT point) { return ButtonAt(point); }

TNCObject* TSkinMenuBar::AcceleratorButton(wchar_t character) {
  for (const auto& button : MenuButtons)
    if (button->Visible && button->Enabled && gui::IsAccel(character, button->Caption)) return button.get();
  return nullptr;
}

int TSkinMenuBar::Neighbour(int index, int step) const {
  const int count = static_cast<int>(MenuButtons.size());
  for (int i = 1; i <= count; ++i) {
    const int next = ((index + step * i) % count + count) % count;
    const TMenuBtn& button = *MenuButtons[static_cast<size_t>(next)];
    // Arrow keys and the mouse go on to menus only: a command of the bar
    // runs when it is clicked, not when it is passed over.
    if (button.Visible && !button.Caption.empty() && button.SubMenu) return next;
  }
  return -1;
}

void TSkinMenuBar::OpenButton(TNCObject& object) {
  auto* button = dynamic_cast<TMenuBtn*>(&object);
  if (!button || Tracking()) return;
  TMenuLoop loop(*this);
  loop.Run(button->Index);
}

bool TSkinMenuBar::Tracking() const { return CurrentBarIndex() >= 0; }

}  // namespace skin
