#include "runtime/gui/bit_btn.h"

#include <windowsx.h>

namespace gui {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;

}  // namespace

TBitBtn::TBitBtn(rt::TComponent* owner) : TButton(owner) {
  glyph_.OnChange = [this] { Invalidate(); };
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~kButtonTypeMask) | BS_OWNERDRAW;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  // An owner-drawn button gets no default frame from the system.
  if (IsActiveDefault()) {
    FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  RECT content = face;
  InflateRect(&content, -2, -2);
  if (pushed) OffsetRect(&content, 1, 1);
  const TGlyphFrame frame = !enabled ? gfDisabled : pushed ? gfClicked : gfUp;
  glyph_.Draw(dc, content, Caption(), Font().Handle(), ColorToRGB(enabled ? Font().Color() : rt::clGrayText),
              frame);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void TBitBtn::WndProc(TMessage& message) {
  switch (message.Msg) {
    case BM_SETSTYLE:
      // TButton switches between the push and the default push button to
      // move the default frame; this button draws that frame itself.
      message.WParam = (message.WParam & ~static_cast<WPARAM>(kButtonTypeMask)) | BS_OWNERDRAW;
      TButton::WndProc(message);
      Invalidate();
      return;
    case WM_LBUTTONDBLCLK:
      // Owner-drawn buttons report a double click instead of a second
      // click: a quick second press is a click like the first.
      message.Msg = WM_LBUTTONDOWN;
      break;
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
      message.Result = TRUE;
      return;
    case CM_FOCUSCHANGED:
      TButton::WndProc(message);
      Invalidate();
      return;
  }
  TButton::WndProc(message);
}

TSpeedButton::TSpeedButton(rt::TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 23, 22);
  SetDoubleBuffered(true);
  glyph_.OnChange = [this] { Invalidate(); };
}

void TSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  if (value && groupIndex_ > 0 && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (other && other != this && other->groupIndex_ == groupIndex_) other->SetDown(false);
    }
  }
  down_ = value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TSpeedButton::Click() {
  if (groupIndex_ > 0) {
    if (!down_)
      SetDown(true);
    else if (allowAllUp_)
      SetDown(false);
  }
  TWinControl::Click();
}

void TSpeedButton::Paint(HDC dc) {
  RECT face = TWinControl::ClientRect();
  const bool sunken = pressed_ || down_;
  if (!flat_) {
    DrawEdge(dc, &face, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  } else if (sunken || mouseInside_) {
    DrawEdge(dc, &face, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  }
  if (sunken) OffsetRect(&face, 1, 1);
  const TGlyphFrame frame = !Enabled() ? gfDisabled : pressed_ ? gfClicked : down_ ? gfDown : gfUp;
  glyph_.Draw(dc, face, Caption(), Font().Handle(), ColorToRGB(Enabled() ? Font().Color() : rt::clGrayText),
              frame);
}

void TSpeedButton::EndTracking() {
  tracking_ = false;
  pressed_ = false;
  if (GetCapture() == WindowHandle()) ReleaseCapture();
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Enabled()) break;
      tracking_ = true;
      pressed_ = true;
      SetCapture(WindowHandle());
      Invalidate();
      return;
    case WM_MOUSEMOVE:
      TWinControl::WndProc(message);
      if (tracking_) {
        const POINT point = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const RECT area = TWinControl::ClientRect();
        const bool inside = PtInRect(&area, point) != FALSE;
        if (inside != pressed_) {
          pressed_ = inside;
          Invalidate();
        }
      }
      return;
    case WM_LBUTTONUP:
      if (tracking_) {
        const POINT point = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const RECT area = TWinControl::ClientRect();
        EndTracking();
        if (PtInRect(&area, point)) Click();
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (tracking_ && reinterpret_cast<HWND>(message.LParam) != WindowHandle()) EndTracking();
      break;
    case CM_MOUSEENTER:
      mouseInside_ = true;
      if (flat_) Invalidate();
      break;
    case CM_MOUSELEAVE:
      mouseInside_ = false;
      if (flat_) Invalidate();
      break;
  }
  TWinControl::WndProc(message);
}

}  // namespace gui
