#include "skin/controls/combo_painter_win.h"

#include "runtime/gui/handles.h"
#include "skin/controls/scroll_painters_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {

namespace {

constexpr int kComboFrames = 4;
enum TComboFrame { cfNormal = 1, cfPressed = 2, cfDisabled = 3, cfHot = 4 };
// The composed images hold whole boxes: button, edges and a key-coloured
// middle that leaves the control's own text showing.
constexpr int kComposedStyle = 2;

}  // namespace

void TSkinComBox::AttachControl(TSkinFormFrame* skinForm, TSkinData* data, bool recolour) {
  TSkinControl::AttachControl(skinForm, data, recolour);
  SkinListScrollBar();
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm) {
  TSkinControl::AttachWindow(window, data, skinForm);
  SkinListScrollBar();
}

// The drop-down list is a window of its own that the box makes once and
// keeps: its scroll bar gets a painter for a bare window, owned like this
// painter, which follows the list as it drops down and closes up.
void TSkinComBox::SkinListScrollBar() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!Handle() || !GetComboBoxInfo(Handle(), &info) || !info.hwndList) return;
  if (SkinForm() && SkinForm()->FindControl(info.hwndList)) return;
  auto* painter = new TSkinScrollbarH(Owner());
  painter->AttachWindow(info.hwndList, SkinData(), SkinForm());
}

bool TSkinComBox::Dropped() const { return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

int TSkinComBox::StateFrame() const {
  if (Style() & WS_DISABLED) return cfDisabled;
  if (pressed_ || Dropped()) return cfPressed;
  const HWND focus = GetFocus();
  if (HotPart() >= 0 || focus == Handle() || (focus && IsChild(Handle(), focus))) return cfHot;
  return cfNormal;
}

bool TSkinComBox::BeforeMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      return true;
    default:
      return TSkinControl::BeforeMessage(message);
  }
}

void TSkinComBox::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    // The system box draws its button itself on these; the list's
    // dropping runs inside the press.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case CB_SHOWDROPDOWN:
    case CB_SETCURSEL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case gui::CN_COMMAND:
      pressed_ = false;
      PaintWindow(nullptr);
      return;
    default:
      if (!FollowMouse(message)) TSkinControl::AfterMessage(message);
  }
}

void TSkinComBox::Draw(HDC dc, const RECT& bounds) {
  const TDataSkinBorder* button = Model().ComboButton.get();
  if (!button || button->Image.Empty()) return;
  const int frame = StateFrame();
  const bool rightToLeft = (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RIGHT)) != 0;
  if (button->Style == kComposedStyle) {
    const TDataSkinObject* mirrored = Model().SunkEdge.get();
    const TDataSkinObject& object = rightToLeft && mirrored && !mirrored->Image.Empty() ? *mirrored : *button;
    DrawNineSlice(dc, bounds, Bitmap(object.Image), SliceMargins(object.Margins), false, false, kComboFrames, frame,
                  true);
    return;
  }
  // A skin without the composed boxes: its button over the system's, the
  // border in the shadow colour.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Handle(), &info)) return;
  RECT buttonRect = info.rcButton;
  DrawNineSlice(dc, buttonRect, Bitmap(button->Image), SliceMargins(button->Margins), false, button->Tile != 0,
                kComboFrames, frame, button->Trans != 0);
  if (const TDataSkinObject* extra = Model().ExtraImages.get(); extra && !extra->Image.Empty())
    DrawFrameCentred(dc, buttonRect, Bitmap(extra->Image), true, 5, frame);
  gui::UniqueBrush shadow(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonShadow)));
  FrameRect(dc, &bounds, shadow.get());
}

}  // namespace skin
