#include "runtime/wide_text_win.h"
#include "skin/controls/box_painters_win.h"

#include <commctrl.h>

#include "runtime/gui/handles.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {

namespace {

constexpr int kExtraImageFrames = 5;
constexpr int kSizeGripFrame = 5;

}  // namespace

// Group boxes.

bool TSkinGroupBox::BeforeMessage(gui::TMessage& message) {
  if (PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

void TSkinGroupBox::Draw(HDC dc, const RECT& bounds) {
  if (SkinData()->FaceBrush())
    FillRect(dc, &bounds, SkinData()->FaceBrush());
  else
    FillFace(dc, bounds);
  const rt::WideString caption = Control() ? PropertyText("Caption") : WindowText();
  HFONT font = Control() ? Control()->Font().Handle() : reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  gui::TSelectObject selected(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // The frame's top line runs through the middle of the caption.
  RECT frame = bounds;
  frame.top += metrics.tmHeight / 2;
  gui::UniqueBrush shadow(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonShadow)));
  FrameRect(dc, &frame, shadow.get());
  if (caption.empty()) return;
  RECT text{bounds.left + 8, bounds.top, bounds.right - 8, bounds.top + metrics.tmHeight};
  const auto* chars = rt::AsWchar(caption);
  DrawTextW(dc, chars, static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_CALCRECT);
  text.right += 4;
  FillFace(dc, text);
  const bool enabled = (Style() & WS_DISABLED) == 0;
  SetTextColor(dc, enabled ? SkinColour(Model().SkinColours.ButtonText) : SkinColour(Model().SkinColours.ButtonShadow));
  TBackgroundMode transparent(dc, TRANSPARENT);
  OffsetRect(&text, 2, 0);
  DrawTextW(dc, chars, static_cast<int>(caption.size()), &text, DT_SINGLELINE);
}

// Tool bars.

int TSkinBox::ToolbarFrame(UINT itemState) {
  if (itemState & CDIS_DISABLED) return 3;
  if (itemState & CDIS_SELECTED) return 2;
  if (itemState & CDIS_HOT) return 4;
  if (itemState & CDIS_CHECKED) return 5;
  return 0;
}

bool TSkinBox::BeforeMessage(gui::TMessage& message) {
  if (message.Msg != gui::CN_NOTIFY) return TSkinControl::BeforeMessage(message);
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(message.LParam);
  const TDataSkinObject* toolbars = Model().Toolbars.get();
  if (!draw || draw->nmcd.hdr.hwndFrom != Handle() || draw->nmcd.hdr.code != static_cast<UINT>(NM_CUSTOMDRAW) ||
      !toolbars || toolbars->Image.Empty())
    return TSkinControl::BeforeMessage(message);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      message.Result = CDRF_NOTIFYITEMDRAW;
      return false;
    case CDDS_ITEMPREPAINT: {
      // The skin's button behind the bar's own text.
      if (const int frame = ToolbarFrame(draw->nmcd.uItemState))
        DrawNineSlice(draw->nmcd.hdc, draw->nmcd.rc, Bitmap(toolbars->Image), SliceMargins(toolbars->Margins), false,
                      toolbars->Tile != 0, 5, frame, toolbars->Trans != 0);
      draw->clrText = SkinColour(Model().SkinColours.ButtonText);
      message.Result = CDRF_DODEFAULT | TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND | TBCDRF_USECDCOLORS;
      return false;
    }
    default:
      return TSkinControl::BeforeMessage(message);
  }
}

// Nested dialogs of foreign windows.

bool TSkinBoxH::BeforeMessage(gui::TMessage& message) {
  if (message.Msg != WM_ERASEBKGND) return TSkinControl::BeforeMessage(message);
  RECT client{};
  GetClientRect(Handle(), &client);
  FillFace(reinterpret_cast<HDC>(message.WParam), client);
  message.Result = 0;
  return false;
}

// Size grips of foreign windows.

void TSkinSizer::Draw(HDC dc, const RECT& bounds) {
  FillFace(dc, bounds);
  // The skin's own grip, where it has one.
  if (const TDataSkinObject* extra = Model().ExtraImages.get(); extra && !extra->Image.Empty())
    DrawFrameCentred(dc, bounds, Bitmap(extra->Image), true, kExtraImageFrames, kSizeGripFrame);
}

}  // namespace skin
