#include "runtime/wide_text_win.h"
#include "skin/controls/tab_painters_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "runtime/gui/handles.h"
#include "runtime/window_class_win.h"
#include "skin/controls/edit_painters_win.h"
#include "skin/controls/property_values.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"

namespace skin {

namespace {

constexpr int kTabFrames = 5;
enum TTabFrame { tfNormal = 1, tfSelected = 2, tfDisabled = 3, tfHot = 4, tfFocused = 5 };
constexpr int kHeaderFrames = 5;
// The tab border image's fixed edges.
constexpr TSliceMargins kTabBorderMargins{4, 4, 4, 4};

rt::WideString ItemText(HWND window, UINT message, WPARAM index, bool header) {
  wchar_t buffer[260] = {};
  if (header) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 260;
    SendMessageW(window, message, index, reinterpret_cast<LPARAM>(&item));
  } else {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 260;
    SendMessageW(window, message, index, reinterpret_cast<LPARAM>(&item));
  }
  return rt::WideFromWchar(buffer);
}

void DrawCentredText(HDC dc, const rt::WideString& text, RECT rect, COLORREF colour, UINT align = DT_CENTER) {
  TBackgroundMode transparent(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, rt::AsWchar(text), static_cast<int>(text.size()), &rect,
            align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// A tab drawn upside down, for strips at the bottom edge.
void DrawFlipped(HDC dc, const RECT& dest, HBITMAP image, const TSliceMargins& margins, int frame, bool transparent) {
  const int w = dest.right - dest.left, h = dest.bottom - dest.top;
  gui::UniqueBitmap upright = NineSlice({0, 0, w, h}, image, {margins.Left, margins.Bottom, margins.Right, margins.Top},
                                        false, false, kTabFrames, frame);
  if (!upright) return;
  gui::UniqueBitmap flipped = MakeFilledDib(w, h, kSkinKeyColour);
  {
    TBitmapDc from(upright.get());
    TBitmapDc to(flipped.get());
    StretchBlt(to.get(), 0, h - 1, w, -h, from.get(), 0, 0, w, h, SRCCOPY);
  }
  if (transparent) {
    GdiTransparentBlt(dc, dest.left, dest.top, w, h, TBitmapDc(flipped.get()).get(), 0, 0, w, h, kSkinKeyColour);
  } else {
    TBitmapDc from(flipped.get());
    BitBlt(dc, dest.left, dest.top, w, h, from.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace

// Tab strips.

int TSkinTab::TabFrame(bool selected, bool enabled, bool hot, bool focused) {
  if (!enabled) return tfDisabled;
  if (selected) return focused ? tfFocused : tfSelected;
  return hot ? tfHot : tfNormal;
}

int TSkinTab::PartAt(POINT p) const {
  TCHITTESTINFO hit{p, 0};
  return static_cast<int>(SendMessageW(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool TSkinTab::AtBottom() const { return (Style() & TCS_BOTTOM) != 0; }

bool TSkinTab::BeforeMessage(gui::TMessage& message) {
  const TDataSkinBorder* tabs = Model().Tabs.get();
  if (tabs && !tabs->Image.Empty() && PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

void TSkinTab::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case TCM_SETCURSEL:
    case TCM_INSERTITEMW:
    case TCM_DELETEITEM:
    case WM_SIZE:
    case gui::CN_NOTIFY:
      Repaint();
      return;
    default:
      if (!FollowMouse(message)) TSkinControl::AfterMessage(message);
  }
}

void TSkinTab::SkinUpDown() {
  upDownDone_ = true;
  for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (AsciiLower(rt::WindowClassName(child)) != u"msctls_updown32") continue;
    if (SkinForm() && SkinForm()->FindControl(child)) return;
    auto* upDown = new TSkinUpDown(Owner());
    upDown->AttachWindow(child, SkinData(), SkinForm());
    return;
  }
}

void TSkinTab::Draw(HDC dc, const RECT& bounds) {
  if (!upDownDone_) SkinUpDown();
  // Composed off-screen: the whole strip is ours.
  gui::UniqueBitmap buffer = MakeFilledDib(bounds.right, bounds.bottom, SkinColour(Model().SkinColours.ButtonFace));
  if (!buffer) return;
  TBitmapDc canvas(buffer.get());
  DrawTabs(canvas.get(), bounds);
  // Child windows (the pages) cover their own parts of it.
  BitBlt(dc, 0, 0, bounds.right, bounds.bottom, canvas.get(), 0, 0, SRCCOPY);
}

void TSkinTab::DrawTabs(HDC dc, const RECT& bounds) {
  const TDataSkinBorder& tabs = *Model().Tabs;
  const int count = static_cast<int>(SendMessageW(Handle(), TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
  const bool bottom = AtBottom();
  const bool enabled = (Style() & WS_DISABLED) == 0;
  const bool focused = GetFocus() == Handle();
  // The body: the strip without the tab rows, framed by the border image.
  RECT body = bounds;
  RECT rows = bounds;
  SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rows));
  if (bottom)
    body.bottom = rows.bottom + 2;
  else
    body.top = rows.top - 2;
  if (!HasBody()) {
    // The tabs hang from a line along the strip's edge.
    gui::UniqueBrush shadow(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonShadow)));
    const RECT line{bounds.left, bounds.top, bounds.right, bounds.top + 1};
    FillRect(dc, &line, shadow.get());
  } else if (HBITMAP border = Bitmap(tabs.SecondImage)) {
    DrawNineSliceFrame(dc, body, border, kTabBorderMargins, false, 1, 1);
  } else {
    gui::UniqueBrush shadow(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonShadow)));
    FrameRect(dc, &body, shadow.get());
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  gui::TSelectObject selectedFont(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  // The selected tab last: it stands out over its neighbours.
  std::vector<int> order;
  for (int i = 0; i < count; ++i)
    if (i != selected) order.push_back(i);
  if (selected >= 0 && selected < count) order.push_back(selected);
  for (int i : order) {
    RECT tab{};
    if (!SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab))) continue;
    const bool isSelected = i == selected;
    if (isSelected) {
      InflateRect(&tab, 2, 0);
      if (bottom)
        tab.bottom += 2;
      else
        tab.top -= 2;
    }
    const int frame = TabFrame(isSelected, enabled, i == HotPart(), isSelected && focused);
    if (bottom)
      DrawFlipped(dc, tab, Bitmap(tabs.Image), SliceMargins(tabs.Margins), frame, tabs.Trans != 0);
    else
      DrawNineSlice(dc, tab, Bitmap(tabs.Image), SliceMargins(tabs.Margins), false, tabs.Tile != 0, kTabFrames,
                    frame, tabs.Trans != 0);
    const COLORREF colour = !enabled   ? SkinColour(Model().SkinColours.ButtonShadow)
                            : isSelected ? SkinColour(Model().SkinColours.ButtonText)
                                         : gui::ColorToRGB(tabs.NormalColour2);
    DrawCentredText(dc, ItemText(Handle(), TCM_GETITEMW, static_cast<WPARAM>(i), false), tab, colour);
  }
}

// Header controls.

bool TSkinHeader::BeforeMessage(gui::TMessage& message) {
  const TDataSkinObject* header = Model().Headerbar.get();
  if (header && !header->Image.Empty() && PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

int TSkinHeader::PartAt(POINT p) const {
  HDHITTESTINFO hit{};
  hit.pt = p;
  const int item = static_cast<int>(SendMessageW(Handle(), HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & HHT_ONHEADER) ? item : -1;
}

void TSkinHeader::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      pressed_ = PartAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
      Repaint();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      pressed_ = -1;
      Repaint();
      return;
    default:
      if (!FollowMouse(message)) TSkinControl::AfterMessage(message);
  }
}

void TSkinHeader::Draw(HDC dc, const RECT& bounds) {
  const TDataSkinObject& header = *Model().Headerbar;
  gui::UniqueBitmap buffer = MakeFilledDib(bounds.right, bounds.bottom, SkinColour(Model().SkinColours.ButtonFace));
  if (!buffer) return;
  TBitmapDc canvas(buffer.get());
  const bool enabled = (Style() & WS_DISABLED) == 0;
  const int count = static_cast<int>(SendMessageW(Handle(), HDM_GETITEMCOUNT, 0, 0));
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  gui::TSelectObject selectedFont(canvas.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(Handle(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    const int frame = !enabled ? 3 : pressed_ == i ? 2 : HotPart() == i ? 4 : 1;
    DrawNineSlice(canvas.get(), item, Bitmap(header.Image), SliceMargins(header.Margins), false, header.Tile != 0,
                  kHeaderFrames, frame, header.Trans != 0);
    RECT text = item;
    InflateRect(&text, -6, 0);
    DrawCentredText(canvas.get(), ItemText(Handle(), HDM_GETITEMW, static_cast<WPARAM>(i), true), text,
                    SkinColour(enabled ? Model().SkinColours.ButtonText : Model().SkinColours.ButtonShadow), DT_LEFT);
    right = std::max(right, static_cast<int>(item.right));
  }
  // The rest of the bar: an empty section.
  if (right < bounds.right)
    DrawNineSlice(canvas.get(), {right, 0, bounds.right, bounds.bottom}, Bitmap(header.Image),
                  SliceMargins(header.Margins), false, header.Tile != 0, kHeaderFrames, 1, header.Trans != 0);
  BitBlt(dc, 0, 0, bounds.right, bounds.bottom, canvas.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
