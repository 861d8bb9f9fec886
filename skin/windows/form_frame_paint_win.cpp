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
  if (!attached_ || !frameSkinning_ || !skinData_ || skinData_->NoSkin()) return;
  if (phase_ != phRunning && phase_ != phRecolor) return;
  if (frameKind_ == fkNone || (mdiKind_ == mdChild && windowState_ != wsNormal)) return;
  try {
    if (dc) {
      PaintFrame(dc);
    } else {
      gui::TWindowFrameDc windowDc(handle_);
      if (windowDc.get()) PaintFrame(windowDc.get());
    }
  } catch (...) {
    // A frame that cannot be painted now is painted by the next request.
  }
  hotObject_ = nullptr;
}

void TSkinFormFrame::PaintFrame(HDC dc) {
  RECT window{};
  GetWindowRect(handle_, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  DrawBorder(dc, kSideLeft, {0, 0, frameLeft_, h});
  DrawBorder(dc, kSideRight, {w - frameRight_, 0, w, h});
  DrawBorder(dc, kSideBottom, {frameLeft_, h - frameBottom_, w - frameRight_, h});

  if (w > 0 && frameTop_ > 0) {
    // A caption that would come out as last time is copied as it is.
    const TCaptionKey key{w, active_, windowState_, WindowText()};
    if (titlePainted_ && titleBitmap_ && key == captionKey_) {
      Blit(dc, 0, 0, w, frameTop_, titleBitmap_.get(), 0, 0);
      if (skinMenu_) skinMenu_->Paint(dc, {frameLeft_, frameTop_, w - frameRight_, frameTop_ + menuHeight_});
      return;
    }
    captionKey_ = key;
    if (!titleBitmap_ || titleSize_.cx != w || titleSize_.cy != frameTop_) {
      titleBitmap_ = MakeFilledDib(w, frameTop_, kSkinKeyColour);
      captionBase_ = MakeFilledDib(w, frameTop_, kSkinKeyColour);
      titleSize_ = {w, frameTop_};
    }
    {
      TBitmapDc strip(titleBitmap_.get());
      // The corners belong to the side borders, drawn just now.
      Blit(strip.get(), 0, 0, frameLeft_, frameTop_, BorderPiece(kSideLeft, frameLeft_, h), 0, 0);
      Blit(strip.get(), w - frameRight_, 0, frameRight_, frameTop_, BorderPiece(kSideRight, frameRight_, h), 0, 0);
      Blit(strip.get(), frameLeft_, 0, w - frameLeft_ - frameRight_, frameTop_,
           BorderPiece(kSideTop, w - frameLeft_ - frameRight_, frameTop_), 0, 0);
      DrawCaptionText(strip.get(), w, key.Text);
      {
        // The strip without buttons, for a button that repaints alone.
        TBitmapDc base(captionBase_.get());
        BitBlt(base.get(), 0, 0, w, frameTop_, strip.get(), 0, 0, SRCCOPY);
      }
      LayoutCaptionButtons(w);
      DrawCaptionButtons(strip.get());
      BitBlt(dc, 0, 0, w, frameTop_, strip.get(), 0, 0, SRCCOPY);
    }
    titlePainted_ = true;
  }
  if (skinMenu_) skinMenu_->Paint(dc, {frameLeft_, frameTop_, w - frameRight_, frameTop_ + menuHeight_});
}

HBITMAP TSkinFormFrame::BorderPiece(int side, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  const TSkinModel& model = skinData_->Model();
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
  const bool useFirst = active_ || count == 1;
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
  if (unicodeWindow_) {
    const int length = GetWindowTextLengthW(handle_);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(handle_, text.data(), length + 1);
    return rt::WideFromWchar(text.data(), static_cast<size_t>(std::max(got, 0)));
  }
  char text[1000];
  const auto got = SendMessageA(handle_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return rt::AnsiToWide(std::string_view(text, static_cast<size_t>(std::clamp<LRESULT>(got, 0, sizeof text - 1))));
}

void TSkinFormFrame::DrawCaptionText(HDC dc, int width, const rt::WideString& windowText) {
  const TDataSkinTitle& title = skinData_->Model().Title;
  const RECT area{frameLeft_, 0, width - frameRight_, frameTop_};
  const rt::WideString text = textPrefix_ + windowText + textSuffix_;
  gui::TSelectObject font(dc, captionFont_.get());
  TBackgroundMode transparent(dc, TRANSPARENT);
  const COLORREF previousColour = SetTextColor(
      dc, gui::ColorToRGB(active_ ? skinData_->Model().SkinColours.TitleTextActive
                                  : skinData_->Model().SkinColours.TitleTextNoActive));

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
  const int alignment = rightToLeftCaption_ ? 2 : title.TextAlignment;
  int x = 0;
  if (alignment == 0) x = textShift;
  if (alignment == 1) x = (areaWidth - blockWidth) / 2;
  if (alignment == 2) x = areaWidth - textRightClip - blockWidth;
  const int y = (areaHeight - textHeight) / 2 + title.Margins.Top / 2;
  RECT block{area.left + x, area.top + y, area.left + x + blockWidth, area.top + y + textHeight};

  if (savedStyle_ & WS_POPUP) {
    if (rightButtonsLeft_ > 5 && rightButtonsLeft_ - 5 < block.right) block.right = rightButtonsLeft_ - 5;
  } else {
    block.right = std::min<LONG>(block.right, area.right - textRightClip);
  }
  // Dialogs show no icon: their caption starts further left.
  if (frameKind_ == fkDialog && title.TextAlignment == 0) block.left -= 16;
  captionTextRect_ = block;

  if (borders_.TextBack)
    ThreeSlice(dc, {block.left, area.top, block.right, area.bottom}, borders_.TextBack.get(), true, true, 2,
               active_ ? 1 : 2, title.TXTBackleft, title.TXTBackRight);
  RECT textRect{block.left + title.TXTBackleft, block.top, block.right - title.TXTBackRight, block.bottom};
  DrawSkinText(dc, text, textRect, DT_SINGLELINE | DT_END_ELLIPSIS | (rightToLeftCaption_ ? DT_RIGHT : 0));
  SetTextColor(dc, previousColour);
}

void TSkinFormFrame::LayoutCaptionButtons(int width) {
  const TSkinManage* manager = Manager();
  TCaptionFacts facts;
  facts.HasSystemMenu = (boxFlags_ & kBoxSystemMenu) != 0;
  facts.HasMaximizeBox = (boxFlags_ & kBoxMaximize) != 0;
  facts.HasMinimizeBox = (boxFlags_ & kBoxMinimize) != 0;
  facts.Maximized = windowState_ == wsMaximized;
  facts.Active = active_ != 0;
  facts.DialogFrame = frameKind_ == fkDialog;
  facts.SystemDialog = systemDialog_;
  facts.MdiChildMaximized = mdiKind_ == mdFrame && manager && manager->MDIMaximized() && menuHeight_ > 0;
  TCaptionMetrics metrics;
  metrics.Width = width;
  metrics.CaptionTextRect = captionTextRect_;
  metrics.FrameLeft = frameLeft_;
  metrics.FrameTop = frameTop_;
  metrics.FrameRight = frameRight_;
  metrics.MenuHeight = menuHeight_;
  metrics.MenuBarLeftMargin = skinMenu_ ? skinMenu_->LeftMargin() : 0;
  metrics.RightToLeftCaption = rightToLeftCaption_;
  int rightButtonsLeft = 0;
  for (const auto& sysButton : sysButtons_) {
    const TCaptionButton& button = sysButton->Button();
    sysButton->Visible = CaptionButtonVisible(button.Data, facts);
    if (!sysButton->Visible || !button.Image) continue;
    const SIZE frame{button.ImageSize.cx / button.FrameCount, button.ImageSize.cy};
    sysButton->Bounds = CaptionButtonBounds(button.Data, frame, metrics, rightButtonsLeft);
  }
  if (rightButtonsLeft > 0) rightButtonsLeft_ = rightButtonsLeft;
}

void TSkinFormFrame::DrawCaptionButtons(HDC dc) {
  for (const auto& sysButton : sysButtons_) {
    const TCaptionButton& button = sysButton->Button();
    if (!sysButton->Visible || !button.Image || button.Data.Visibility == 100) continue;
    const int action = button.Data.Action;
    if (action == 3 || action == 11)
      DrawWindowIcon(dc, {sysButton->Bounds.left, sysButton->Bounds.top});
    else
      DrawCaptionButton(dc, button, sysButton->Bounds, !active_ && button.FrameCount >= 4 ? 4 : 1);
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
  gui::TWindowFrameDc dc(handle_);
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
