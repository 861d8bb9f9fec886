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
  if (phase_ == phDestroyed || !attached_ || !frameSkinning_ || skinData_->NoSkin()) return;
  if (mdiKind_ == mdChild && windowState_ != wsNormal) return;
  RECT window{};
  GetWindowRect(handle_, &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  if (w <= 0 || h <= 0) return;
  if (ownsRegion_ && w == regionSize_.cx && h == regionSize_.cy && mdiKind_ != mdChild && phase_ != phRecolor) return;
  DropRegion();

  const TSkinModel& model = skinData_->Model();
  const bool cut = model.BorderLeft.Trans == 1 || model.BorderRight.Trans == 1 || model.BorderTop.Trans == 1 ||
                   model.BorderBottom.Trans == 1;
  gui::UniqueRegion region;
  if (!cut) {
    region = RectRegion(0, 0, w, h);
  } else {
    regionSize_ = {w, h};
    region = RectRegion(frameLeft_, frameTop_, w - frameRight_, h - frameBottom_);
    if (frameKind_ != fkNone) {
      // A border piece as the pixels its image draws, or whole.
      auto piece = [&](int side, bool asBitmap, int left, int top, int width, int height) {
        if (asBitmap)
          if (const HBITMAP bitmap = BorderPiece(side, width, height))
            return BitmapToRegion(bitmap, left, top, 0, 0, 0, kSkinKeyColour);
        return RectRegion(left, top, left + width, top + height);
      };
      gui::UniqueRegion sides = piece(kSideLeft, model.BorderLeft.Trans == 1 && h > 1, 0, 0, frameLeft_, h);
      Unite(sides, piece(kSideRight, model.BorderRight.Trans == 1 && h > 1, w - frameRight_, 0, frameRight_, h));
      const int topWidth = w - frameLeft_ - frameRight_;
      gui::UniqueRegion ends = piece(kSideTop, model.BorderTop.Trans == 1 && frameTop_ > 1 && topWidth > 0, frameLeft_,
                                     0, topWidth, frameTop_);
      Unite(ends, piece(kSideBottom, model.BorderBottom.Trans == 1 && frameBottom_ >= 2, frameLeft_, h - frameBottom_,
                        topWidth, frameBottom_));
      Unite(sides, ends);
      Unite(region, sides);
    }
  }
  if (!region) return;
  // The system owns a region once it is the window's.
  if (SetWindowRgn(handle_, region.get(), TRUE)) {
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
