#include "runtime/wide_text_win.h"
#include "skin/controls/push_button_painters_win.h"

#include "runtime/gui/graphics.h"
#include "skin/controls/glyph_layout_win.h"
#include "skin/controls/property_values.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"

namespace skin {

namespace {

constexpr int kButtonFrames = 5;

rt::WideString WithLineBreaks(rt::WideString text) {
  for (size_t at = text.find(u"||"); at != rt::WideString::npos; at = text.find(u"||", at + 2))
    text.replace(at, 2, u"\r\n");
  return text;
}

const gui::TBitmap* GlyphOf(gui::TControl* control) {
  if (!control || !rt::HasProperty(*control, "Glyph")) return nullptr;
  auto* picture = dynamic_cast<gui::TPicture*>(&rt::GetObjectProperty(*control, "Glyph"));
  return picture ? &picture->Bitmap() : nullptr;
}

}  // namespace

// Push buttons.

bool TSkinButton::BeforeMessage(gui::TMessage& message) {
  if (HasImage() && PaintsWholeControl(message)) return false;
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The control never sees the press: the painter draws it and clicks
      // on the release itself.
      if (GetFocus() != Handle()) SetFocus(Handle());
      StateBits |= kButtonPressed;
      Repaint();
      return false;
    default:
      return TSkinControl::BeforeMessage(message);
  }
}

void TSkinButton::SetHot(bool hot) {
  TSkinFormFrame* form = SkinForm();
  if (hot) {
    StateBits |= kButtonHot;
    Repaint();
    if (form) form->SetHotButton(this);
  } else {
    StateBits &= static_cast<uint8_t>(~(kButtonHot | kButtonPressed));
    Repaint();
    if (form) form->ClearHotButton(this);
  }
}

void TSkinButton::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_KEYDOWN:
      if (message.WParam != VK_SPACE) break;
      StateBits |= kButtonPressed;
      Repaint();
      return;
    case WM_KEYUP:
      if (message.WParam != VK_SPACE) break;
      StateBits &= static_cast<uint8_t>(~kButtonPressed);
      Repaint();
      return;
    case WM_MOUSEMOVE:
      if (StateBits & kButtonHot) return;
      if (TSkinFormFrame* form = SkinForm(); form && form->HotButton() && form->HotButton() != this)
        form->HotButton()->MouseLeave();
      SetHot(true);
      return;
    case WM_LBUTTONUP:
      if (!(StateBits & kButtonPressed)) return;
      StateBits &= static_cast<uint8_t>(~kButtonPressed);
      Repaint();
      Clicked();  // may free the painter: nothing after it
      return;
    case gui::CM_MOUSEENTER:
      if (Enabled) SetHot(true);
      return;
    case gui::CM_MOUSELEAVE:
      if (Enabled) SetHot(false);
      return;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      // The system button draws itself at once on these.
      Repaint();
      return;
    default:
      break;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinButton::Clicked() {
  if (gui::TControl* control = Control()) {
    control->Click();
  } else if (const HWND parent = GetParent(Handle())) {
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), 0), reinterpret_cast<LPARAM>(Handle()));
  }
}

int TSkinButton::StateFrame() const {
  if (Style() & WS_DISABLED) return bfDisabled;
  if (StateBits & kButtonPressed) return bfPressed;
  if (StateBits & kButtonHot) return bfHot;
  if ((Style() & 0x0F) == BS_DEFPUSHBUTTON) return bfDefault;
  if (GetFocus() == Handle()) return bfHot;
  return bfNormal;
}

bool TSkinButton::SizeBuffer(const RECT& bounds) {
  const SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (!buffer_ || size.cx != bufferSize_.cx || size.cy != bufferSize_.cy) {
    buffer_ = MakeFilledDib(size.cx, size.cy, SkinColour(Model().SkinColours.ButtonFace));
    bufferSize_ = size;
  }
  return static_cast<bool>(buffer_);
}

