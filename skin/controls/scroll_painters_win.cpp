#include "skin/controls/scroll_painters_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "runtime/gui/graphics.h"
#include "runtime/gui/handles.h"
#include "skin/controls/tab_painters_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {

namespace {

// The Scrollbar object's strip.
constexpr int kBarFrames = 23;
constexpr int kUpArrow = 1, kDownArrow = 5, kLeftArrow = 9, kRightArrow = 13;
constexpr int kHorzGripMarks = 19, kVertGripMarks = 20;
constexpr int kBarTrack = 21;  // normal, pressed, disabled
// Arrow buttons and tracks: normal, pressed, disabled, hot.
enum TButtonState { bsNormal = 0, bsPressed = 1, bsDisabled = 2, bsHot = 3 };
constexpr int kTrackFrames = 4;
constexpr int kThumbFrames = 3;  // normal, pressed, hot

constexpr UINT kRepeatDelay = 300;
constexpr UINT kRepeatInterval = 50;
// Enough for any list a user scrolls through by hand.
constexpr int kMaxLineSteps = 100000;

bool Usable(const TDataSkinObject* object) { return object && !object->Image.Empty(); }

void FillPlain(HDC dc, const RECT& rect, const TSkinModel& model) {
  gui::UniqueBrush brush(CreateSolidBrush(gui::ColorToRGB(model.SkinColours.Scrollbar)));
  FillRect(dc, &rect, brush.get());
}

TButtonState StateOf(TScrollPart part, bool active, TScrollPart hot, TScrollPart pressed) {
  if (!active) return bsDisabled;
  if (pressed == part) return bsPressed;
  if (hot == part) return bsHot;
  return bsNormal;
}

void DrawArrow(HDC dc, const TSkinModel& model, const TSkinData& data, const RECT& rect, int firstFrame,
               TButtonState state) {
  if (IsEmptyDestination(rect)) return;
  if (Usable(model.Scrollbar.get())) {
    // The buttons' rounded corners are key-coloured whatever the object's
    // Trans says: they show the face colour, never magenta.
    gui::UniqueBrush face(CreateSolidBrush(gui::ColorToRGB(model.SkinColours.ButtonFace)));
    FillRect(dc, &rect, face.get());
    DrawFrameStretched(dc, rect, data.ImageBitmap(model.Scrollbar->Image), true, kBarFrames, firstFrame + state);
    return;
  }
  UINT kind = DFCS_SCROLLUP;
  if (firstFrame == kDownArrow) kind = DFCS_SCROLLDOWN;
  if (firstFrame == kLeftArrow) kind = DFCS_SCROLLLEFT;
  if (firstFrame == kRightArrow) kind = DFCS_SCROLLRIGHT;
  if (state == bsPressed) kind |= DFCS_PUSHED | DFCS_FLAT;
  if (state == bsDisabled) kind |= DFCS_INACTIVE;
  RECT r = rect;
  DrawFrameControl(dc, &r, DFC_SCROLL, kind);
}

void DrawTrack(HDC dc, const TSkinModel& model, const TSkinData& data, const RECT& rect, bool vertical,
               TButtonState state) {
  if (IsEmptyDestination(rect)) return;
  const TDataSkinObject* track = vertical ? model.VertScroll.get() : model.HorzScroll.get();
  if (Usable(track)) {
    DrawNineSlice(dc, rect, data.ImageBitmap(track->Image), SliceMargins(track->Margins), false, track->Tile != 0,
                  kTrackFrames, state + 1, track->Trans != 0);
    return;
  }
  // The Scrollbar strip carries a plain track too, without a hot look.
  if (Usable(model.Scrollbar.get())) {
    const int frame = kBarTrack + (state == bsHot ? bsNormal : state);
    DrawFrameStretched(dc, rect, data.ImageBitmap(model.Scrollbar->Image), false, kBarFrames, frame);
    return;
  }
  FillPlain(dc, rect, model);
}

void DrawThumb(HDC dc, const TSkinModel& model, const TSkinData& data, const RECT& rect, bool vertical,
               TButtonState state) {
  const TDataSkinObject* thumb = vertical ? model.VertScrollThumb.get() : model.HorzScrollThumb.get();
  if (!Usable(thumb)) {
    RECT r = rect;
    DrawEdge(dc, &r, state == bsPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    return;
  }
  const int count = thumb->FrameCount > 0 ? thumb->FrameCount : kThumbFrames;
  int frame = state == bsPressed ? 2 : state == bsHot ? 3 : 1;
  if (frame > count) frame = 1;
  DrawNineSlice(dc, rect, data.ImageBitmap(thumb->Image), SliceMargins(thumb->Margins), false, thumb->Tile != 0, count,
                frame, thumb->Trans != 0);
  // Grip marks only where the thumb leaves room around them; they are
  // drawn over the thumb, so their background is always left out.
  if (!Usable(model.Scrollbar.get())) return;
  HBITMAP strip = data.ImageBitmap(model.Scrollbar->Image);
  const TFrameRect marks = SkinFrame(strip, kBarFrames, vertical ? kVertGripMarks : kHorzGripMarks, false);
  const int room = vertical ? RectHeight(rect) - marks.Height : RectWidth(rect) - marks.Width;
  if (room >= 8) DrawFrameCentred(dc, rect, strip, true, kBarFrames, vertical ? kVertGripMarks : kHorzGripMarks);
}

bool IsPage(TScrollPart part) { return part == spPageUp || part == spPageDown; }

}  // namespace

void DrawSkinScrollBar(HDC dc, const TSkinModel& model, const TSkinData& data, const RECT& bar, bool vertical,
                       const SCROLLINFO& info, bool enabled, TScrollPart hot, TScrollPart pressed) {
  if (IsEmptyDestination(bar)) return;
  const TScrollGeometry g = TScrollGeometry::Of(bar, vertical, info);
  const bool active = enabled && CanScroll(info);
  TButtonState trackState = bsNormal;
  if (!active)
    trackState = bsDisabled;
  else if (IsPage(pressed))
    trackState = bsPressed;
  else if (hot != spNone)
    trackState = bsHot;
  DrawTrack(dc, model, data, g.Track, vertical, trackState);
  DrawArrow(dc, model, data, g.LineUp, vertical ? kUpArrow : kLeftArrow, StateOf(spLineUp, active, hot, pressed));
  DrawArrow(dc, model, data, g.LineDown, vertical ? kDownArrow : kRightArrow,
            StateOf(spLineDown, active, hot, pressed));
  if (active && !IsRectEmpty(&g.Thumb))
    DrawThumb(dc, model, data, g.Thumb, vertical, StateOf(spThumb, active, hot, pressed));
}

// The bar window over a system scroll bar.

TWScrollbar::TWScrollbar(rt::TComponent* owner, TSkinData* data, HWND target, bool vertical)
    : gui::TWinControl(owner), data_(data), target_(target), vertical_(vertical), repeat_(nullptr) {
  SetDoubleBuffered(true);
  repeat_.SetEnabled(false);
  repeat_.SetOnTimer([this](rt::TObject*) { Repeat(); });
}

TWScrollbar::~TWScrollbar() {
  repeat_.SetEnabled(false);
  if (const HWND window = WindowHandle(); window && GetCapture() == window) {
    pressed_ = spNone;
    ReleaseCapture();
  }
}

void TWScrollbar::CreateParams(TCreateParams& params) {
  gui::TWinControl::CreateParams(params);
  params.BaseClass = nullptr;
  // Hidden until Place finds the target's bar; never a tab stop.
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  params.ExStyle = 0;
  params.X = params.Y = params.Width = params.Height = 0;
  params.WndParent = GetParent(target_);
}

void TWScrollbar::Place() {
  const HWND parent = GetParent(target_);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  const bool shown = parent && IsWindowVisible(target_) &&
                     GetScrollBarInfo(target_, vertical_ ? OBJID_VSCROLL : OBJID_HSCROLL, &info) &&
                     !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) &&
                     !IsRectEmpty(&info.rcScrollBar);
  if (!shown) {
    if (const HWND window = WindowHandle(); window && IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
    return;
  }
  RECT r = info.rcScrollBar;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const HWND window = Handle();
  // Just above the target: over its bar, but under whatever the target
  // itself lies under.
  const HWND above = GetWindow(target_, GW_HWNDPREV);
  // Moving a window invalidates what it uncovers: a bar that is already
  // in place must not be moved again from the target's own painting.
  RECT now{};
  GetWindowRect(window, &now);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
  // Both bars of a target lie just above it, in either order.
  const bool inOrder = above == window || (above && GetWindow(above, GW_HWNDPREV) == window);
  if (inOrder && IsWindowVisible(window) && EqualRect(&now, &r)) return;
  UINT flags = SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW;
  if (inOrder) flags |= SWP_NOZORDER;
  // A topmost target (a combo box's drop-down list, a child of the
  // desktop) can only be covered from the topmost band, at its top.
  const bool topmost = (GetWindowLongPtrW(target_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  const HWND insertAfter = topmost ? HWND_TOPMOST : above ? above : HWND_TOP;
  SetWindowPos(window, insertAfter, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
}

SCROLLINFO TWScrollbar::Info() const {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(target_, Bar(), &info)) info = SCROLLINFO{sizeof info, 0, 0, 0, 0, 0, 0};
  info.fMask &= ~static_cast<UINT>(SIF_TRACKPOS);
  if (pressed_ == spThumb) {
    // The target may show the position late (or only on release).
    info.fMask |= SIF_TRACKPOS;
    info.nTrackPos = static_cast<int>(dragPosition_);
  }
  return info;
}

bool TWScrollbar::BarEnabled() const {
  if (!IsWindowEnabled(target_)) return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(target_, vertical_ ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
  return !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TScrollGeometry TWScrollbar::Geometry() const {
  RECT client{};
  if (const HWND window = WindowHandle()) GetClientRect(window, &client);
  return TScrollGeometry::Of(client, vertical_, Info());
}

void TWScrollbar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(WindowHandle(), &client);
  shown_ = Info();
  shownEnabled_ = BarEnabled();
  DrawSkinScrollBar(dc, data_->Model(), *data_, client, vertical_, shown_, shownEnabled_, hot_, pressed_);
}

void TWScrollbar::RefreshIfChanged() {
  const SCROLLINFO now = Info();
  if (now.nMin == shown_.nMin && now.nMax == shown_.nMax && now.nPage == shown_.nPage && now.nPos == shown_.nPos &&
      now.nTrackPos == shown_.nTrackPos && now.fMask == shown_.fMask && BarEnabled() == shownEnabled_)
    return;
  Redraw();
}

void TWScrollbar::Redraw() {
  if (const HWND window = WindowHandle(); window && IsWindowVisible(window)) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
}

void TWScrollbar::Scroll(int code, int64_t position) {
  // The message carries 16 bits of position; a target with a longer range
  // reads the whole one with GetScrollInfo, and gets the low word here.
  const WORD low = static_cast<WORD>(position & 0xFFFF);
  SendMessageW(target_, vertical_ ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, low), 0);
}

void TWScrollbar::StartRepeat() {
  repeat_.SetInterval(kRepeatDelay);
  repeat_.SetEnabled(true);
}

void TWScrollbar::Repeat() {
  if (pressed_ == spNone || pressed_ == spThumb) {
    repeat_.SetEnabled(false);
    return;
  }
  if (repeat_.Interval() != kRepeatInterval) repeat_.SetInterval(kRepeatInterval);
  // Only while the mouse stays on the part pressed: paging stops when the
  // thumb reaches the mouse.
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(WindowHandle(), &cursor);
  if (Geometry().PartAt(cursor) != pressed_) return;
  const bool up = pressed_ == spLineUp || pressed_ == spPageUp;
  Scroll(IsPage(pressed_) ? (up ? SB_PAGEUP : SB_PAGEDOWN) : (up ? SB_LINEUP : SB_LINEDOWN));
  Redraw();
}

void TWScrollbar::Press(POINT p) {
  if (!BarEnabled()) return;
  const TScrollGeometry g = Geometry();
  const TScrollPart part = g.PartAt(p);
  if (part == spNone) return;
  SetCapture(WindowHandle());
  pressed_ = part;
  if (part == spThumb) {
    const SCROLLINFO info = Info();
    dragPosition_ = ScrollPositionOf(info);
    dragOffset_ = vertical_ ? p.y - g.Thumb.top : p.x - g.Thumb.left;
    Redraw();
    return;
  }
  const bool up = part == spLineUp || part == spPageUp;
  Scroll(IsPage(part) ? (up ? SB_PAGEUP : SB_PAGEDOWN) : (up ? SB_LINEUP : SB_LINEDOWN));
  StartRepeat();
  Redraw();
}

void TWScrollbar::Drag(POINT p) {
  const TScrollGeometry g = Geometry();
  SCROLLINFO info = Info();
  const int64_t position = g.PositionForThumbAt((vertical_ ? p.y : p.x) - dragOffset_, info);
  if (position == dragPosition_) return;
  dragPosition_ = position;
  ScrollToThumb(SB_THUMBTRACK, position);
  Redraw();
}

void TWScrollbar::ScrollToThumb(int code, int64_t position) {
  // Edit and list-view controls follow the thumb only on these messages;
  // setting the target's scroll info would move the bar, not the content.
  Scroll(code, position);
  // Some controls (list views) take the position from GetScrollInfo's
  // tracking position rather than from the message, and no system
  // tracking runs to set it; others see only the low word of a long
  // range. Those are stepped on by lines until they get there.
  int now = GetScrollPos(target_, Bar());
  for (int step = 0; now != position && step < kMaxLineSteps; ++step) {
    Scroll(now < position ? SB_LINEDOWN : SB_LINEUP);
    const int next = GetScrollPos(target_, Bar());
    // No progress, or a line carried it past: as near as it goes.
    if (next == now || (next < position) != (now < position)) break;
    now = next;
  }
}

void TWScrollbar::Release() {
  const TScrollPart was = pressed_;
  if (was == spNone) return;
  repeat_.SetEnabled(false);
  if (was == spThumb) ScrollToThumb(SB_THUMBPOSITION, dragPosition_);
  pressed_ = spNone;
  if (GetCapture() == WindowHandle()) ReleaseCapture();
  Scroll(SB_ENDSCROLL);
  Redraw();
}

void TWScrollbar::SetHot(TScrollPart part) {
  if (part == hot_) return;
  hot_ = part;
  Redraw();
}

void TWScrollbar::WndProc(gui::TMessage& message) {
  const POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  switch (message.Msg) {
    case WM_MOUSEACTIVATE:
      message.Result = MA_NOACTIVATE;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Press(p);
      return;
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, WindowHandle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      if (pressed_ == spThumb) Drag(p);
      SetHot(pressed_ == spThumb ? spThumb : Geometry().PartAt(p));
      return;
    case WM_LBUTTONUP:
      Release();
      return;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the press ends as on release.
      if (reinterpret_cast<HWND>(message.LParam) != WindowHandle()) Release();
      return;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      SetHot(spNone);
      return;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      message.Result = SendMessageW(target_, message.Msg, message.WParam, message.LParam);
      Redraw();
      return;
    case WM_SETFOCUS:
      // The bar never keeps the focus: it goes back to the target.
      ::SetFocus(target_);
      return;
    default:
      gui::TWinControl::WndProc(message);
  }
}

// Controls with system scroll bars.

TSkinScrollbar::~TSkinScrollbar() { DestroyBars(); }

void TSkinScrollbar::AttachScrollbar(gui::TControl* control, TSkinData* data, TSkinFormFrame* skinForm) {
  // The base attaches the painter's owner; a painter made for another
  // control moves under it first.
  if (control && control != Owner()) control->InsertComponent(this);
  AttachControl(skinForm, data, false);
  MakeBars();
  UpdateBars();
}

void TSkinScrollbar::MakeBars() {
  const HWND target = Handle();
  if (!target || !SkinData()) return;
  // Without it the control would paint its own bars over ours whenever
  // it redraws its frame.
  if (!(GetWindowLongPtrW(target, GWL_STYLE) & WS_CLIPSIBLINGS)) {
    SetWindowLongPtrW(target, GWL_STYLE, GetWindowLongPtrW(target, GWL_STYLE) | WS_CLIPSIBLINGS);
    addedClipSiblings_ = true;
  }
  if (!horizontal_) horizontal_ = std::make_unique<TWScrollbar>(nullptr, SkinData(), target, false);
  if (!vertical_) vertical_ = std::make_unique<TWScrollbar>(nullptr, SkinData(), target, true);
}

void TSkinScrollbar::DestroyBars() {
  horizontal_.reset();
  vertical_.reset();
  if (addedClipSiblings_ && IsWindow(Handle()))
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS));
  addedClipSiblings_ = false;
}

void TSkinScrollbar::UpdateBars() {
  for (TWScrollbar* bar : {horizontal_.get(), vertical_.get()}) {
    if (!bar) continue;
    bar->Place();
    bar->RefreshIfChanged();
  }
}

void TSkinScrollbar::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SETTEXT:
    case WM_LBUTTONUP:
    case WM_TIMER:
    case WM_STYLECHANGED:
    case WM_ENABLE:
    case gui::CM_VISIBLECHANGED:
    case gui::CM_ENABLEDCHANGED:
      UpdateBars();
      break;
    default:
      // Edit, list-box and list-view messages that change the content or
      // scroll it.
      if ((message.Msg >= EM_GETSEL && message.Msg <= EM_GETIMESTATUS) ||
          (message.Msg >= LB_ADDSTRING && message.Msg <= LB_MSGMAX) ||
          (message.Msg >= LVM_FIRST && message.Msg < LVM_FIRST + 0x100))
        UpdateBars();
      break;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinScrollbar::Unskin() {
  DestroyBars();
  TSkinControl::Unskin();
}

void TSkinListView::AttachScrollbar(gui::TControl* control, TSkinData* data, TSkinFormFrame* skinForm) {
  TSkinScrollbar::AttachScrollbar(control, data, skinForm);
  if (!Handle()) return;
  const auto header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  if (header && !(skinForm && skinForm->FindControl(header))) {
    auto* painter = new TSkinHeader(Owner());
    painter->AttachWindow(header, data, skinForm);
  }
}

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm) {
  TSkinScrollbar::AttachWindow(window, data, skinForm);
  MakeBars();
  UpdateBars();
}

