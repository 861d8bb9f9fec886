#include "runtime/gui/image.h"

namespace gui {

TImage::TImage(rt::TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
  const TBitmap& bitmap = picture_.Bitmap();
  if (autoSize_ && !bitmap.Empty()) SetBounds(Left(), Top(), bitmap.Width(), bitmap.Height());
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  PictureChanged();
}

void TImage::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  stretch_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  center_ = value;
  Invalidate();
}

void TImage::Paint(HDC dc) {
  const TBitmap& bitmap = picture_.Bitmap();
  if (bitmap.Empty()) return;
  RECT dest = {0, 0, bitmap.Width(), bitmap.Height()};
  if (stretch_) {
    dest = ClientRect();
  } else if (center_) {
    OffsetRect(&dest, (Width() - bitmap.Width()) / 2, (Height() - bitmap.Height()) / 2);
  }
  bitmap.Draw(dc, dest, transparent_);
}

}  // namespace gui
