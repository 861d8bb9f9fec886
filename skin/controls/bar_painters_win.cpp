#include "skin/controls/bar_painters_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "runtime/gui/handles.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"
#include "skin/drawing/tile_win.h"
#include "skin/drawing/transparent_blit_win.h"

namespace skin {

namespace {

constexpr int kProgressFrames = 2;
enum TProgressFrame { pfTrough = 1, pfBar = 2 };
constexpr int kThumbFrames = 5;
enum TThumbFrame { thNormal = 1, thPressed = 2, thDisabled = 3, thHot = 4, thFocused = 5 };
constexpr int kStatusFrames = 3;
enum TStatusFrame { sfSunken = 1, sfRaised = 2, sfLast = 3 };
constexpr int kExtraImageFrames = 5;
constexpr int kSizeGripFrame = 5;

// Repeats the chunk image over the bar's inside. The chunks run past the
// bar's end and are cut there; a transparent chunk is tiled onto a
// key-coloured sheet first, so that its key pixels show the trough.
void DrawChunks(HDC canvas, const RECT& inner, HBITMAP chunk, bool transparent) {
  const SIZE chunkSize = BitmapSize(chunk);
  const RECT source{0, 0, chunkSize.cx, chunkSize.cy};
  if (!transparent) {
    gui::TSavedDc clip(canvas);
    IntersectClipRect(canvas, inner.left, inner.top, inner.right, inner.bottom);
    Tile(canvas, inner, chunk, source);
    return;
  }
  const int width = inner.right - inner.left;
  const int height = inner.bottom - inner.top;
  if (width < 1 || height < 1) return;
  gui::UniqueBitmap sheet = MakeFilledDib(width, height, kSkinKeyColour);
  if (!sheet) return;
  {
    TBitmapDc sheetDc(sheet.get());
    Tile(sheetDc.get(), {0, 0, width, height}, chunk, source);
  }
  TransparentBlit(canvas, inner, sheet.get(), kSkinKeyColour);
}

}  // namespace

// Progress bars.

bool TSkinProgress::BeforeMessage(gui::TMessage& message) {
  const TDataSkinBorder* progress = Model().Progress.get();
  if (progress && !progress->Image.Empty() && PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

void TSkinProgress::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
      Repaint();
      return;
    default:
      TSkinControl::AfterMessage(message);
  }
}

void TSkinProgress::Draw(HDC dc, const RECT& bounds) {
  const TDataSkinBorder& progress = *Model().Progress;
  gui::UniqueBitmap buffer = MakeFilledDib(bounds.right, bounds.bottom, SkinColour(Model().SkinColours.ButtonFace));
  if (!buffer) return;
  TBitmapDc canvas(buffer.get());
  const HBITMAP image = Bitmap(progress.Image);
  const TSliceMargins margins = SliceMargins(progress.Margins);
  DrawNineSlice(canvas.get(), bounds, image, margins, false, progress.Tile != 0, kProgressFrames, pfTrough,
                progress.Trans != 0);
  const int low = static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, TRUE, 0));
  const int high = static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0));
  const int position = static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
  if (high > low && position > low) {
    const bool vertical = (Style() & PBS_VERTICAL) != 0;
    const double part = std::min(1.0, static_cast<double>(position - low) / (high - low));
    RECT bar = bounds;
    if (vertical)
      bar.top = bar.bottom - static_cast<int>(part * (bounds.bottom - bounds.top) + 0.5);
    else
      bar.right = bar.left + static_cast<int>(part * (bounds.right - bounds.left) + 0.5);
    if (HBITMAP chunk = Bitmap(progress.SecondImage)) {
      RECT inner = bar;
      inner.left += margins.Left;
      inner.top += margins.Top;
      inner.right = std::max<LONG>(inner.left, inner.right - margins.Right);
      inner.bottom = std::max<LONG>(inner.top, inner.bottom - margins.Bottom);
      DrawChunks(canvas.get(), inner, chunk, progress.Trans != 0);
    } else {
      DrawNineSlice(canvas.get(), bar, image, margins, false, progress.Tile != 0, kProgressFrames, pfBar,
                    progress.Trans != 0);
    }
  }
  BitBlt(dc, 0, 0, bounds.right, bounds.bottom, canvas.get(), 0, 0, SRCCOPY);
}

// Track bars.

bool TSkinTrackBar::BeforeMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle(), &client);
      FillParentColour(reinterpret_cast<HDC>(message.WParam), client);
      message.Result = 1;
      return false;
    }
    case gui::CN_CTLCOLORSTATIC:
      // The ticks' background: the parent's colour, as the channel's.
      parentBrush_.reset(CreateSolidBrush(ParentColour()));
      SetBkColor(reinterpret_cast<HDC>(message.WParam), ParentColour());
      message.Result = reinterpret_cast<LRESULT>(parentBrush_.get());
      return false;
    case WM_NOTIFY:
    case gui::CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      if (!header || header->hwndFrom != Handle() || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) break;
      LRESULT result = CDRF_DODEFAULT;
      if (!CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(message.LParam), result)) break;
      message.Result = result;
      return false;
    }
    default:
      break;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinTrackBar::AfterMessage(gui::TMessage& message) {
  if (!FollowMouse(message)) TSkinControl::AfterMessage(message);
}