// Scroll-bar controls.

TScrollGeometry TSkinScControl::Geometry() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL & ~static_cast<UINT>(SIF_TRACKPOS);
  GetScrollInfo(Handle(), SB_CTL, &info);
  return TScrollGeometry::Of(client, (Style() & SBS_VERT) != 0, info);
}

void TSkinScControl::SetHot(TScrollPart part) {
  if (part == hot_) return;
  hot_ = part;
  Repaint();
}

bool TSkinScControl::BeforeMessage(gui::TMessage& message) {
  if (PaintsWholeControl(message)) return false;
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Set before the control's tracking loop runs, so that repaints
      // inside it show the part pressed.
      pressed_ = Geometry().PartAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
      return true;
    default:
      return TSkinControl::BeforeMessage(message);
  }
}

void TSkinScControl::AfterMessage(gui::TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The system control tracks the mouse inside the press and draws
      // itself directly meanwhile: the skin goes back on once it returns.
      pressed_ = spNone;
      Repaint();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (pressed_ == spNone) return;
      pressed_ = spNone;
      Repaint();
      return;
    case WM_MOUSEMOVE:
      TrackMouseLeave();
      if (pressed_ != spNone) {
        Repaint();
        return;
      }
      SetHot(Geometry().PartAt({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}));
      return;
    case WM_MOUSELEAVE:
    case gui::CM_MOUSELEAVE:
      SetHot(spNone);
      return;
    case WM_TIMER:
      if (pressed_ != spNone) Repaint();
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_SETSCROLLINFO:
    case SBM_ENABLE_ARROWS:
    case gui::CN_HSCROLL:
    case gui::CN_VSCROLL:
      // The system control draws itself at once on these; a framework
      // bar also gets its notifications back while it tracks.
      Repaint();
      return;
    default:
      TSkinControl::AfterMessage(message);
  }
}

void TSkinScControl::Draw(HDC dc, const RECT& bounds) {
  const int width = RectWidth(bounds), height = RectHeight(bounds);
  if (width < 1 || height < 1) return;
  const DWORD style = Style();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(Handle(), SB_CTL, &info);
  // The tracking position only while the thumb is held.
  if (pressed_ != spThumb) info.fMask &= ~static_cast<UINT>(SIF_TRACKPOS);
  gui::UniqueBitmap buffer = MakeFilledDib(width, height, gui::ColorToRGB(Model().SkinColours.Scrollbar));
  {
    TBitmapDc out(buffer.get());
    const RECT all{0, 0, width, height};
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) {
      FillFace(out.get(), all);
      if (Usable(Model().Scrollbar.get()))
        DrawFrameCentred(out.get(), all, Bitmap(Model().Scrollbar->Image), true, kBarFrames, 18);
    } else {
      DrawSkinScrollBar(out.get(), Model(), *SkinData(), all, (style & SBS_VERT) != 0, info,
                        (style & WS_DISABLED) == 0, hot_, pressed_);
    }
    BitBlt(dc, bounds.left, bounds.top, width, height, out.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace skin
