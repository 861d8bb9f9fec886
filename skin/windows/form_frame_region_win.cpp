// The window's shape: the skin's borders may leave pixels out (magenta),
// such as rounded corners; the window region then keeps only the border
// pixels that are drawn, so that the desktop shows through the others.
#include "skin/drawing/bitmap_region_win.h"
#include "skin/drawing/frame_geometry_win.h"
#include "skin/windows/form_frame_win.h"

namespace skin {
namespace {

constexpr int kSideLeft = 1, kSideRight = 2, kSideTop = 3, kSideBottom = 4;

gui::UniqueRegion RectRegion(int left, int top, int right, int bottom) {
  return gui::UniqueRegion(CreateRectRgn(left, top, right, bottom));
}

// Unites into target, which keeps its handle.
void Unite(const gui::UniqueRegion& target, const gui::UniqueRegion& other) {
  if (target && other) CombineRgn(target.get(), target.get(), other.get(), RGN_OR);
}

}  // namespace

void TSkinFormFrame::BuildRegion() {
  if (Phase == phDestroyed || !attached_ || !FrameSkinning || SkinData->NoSkin()) return;
  if (MdiKind == mdChild && WindowState != wsNormal) return;
  RECT window{};
  GetWindowRect(Handle, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  if (w <= 0 || h <= 0) return;
  if (ownsRegion_ && w == regionSize_.cx && h == regionSize_.cy && MdiKind != mdChild && Phase != phRecolor) return;
  DropRegion();

  const TSkinModel& model = SkinData->Model();
  const bool cut = model.BorderLeft.Trans == 1 || model.BorderRight.Trans == 1 || model.BorderTop.Trans == 1 ||
                   model.BorderBottom.Trans == 1;
  gui::UniqueRegion region;
  if (!cut) {
    region = RectRegion(0, 0, w, h);
  } else {
    regionSize_ = {w, h};
    region = RectRegion(FrameLeft, FrameTop, w - FrameRight, h - FrameBottom);
    if (FrameKind != fkNone) {
      // A border piece as the pixels its image draws, or whole.
      auto piece = [&](int side, bool asBitmap, int left, int top, int width, int height) {
        if (asBitmap)
          if (const HBITMAP bitmap = BorderPiece(side, width, height))
            return BitmapToRegion(bitmap, left, top, 0, 0, 0, kSkinKeyColour);
        return RectRegion(left, top, left + width, top + height);
      };
      gui::UniqueRegion sides = piece(kSideLeft, model.BorderLeft.Trans == 1 && h > 1, 0, 0, FrameLeft, h);
      Unite(sides, piece(kSideRight, model.BorderRight.Trans == 1 && h > 1, w - FrameRight, 0, FrameRight, h));
      const int topWidth = w - FrameLeft - FrameRight;
      gui::UniqueRegion ends = piece(kSideTop, model.BorderTop.Trans == 1 && FrameTop > 1 && topWidth > 0, FrameLeft,
                                     0, topWidth, FrameTop);
      Unite(ends, piece(kSideBottom, model.BorderBottom.Trans == 1 && FrameBottom >= 2, FrameLeft, h - FrameBottom,
                        topWidth, FrameBottom));
      Unite(sides, ends);
      Unite(region, sides);
    }
  }
  if (!region) return;
  // The system owns a region once it is the window's.
  if (SetWindowRgn(Handle, region.get(), TRUE)) {
    region.release();
    ownsRegion_ = true;
    regionSize_ = {w, h};
  }
}

void TSkinFormFrame::DropRegion() {
  ownsRegion_ = false;
  regionSize_ = {};
}

}  // namespace skin
