#include "skin/controls/edit_painters_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "runtime/gui/handles.h"
#include "runtime/window_class_win.h"
#include "skin/controls/property_values.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {

namespace {

void FrameWithColour(HDC dc, const RECT& r, COLORREF colour) {
  gui::UniqueBrush brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, brush.get());
}

constexpr int kUpDownFrames = 8;
enum TUpDownState { udNormal = 1, udPressed = 2, udDisabled = 3, udHot = 4 };

}  // namespace

// Edit boxes.

void TSkinEdit::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // The edit has painted its client area; the border is ours.
      if (!message.WParam) PaintWindow(nullptr);
      return;
    case WM_NCPAINT:
      PaintWindow(nullptr);
      return;
    case WM_PRINT:
      PrintBorder(reinterpret_cast<HDC>(message.WParam));
      return;
    default:
      TSkinControl::AfterMessage(message);
  }
}

bool TSkinEdit::HasBorder(int slack) const {
  RECT window{}, client{};
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  return client.right + slack < window.right - window.left && client.bottom + slack < window.bottom - window.top;
}

void TSkinEdit::FindUpDown() {
  searched_ = true;
  for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const rt::WideString name = AsciiLower(rt::WindowClassName(child));
    if (name != u"msctls_updown32" && !ContainsText(name, u"spin") && !ContainsText(name, u"updown")) continue;
    auto* upDown = new TSkinUpDown(Owner());
    upDown->InEdit = true;
    upDown->AttachWindow(child, SkinData(), SkinForm());
    UpDown = upDown;
    return;
  }
}

void TSkinEdit::Draw(HDC dc, const RECT& bounds) {
  if (!searched_) FindUpDown();
  if (!HasBorder(0)) return;
  FrameWithColour(dc, bounds, SkinColour(Model().SkinColours.ButtonShadow));
  RECT inner = bounds;
  InflateRect(&inner, -1, -1);
  FrameWithColour(dc, inner, RGB(255, 255, 255));
}

void TSkinEdit::PrintBorder(HDC dc) {
  if (!dc || !HasBorder(2)) return;
  RECT window{};
  GetWindowRect(Handle(), &window);
  const RECT bounds{0, 0, window.right - window.left, window.bottom - window.top};
  RECT inner = bounds;
  InflateRect(&inner, -1, -1);
  // The inner line in the DC's brush, the outer one in the shadow colour.
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameWithColour(dc, bounds, SkinColour(Model().SkinColours.ButtonShadow));
}

// Up-down controls.

bool TSkinUpDown::Horizontal() const { return (Style() & UDS_HORZ) != 0; }

int TSkinUpDown::PartAt(POINT p) const {
  RECT client{};
  GetClientRect(Handle(), &client);
  if (!PtInRect(&client, p)) return -1;
  return Horizontal() ? (p.x >= client.right / 2 ? 1 : 0) : (p.y >= client.bottom / 2 ? 1 : 0);
}

bool TSkinUpDown::BeforeMessage(gui::TMessage& message) {
  if (PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

void TSkinUpDown::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = PartAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
      Repaint();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_ < 0) return;
      pressed_ = -1;
      Repaint();
      return;
    default:
      if (!FollowMouse(message)) TSkinControl::AfterMessage(message);
  }
}

void TSkinUpDown::Draw(HDC dc, const RECT& bounds) {
  const bool horizontal = Horizontal();
  const TDataSkinBorder* object = horizontal ? Model().UpDownHorz.get() : Model().UpDownVert.get();
  FillFace(dc, bounds);
  if (!object || object->Image.Empty()) return;
  const bool disabled = (Style() & WS_DISABLED) != 0;
  RECT halves[2] = {bounds, bounds};
  if (horizontal) {
    halves[0].right = halves[1].left = (bounds.left + bounds.right) / 2;
  } else {
    halves[0].bottom = halves[1].top = (bounds.top + bounds.bottom) / 2;
  }
  HBITMAP glyphs = Bitmap(object->SecondImage);
  for (int half = 0; half < 2; ++half) {
    int state = udNormal;
    if (disabled)
      state = udDisabled;
    else if (pressed_ == half)
      state = udPressed;
    else if (HotPart() == half)
      state = udHot;
    DrawNineSlice(dc, halves[half], Bitmap(object->Image), SliceMargins(object->Margins), false, object->Tile != 0,
                  kUpDownFrames, half * 4 + state, object->Trans != 0);
    // The horizontal buttons take their arrows from the glyph strip:
    // left, right, left disabled, right disabled.
    if (glyphs) DrawFrameCentred(dc, halves[half], glyphs, true, 4, half + 1 + (disabled ? 2 : 0));
  }
  const COLORREF shadow = SkinColour(Model().SkinColours.ButtonShadow);
  if (InEdit) FrameWithColour(dc, bounds, shadow);
}

}  // namespace skin
