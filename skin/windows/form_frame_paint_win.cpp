// Painting the skinned frame: the borders, then the caption strip
// composed off-screen (top border, caption text, caption buttons) and
// copied in one blit.
#include <algorithm>

#include "runtime/text.h"
#include "runtime/wide_text_win.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"
#include "skin/drawing/three_slice_win.h"
#include "skin/drawing/transparent_blit_win.h"
#include "skin/windows/caption_layout_win.h"
#include "skin/windows/form_frame_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

constexpr int kSideLeft = 1, kSideRight = 2, kSideTop = 3, kSideBottom = 4;

}  // namespace

void TSkinFormFrame::RepaintFrame(HDC dc) {
  if (!attached_ || !FrameSkinning || !SkinData || SkinData->NoSkin()) return;
  if (Phase != phRunning && Phase != phRecolor) return;
  if (FrameKind == fkNone || (MdiKind == mdChild && WindowState != wsNormal)) return;
  try {
    if (dc) {
      PaintFrame(dc);
    } else {
      gui::TWindowFrameDc windowDc(Handle);
      if (windowDc.get()) PaintFrame(windowDc.get());
    }
  } catch (...) {
    // A frame that cannot be painted now is painted by the next request.
  }
  HotObject = nullptr;
}

void TSkinFormFrame::PaintFrame(HDC dc) {
  RECT window{};
  GetWindowRect(Handle, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  DrawBorder(dc, kSideLeft, {0, 0, FrameLeft, h});
  DrawBorder(dc, kSideRight, {w - FrameRight, 0, w, h});
  DrawBorder(dc, kSideBottom, {FrameLeft, h - FrameBottom, w - FrameRight, h});

  if (w > 0 && FrameTop > 0) {
    // A caption that would come out as last time is copied as it is.
    const TCaptionKey key{w, Active, WindowState, WindowText()};
    if (titlePainted_ && titleBitmap_ && key == captionKey_) {
      Blit(dc, 0, 0, w, FrameTop, titleBitmap_.get(), 0, 0);
      if (SkinMenu) SkinMenu->Paint(dc, {FrameLeft, FrameTop, w - FrameRight, FrameTop + MenuHeight});
      return;
    }
    captionKey_ = key;
    if (!titleBitmap_ || titleSize_.cx != w || titleSize_.cy != FrameTop) {
      titleBitmap_ = MakeFilledDib(w, FrameTop, kSkinKeyColour);
      captionBase_ = MakeFilledDib(w, FrameTop, kSkinKeyColour);
      titleSize_ = {w, FrameTop};
    }
    {
      TBitmapDc strip(titleBitmap_.get());
      // The corners belong to the side borders, drawn just now.
      Blit(strip.get(), 0, 0, FrameLeft, FrameTop, BorderPiece(kSideLeft, FrameLeft, h), 0, 0);
      Blit(strip.get(), w - FrameRight, 0, FrameRight, FrameTop, BorderPiece(kSideRight, FrameRight, h), 0, 0);
      Blit(strip.get(), FrameLeft, 0, w - FrameLeft - FrameRight, FrameTop,
           BorderPiece(kSideTop, w - FrameLeft - FrameRight, FrameTop), 0, 0);
      DrawCaptionText(strip.get(), w, key.Text);
      {
        // The strip without buttons, for a button that repaints alone.
        TBitmapDc base(captionBase_.get());
        BitBlt(base.get(), 0, 0, w, FrameTop, strip.get(), 0, 0, SRCCOPY);
      }
      LayoutCaptionButtons(w);
      DrawCaptionButtons(strip.get());
      BitBlt(dc, 0, 0, w, FrameTop, strip.get(), 0, 0, SRCCOPY);
    }
    titlePainted_ = true;
  }
  if (SkinMenu) SkinMenu->Paint(dc, {FrameLeft, FrameTop, w - FrameRight, FrameTop + MenuHeight});
}

HBITMAP TSkinFormFrame::BorderPiece(int side, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const TSkinModel& model = SkinData->Model();
  const TDataSkinBorder* border = nullptr;
  HBITMAP image = nullptr;
  switch (side) {
    case kSideLeft: border = &model.BorderLeft; image = borders_.Left.get(); break;
    case kSideRight: border = &model.BorderRight; image = borders_.Right.get(); break;
    case kSideTop: border = &model.BorderTop; image = borders_.Top.get(); break;
    default: border = &model.BorderBottom; image = borders_.Bottom.get(); break;
  }
  if (!image) return nullptr;
  const int count = std::max(border->FrameCount, 1);
  const bool useFirst = Active || count == 1;
  for (TBorderPiece& piece : pieces_)
    if (piece.Side == side && piece.Size.cx == width && piece.Size.cy == height && piece.Active == useFirst)
      return piece.Bitmap.get();
  const bool stacked = side == kSideTop || side == kSideBottom;
  TBorderPiece piece{side, {width, height}, useFirst,
                     NineSlice({0, 0, width, height}, image, SliceMargins(border->Margins), stacked,
                               border->Tile != 1, count, useFirst ? 1 : 2)};
  // One piece per side and state: a resized window replaces its pieces.
  std::erase_if(pieces_, [&](const TBorderPiece& p) { return p.Side == side && p.Active == useFirst; });
  pieces_.push_back(std::move(piece));
  return pieces_.back().Bitmap.get();
}

void TSkinFormFrame::DrawBorder(HDC dc, int side, const RECT& piece) {
  const int width = piece.right - piece.left;
  const int height = piece.bottom - piece.top;
  if (width <= 0 || height <= 0) return;
  Blit(dc, piece.left, piece.top, width, height, BorderPiece(side, width, height), 0, 0);
}

rt::WideString TSkinFormFrame::WindowText() const {
  if (UnicodeWindow) {
    const int length = GetWindowTextLengthW(Handle);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(Handle, text.data(), length + 1);
    return rt::WideFromWchar(text.data(), static_cast<size_t>(std::max(got, 0)));
  }
  char text[1000];
  const auto got = SendMessageA(Handle, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return rt::AnsiToWide(std::string_view(text, static_cast<size_t>(std::clamp<LRESULT>(got, 0, sizeof text - 1))));
}

void TSkinFormFrame::DrawCaptionText(HDC dc, int width, const rt::WideString& windowText) {
  const TDataSkinTitle& title = SkinData->Model().Title;
  const RECT area{FrameLeft, 0, width - FrameRight, FrameTop};
  const rt::WideString text = textPrefix_ + windowText + textSuffix_;
  gui::TSelectObject font(dc, captionFont_.get());
  TBackgroundMode transparent(dc, TRANSPARENT);
  const COLORREF previousColour = SetTextColor(
      dc, gui::ColorToRGB(Active ? SkinData->Model().SkinColours.TitleTextActive
                                 : SkinData->Model().SkinColours.TitleTextNoActive));

  RECT measured{area.left, area.top, area.left, area.top};
  DrawTextW(dc, rt::AsWchar(text), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOCLIP);
  const int textWidth = measured.right - measured.left;
  const int textHeight = measured.bottom - measured.top;
  const int blockWidth = textWidth + title.TXTBackleft + title.TXTBackRight;
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  const int textShift = title.Margins.Left;
  const int textRightClip = title.Margins.Right;
  const int alignment = RightToLeftCaption ? 2 : title.TextAlignment;
  int x = 0;
  if (alignment == 0) x = textShift;
  if (alignment == 1) x = (areaWidth - blockWidth) / 2;
  if (alignment == 2) x = areaWidth - textRightClip - blockWidth;
  const int y = (areaHeight - textHeight) / 2 + title.Margins.Top / 2;
  RECT block{area.left + x, area.top + y, area.left + x + blockWidth, area.top + y + textHeight};

  if (SavedStyle & WS_POPUP) {
    if (RightButtonsLeft > 5 && RightButtonsLeft - 5 < block.right) block.right = RightButtonsLeft - 5;
  } else {
    block.right = std::min<LONG>(block.right, area.right - textRightClip);
  }
  // Dialogs show no icon: their caption starts further left.
  if (FrameKind == fkDialog && title.TextAlignment == 0) block.left -= 16;
  CaptionTextRect = block;

  if (borders_.TextBack)
    ThreeSlice(dc, {block.left, area.top, block.right, area.bottom}, borders_.TextBack.get(), true, true, 2,
               Active ? 1 : 2, title.TXTBackleft, title.TXTBackRight);
  RECT textRect{block.left + title.TXTBackleft, block.top, block.right - title.TXTBackRight, block.bottom};
  DrawSkinText(dc, text, textRect, DT_SINGLELINE | DT_END_ELLIPSIS | (RightToLeftCaption ? DT_RIGHT : 0));
  SetTextColor(dc, previousColour);
}

void TSkinFormFrame::LayoutCaptionButtons(int width) {
  const TSkinManage* manager = Manager();
  TCaptionFacts facts;
  facts.HasSystemMenu = (BoxFlags & kBoxSystemMenu) != 0;
  facts.HasMaximizeBox = (BoxFlags & kBoxMaximize) != 0;
  facts.HasMinimizeBox = (BoxFlags & kBoxMinimize) != 0;
  facts.Maximized = WindowState == wsMaximized;
  facts.Active = Active != 0;
  facts.DialogFrame = FrameKind == fkDialog;
  facts.SystemDialog = SystemDialog;
  facts.MdiChildMaximized = MdiKind == mdFrame && manager && manager->MDIMaximized && MenuHeight > 0;
  TCaptionMetrics metrics;
  metrics.Width = width;
  metrics.CaptionTextRect = CaptionTextRect;
  metrics.FrameLeft = FrameLeft;
  metrics.FrameTop = FrameTop;
  metrics.FrameRight = FrameRight;
  metrics.MenuHeight = MenuHeight;
  metrics.MenuBarLeftMargin = SkinMenu ? SkinMenu->LeftMargin() : 0;
  metrics.RightToLeftCaption = RightToLeftCaption;
  int rightButtonsLeft = 0;
  for (const auto& sysButton : SysButtons) {
    const TCaptionButton& button = sysButton->Button();
    sysButton->Visible = CaptionButtonVisible(button.Data, facts);
    if (!sysButton->Visible || !button.Image) continue;
    const SIZE frame{button.ImageSize.cx / button.FrameCount, button.ImageSize.cy};
    sysButton->Bounds = CaptionButtonBounds(button.Data, frame, metrics, rightButtonsLeft);
  }
  if (rightButtonsLeft > 0) RightButtonsLeft = rightButtonsLeft;
}

void TSkinFormFrame::DrawCaptionButtons(HDC dc) {
  for (const auto& sysButton : SysButtons) {
    const TCaptionButton& button = sysButton->Button();
    if (!sysButton->Visible || !button.Image || button.Data.Visibility == 100) continue;
    const int action = button.Data.Action;
    if (action == 3 || action == 11)
      DrawWindowIcon(dc, {sysButton->Bounds.left, sysButton->Bounds.top});
    else
      DrawCaptionButton(dc, button, sysButton->Bounds, !Active && button.FrameCount >= 4 ? 4 : 1);
  }
}

void TSkinFormFrame::DrawCaptionButton(HDC dc, const TCaptionButton& button, const RECT& bounds, int frame) const {
  DrawFrameStretched(dc, bounds, button.Image.get(), true, button.FrameCount, frame);
}

void TSkinFormFrame::DrawWindowIcon(HDC dc, POINT at) const {
  if (icon_) {
    const auto copy = static_cast<HICON>(CopyImage(icon_, IMAGE_ICON, iconSize_, iconSize_, LR_COPYFROMRESOURCE));
    DrawIconEx(dc, at.x, at.y, copy ? copy : icon_, iconSize_, iconSize_, 0, nullptr, DI_NORMAL);
    if (copy) DestroyIcon(copy);
    return;
  }
  if (!iconBitmap_) return;
  const SIZE size = BitmapSize(iconBitmap_.get());
  TransparentBlit(dc, {at.x, at.y, at.x + size.cx, at.y + size.cy}, iconBitmap_.get(), kSkinKeyColour);
}

void TSkinFormFrame::PaintCaptionButton(const TWinSysButton& sysButton) {
  const TCaptionButton& button = sysButton.Button();
  if (!sysButton.Visible || !button.Image || !attached_) return;
  const RECT& bounds = sysButton.Bounds;
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return;
  gui::TWindowFrameDc dc(Handle);
  if (!dc.get()) return;
  const int action = button.Data.Action;
  const int frame = button.Data.Visibility == 100 && sysButton.State == 3 ? 4 : sysButton.State;
  // Composed on the strip's own background, so that the pixels the image
  // leaves out show the caption and not the previous state.
  gui::UniqueBitmap canvas = MakeFilledDib(width, height, kSkinKeyColour);
  {
    TBitmapDc target(canvas.get());
    if (captionBase_ && bounds.bottom <= titleSize_.cy) {
      TBitmapDc base(captionBase_.get());
      BitBlt(target.get(), 0, 0, width, height, base.get(), bounds.left, bounds.top, SRCCOPY);
    } else {
      BitBlt(target.get(), 0, 0, width, height, dc.get(), bounds.left, bounds.top, SRCCOPY);
    }
    if (action == 3 || action == 11)
      DrawWindowIcon(target.get(), {0, 0});
    else
      DrawCaptionButton(target.get(), button, {0, 0, width, height}, std::min(frame, button.FrameCount));
    BitBlt(dc.get(), bounds.left, bounds.top, width, height, target.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace skin