void TSkinButton::DrawBackground(HDC dc, int frame) const {
  const RECT all{0, 0, bufferSize_.cx, bufferSize_.cy};
  FillFace(dc, all);
  const TDataSkinButton& buttons = Model().Buttons;
  DrawNineSlice(dc, all, Bitmap(buttons.Image), SliceMargins(buttons.Margins), false, buttons.Tile != 0,
                kButtonFrames, frame, buttons.Trans == 1);
}

void TSkinButton::DrawCaption(HDC dc, const RECT& bounds, int frame) {
  const TDataSkinButton& buttons = Model().Buttons;
  gui::TControl* control = Control();
  const bool disabled = frame == bfDisabled;
  rt::WideString caption;
  HFONT font = nullptr;
  COLORREF colour = 0;
  if (control) {
    caption = PropertyText("Caption");
    multiLine_ = IsTrueText(PropertyText("MultiLine"));
    font = control->Font().Handle();
    colour = gui::ColorToRGB(control->Font().Color());
    if (frame == bfNormal && buttons.HasNormalColour2) colour = gui::ColorToRGB(buttons.NormalColour2);
    if (frame == bfHot && buttons.HasMouseOverColour2) colour = gui::ColorToRGB(buttons.MouseOverColour2);
    if (frame == bfPressed && buttons.HasPressedColour2) colour = gui::ColorToRGB(buttons.PressedColour2);
    if (disabled) colour = GetSysColor(COLOR_BTNSHADOW);
  } else {
    caption = WindowText();
    font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    colour = SkinColour(Model().SkinColours.ButtonText);
    if (frame == bfNormal) colour = gui::ColorToRGB(buttons.NormalColour2);
    if (frame == bfHot) colour = gui::ColorToRGB(buttons.MouseOverColour2);
    if (frame == bfPressed) colour = gui::ColorToRGB(buttons.PressedColour2);
    if (disabled) colour = 0x808080;
  }
  const rt::WideString text = WithLineBreaks(caption);
  gui::TSelectObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, colour);
  TBackgroundMode transparent(dc, TRANSPARENT);
  const auto* chars = rt::AsWchar(text);
  RECT block = bounds;
  DrawTextW(dc, chars, static_cast<int>(text.size()), &block,
            DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  const int dx = (bounds.right - bounds.left - (block.right - block.left)) / 2;
  const int dy = (bounds.bottom - bounds.top - (block.bottom - block.top)) / 2 - 1;
  OffsetRect(&block, bounds.left + dx - block.left, bounds.top + dy - block.top);
  DrawTextW(dc, chars, static_cast<int>(text.size()), &block, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
}

void TSkinButton::Draw(HDC dc, const RECT& bounds) {
  if (!HasImage()) return;
  Enabled = (Style() & WS_DISABLED) == 0;
  Focused = GetFocus() == Handle();
  const int frame = StateFrame();
  if (!SizeBuffer(bounds)) return;
  TBitmapDc buffer(buffer_.get());
  DrawBackground(buffer.get(), frame);
  DrawCaption(buffer.get(), {0, 0, bufferSize_.cx, bufferSize_.cy}, frame);
  BitBlt(dc, bounds.left, bounds.top, bufferSize_.cx, bufferSize_.cy, buffer.get(), 0, 0, SRCCOPY);
}

// Bitmap buttons.

void TSkinBitButton::Draw(HDC dc, const RECT& bounds) {
  if (!HasImage()) return;
  Enabled = (Style() & WS_DISABLED) == 0;
  int frame = bfNormal;
  if (!Enabled)
    frame = bfDisabled;
  else if (StateBits & kButtonPressed)
    frame = bfPressed;
  else if ((StateBits & kButtonHot) || GetFocus() == Handle())
    frame = bfHot;
  else if (IsTrueText(PropertyText("Default")))
    frame = bfDefault;
  if (!SizeBuffer(bounds)) return;
  TBitmapDc buffer(buffer_.get());
  DrawBackground(buffer.get(), frame);
  TGlyphCaption what;
  what.Glyph = GlyphOf(Control());
  what.NumGlyphs = IntegerText(PropertyText("NumGlyphs"), 1);
  what.GlyphFrame = frame == bfDisabled ? 1 : frame == bfPressed ? 2 : 0;
  what.Caption = Control() ? PropertyText("Caption") : WindowText();
  what.Layout = GlyphLayoutFromText(PropertyText("Layout"));
  what.Margin = IntegerText(PropertyText("Margin"), -1);
  what.Spacing = IntegerText(PropertyText("Spacing"), 4);
  what.Font = Control() ? Control()->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  what.TextColour = frame == bfDisabled ? GetSysColor(COLOR_BTNSHADOW)
                    : Control()        ? gui::ColorToRGB(Control()->Font().Color())
                                       : SkinColour(Model().SkinColours.ButtonText);
  DrawGlyphCaption(buffer.get(), what, {0, 0, bufferSize_.cx, bufferSize_.cy});
  BitBlt(dc, bounds.left, bounds.top, bufferSize_.cx, bufferSize_.cy, buffer.get(), 0, 0, SRCCOPY);
}

// Speed buttons.

bool TSkinSpeedButton::BeforeMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button keeps its own press handling (groups, Down).
      StateBits |= kButtonPressed;
      return true;
    case WM_LBUTTONUP:
      StateBits &= static_cast<uint8_t>(~kButtonPressed);
      return true;
    default:
      return TSkinButton::BeforeMessage(message);
  }
}

