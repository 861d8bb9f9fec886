#include "skin/gallery/gallery_column_win.h"

namespace gallery {

void TColumn::Place(gui::TControl* control, int32_t height, int32_t gap) {
  control->SetBounds(left_, top_, width_, height);
  top_ += height + gap;
}

void TColumn::PlaceRow(std::initializer_list<gui::TControl*> controls, int32_t height) {
  const auto count = static_cast<int32_t>(controls.size());
  if (count == 0) return;
  const int32_t width = (width_ - kGap * (count - 1)) / count;
  int32_t left = left_;
  for (gui::TControl* control : controls) {
    control->SetBounds(left, top_, width, height);
    left += width + kGap;
  }
  top_ += height + kGap;
}

}  // namespace gallery
