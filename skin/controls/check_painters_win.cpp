#include "runtime/wide_text_win.h"
#include "skin/controls/check_painters_win.h"

#include "runtime/gui/handles.h"
#include "skin/controls/property_values.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {

namespace {

// The box the glyph sits in, at the text's side, and the gap between it
// and the text.
constexpr int kBoxWidth = 15;
constexpr int kTextGap = 1;

// DrawText's alignment for the button's text styles.
UINT TextFormat(LONG style) {
  UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  switch (style & BS_CENTER) {
    case BS_CENTER: format |= DT_CENTER; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    default: format |= (style & BS_LEFTTEXT) ? DT_RIGHT : DT_LEFT;
  }
  switch (style & BS_VCENTER) {
    case BS_TOP: format |= DT_TOP; break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= DT_VCENTER;
  }
  return format;
}

}  // namespace

int TSkinCheckBox::BoxFrame(int checkState, bool enabled, bool pressed, bool hot, int frameCount) {
  if (frameCount >= 12) {
    // Four states (normal, hot, pressed, disabled) per check state:
    // unchecked, checked, mixed.
    const int group = checkState == BST_CHECKED ? 1 : checkState == BST_INDETERMINATE ? 2 : 0;
    const int state = !enabled ? 3 : pressed ? 2 : hot ? 1 : 0;
    return group * 4 + state + 1;
  }
  if (checkState == BST_INDETERMINATE) return frameCount >= 3 ? 3 : 2;
  const bool checked = checkState == BST_CHECKED;
  if (!enabled && frameCount >= 5) return checked ? 5 : 4;
  return checked ? 2 : 1;
}

const TSkinBitmap& TSkinCheckBox::BoxImage() const { return Model().Buttons.CheckImage; }
int TSkinCheckBox::BoxFrameCount() const { return Model().Buttons.CheckButtonFrame; }

int TSkinCheckBox::CheckState() const {
  if (!Control()) return static_cast<int>(SendMessageW(Handle(), BM_GETCHECK, 0, 0) & 3);
  const rt::WideString state = PropertyText("State");
  if (ContainsText(state, u"uncheck")) return BST_UNCHECKED;
  if (ContainsText(state, u"gray")) return BST_INDETERMINATE;
  if (ContainsText(state, u"check")) return BST_CHECKED;
  if (!PropertyText("Checked").empty()) return IsTrueText(PropertyText("Checked")) ? BST_CHECKED : BST_UNCHECKED;
  return static_cast<int>(SendMessageW(Handle(), BM_GETCHECK, 0, 0) & 3);
}

const TSkinBitmap& TSkinRadioButton::BoxImage() const { return Model().Buttons.RadioImage; }
int TSkinRadioButton::BoxFrameCount() const { return Model().Buttons.RadioButtonFrame; }

int TSkinRadioButton::CheckState() const {
  if (Control() && !PropertyText("Checked").empty())
    return IsTrueText(PropertyText("Checked")) ? BST_CHECKED : BST_UNCHECKED;
  return static_cast<int>(SendMessageW(Handle(), BM_GETCHECK, 0, 0) & 3);
}

void TSkinCheckBox::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      Repaint();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      pressed_ = false;
      Repaint();
      return;
    case gui::CM_MOUSEENTER:
    case gui::CM_MOUSELEAVE:
      hot_ = message.Msg == gui::CM_MOUSEENTER;
      pressed_ = pressed_ && hot_;
      Repaint();
      return;
    // The system button draws its box itself on these.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
    case gui::CM_EXIT:
    case gui::CM_CHECKSTATECHANGED:
      Repaint();
      return;
    default:
      TSkinControl::AfterMessage(message);
  }
}

void TSkinCheckBox::Draw(HDC dc, const RECT& bounds) {
  const TSkinBitmap& image = BoxImage();
  const int count = BoxFrameCount();
  if (image.Empty() || count <= 0) return;
  RECT box = bounds;
  if (Style() & BS_LEFTTEXT)
    box.left = box.right - kBoxWidth;
  else
    box.right = box.left + kBoxWidth;
  FillParentColour(dc, box);
  const bool enabled = (Style() & WS_DISABLED) == 0;
  DrawFrameCentred(dc, box, Bitmap(image), true, count, BoxFrame(CheckState(), enabled, pressed_, hot_, count));
  if (!enabled) DrawDisabledText(dc, bounds);
}

// The system etches a disabled button's text in its own highlight and
// shadow, which cannot be read on a dark face: it is drawn again, flat, in
// the skin's disabled text colour.
void TSkinCheckBox::DrawDisabledText(HDC dc, const RECT& bounds) {
  RECT text = bounds;
  if (Style() & BS_LEFTTEXT)
    text.right -= kBoxWidth + kTextGap;
  else
    text.left += kBoxWidth + kTextGap;
  if (text.right <= text.left) return;
  FillParentColour(dc, text);
  const rt::WideString caption = Control() ? PropertyText("Caption") : WindowText();
  if (caption.empty()) return;
  HFONT font = Control() ? Control()->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  gui::TSelectObject selected(dc, font);
  TBackgroundMode transparent(dc, TRANSPARENT);
  SetTextColor(dc, SkinColour(Model().SkinColours.ButtonShadow));
  const bool hidePrefix = (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  DrawTextW(dc, rt::AsWchar(caption), static_cast<int>(caption.size()), &text,
            TextFormat(Style()) | (hidePrefix ? DT_HIDEPREFIX : 0));
}

void TSkinObjImage::Draw(HDC dc, const RECT& bounds) {
  // The control's own glyphs, when it asks for them.
  if (IsTrueText(PropertyText("UseCustomGlyphs")) && !PropertyText("CustomGlyphs").empty()) return;
  TSkinCheckBox::Draw(dc, bounds);
}

}  // namespace skin