void TSkinSpeedButton::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      Repaint();
      return;
    case gui::CM_MOUSEENTER:
      StateBits |= kButtonHot;
      Repaint();
      return;
    case gui::CM_MOUSELEAVE:
      StateBits &= static_cast<uint8_t>(~(kButtonHot | kButtonPressed));
      Repaint();
      return;
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_KEYUP:
      return;
    default:
      TSkinButton::AfterMessage(message);
  }
}

void TSkinSpeedButton::Draw(HDC dc, const RECT& bounds) {
  if (!HasImage()) return;
  const bool enabled = Control() ? Control()->Enabled() : (Style() & WS_DISABLED) == 0;
  const bool down = IsTrueText(PropertyText("Down"));
  const bool flat = IsTrueText(PropertyText("Flat"));
  const bool hot = (StateBits & kButtonHot) != 0;
  int frame = bfNormal;
  if (!enabled)
    frame = bfDisabled;
  else if ((StateBits & kButtonPressed) || down)
    frame = bfPressed;
  else if (hot)
    frame = bfHot;
  if (!SizeBuffer(bounds)) return;
  TBitmapDc buffer(buffer_.get());
  const RECT inner{0, 0, bufferSize_.cx, bufferSize_.cy};
  // A flat button at rest shows no button, only its glyph and caption.
  if (flat && frame == bfNormal)
    FillParentColour(buffer.get(), inner);
  else
    DrawBackground(buffer.get(), frame);
  TGlyphCaption what;
  what.Glyph = GlyphOf(Control());
  what.NumGlyphs = IntegerText(PropertyText("NumGlyphs"), 1);
  what.GlyphFrame = frame == bfDisabled ? 1 : down ? 3 : frame == bfPressed ? 2 : 0;
  what.Caption = PropertyText("Caption");
  what.Layout = GlyphLayoutFromText(PropertyText("Layout"));
  what.Margin = IntegerText(PropertyText("Margin"), -1);
  what.Spacing = IntegerText(PropertyText("Spacing"), 4);
  what.Font = Control() ? Control()->Font().Handle() : nullptr;
  what.TextColour = enabled ? (Control() ? gui::ColorToRGB(Control()->Font().Color()) : 0)
                            : GetSysColor(COLOR_BTNSHADOW);
  DrawGlyphCaption(buffer.get(), what, inner);
  BitBlt(dc, bounds.left, bounds.top, bufferSize_.cx, bufferSize_.cy, buffer.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