bool TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result) {
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    // The background is the parent's colour, as the erasing leaves it.
    FillParentColour(draw.hdc, draw.rc);
    result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return false;
  switch (draw.dwItemSpec) {
    case TBCD_THUMB: {
      const bool enabled = (Style() & WS_DISABLED) == 0;
      const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0;
      const int frame = !enabled ? thDisabled : pressed ? thPressed : HotPart() >= 0 ? thHot
                        : GetFocus() == Handle()      ? thFocused
                                                      : thNormal;
      DrawThumb(draw.hdc, draw.rc, frame);
      result = CDRF_SKIPDEFAULT;
      return true;
    }
    case TBCD_CHANNEL:
      DrawChannel(draw.hdc, draw.rc);
      result = CDRF_SKIPDEFAULT;
      return true;
    default:
      return false;
  }
}

void TSkinTrackBar::DrawChannel(HDC dc, const RECT& channel) {
  gui::UniqueBrush shadow(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonShadow)));
  gui::UniqueBrush light(CreateSolidBrush(SkinColour(Model().SkinColours.ButtonHilight)));
  RECT inner = channel;
  FillRect(dc, &inner, light.get());
  FrameRect(dc, &inner, shadow.get());
}

void TSkinTrackBar::DrawThumb(HDC dc, const RECT& thumb, int frame) {
  const DWORD style = Style();
  const bool vertical = (style & TBS_VERT) != 0;
  const TSkinModel& model = Model();
  const TDataSkinObject* object;
  if (style & (TBS_BOTH | TBS_NOTICKS))
    object = vertical ? model.TrackbarThumbVert.get() : model.TrackbarThumbHorz.get();
  else if (vertical)
    object = (style & TBS_LEFT) ? model.TrackbarThumbLeft.get() : model.TrackbarThumbRight.get();
  else
    object = (style & TBS_TOP) ? model.TrackbarThumbUp.get() : model.TrackbarThumbDown.get();
  if (!object || object->Image.Empty()) {
    DrawEdge(dc, const_cast<RECT*>(&thumb), EDGE_RAISED, BF_RECT | BF_MIDDLE);
    return;
  }
  DrawNineSlice(dc, thumb, Bitmap(object->Image), SliceMargins(object->Margins), false, object->Tile != 0,
                kThumbFrames, frame, object->Trans != 0);
}

// Status bars.

bool TSkinStatusBar::BeforeMessage(gui::TMessage& message) {
  const TDataSkinObject* edges = Model().StatusBarEdges.get();
  if (edges && !edges->Image.Empty() && PaintsWholeControl(message)) return false;
  return TSkinControl::BeforeMessage(message);
}

void TSkinStatusBar::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case SB_SETTEXTW:
    case SB_SETTEXTA:
    case SB_SETPARTS:
    case SB_SIMPLE:
    case WM_SIZE:
      Repaint();
      return;
    default:
      TSkinControl::AfterMessage(message);
  }
}

void TSkinStatusBar::Draw(HDC dc, const RECT& bounds) {
  const TDataSkinObject& edges = *Model().StatusBarEdges;
  gui::UniqueBitmap buffer = MakeFilledDib(bounds.right, bounds.bottom, SkinColour(Model().SkinColours.ButtonFace));
  if (!buffer) return;
  TBitmapDc canvas(buffer.get());
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
  gui::TSelectObject selectedFont(canvas.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TBackgroundMode transparent(canvas.get(), TRANSPARENT);
  SetTextColor(canvas.get(), SkinColour(Model().SkinColours.ButtonText));
  auto panel = [&](RECT r, WPARAM textIndex, int frame) {
    DrawNineSlice(canvas.get(), r, Bitmap(edges.Image), SliceMargins(edges.Margins), false, edges.Tile != 0,
                  kStatusFrames, frame, edges.Trans != 0);
    wchar_t text[512] = {};
    const LRESULT length = SendMessageW(Handle(), SB_GETTEXTLENGTHW, textIndex, 0);
    if (LOWORD(length) > 0 && LOWORD(length) < 512)
      SendMessageW(Handle(), SB_GETTEXTW, textIndex, reinterpret_cast<LPARAM>(text));
    InflateRect(&r, -4, 0);
    DrawTextW(canvas.get(), text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  };
  if (SendMessageW(Handle(), SB_ISSIMPLE, 0, 0)) {
    panel(bounds, SB_SIMPLEID, sfLast);
  } else {
    const int count = static_cast<int>(SendMessageW(Handle(), SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT r{};
      SendMessageW(Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      panel(r, static_cast<WPARAM>(i), i + 1 == count ? sfLast : sfSunken);
    }
  }
  if ((Style() & SBARS_SIZEGRIP) && Model().ExtraImages && !Model().ExtraImages->Image.Empty()) {
    const int size = bounds.bottom - bounds.top;
    const RECT grip{bounds.right - size, bounds.top, bounds.right, bounds.bottom};
    DrawFrameCentred(canvas.get(), grip, Bitmap(Model().ExtraImages->Image), true, kExtraImageFrames, kSizeGripFrame);
  }
  BitBlt(dc, 0, 0, bounds.right, bounds.bottom, canvas.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
