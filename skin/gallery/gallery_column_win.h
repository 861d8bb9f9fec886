// Laying the gallery out in columns: each control takes the next line of
// its column, across the column's width, so that nothing overlaps.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/gui/control.h"

namespace gallery {

class TColumn {
 public:
  static constexpr int32_t kGap = 6;

  TColumn(int32_t left, int32_t top, int32_t width) : left_(left), top_(top), width_(width) {}

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }

  // The control fills the next line; the line after starts gap below it.
  void Place(gui::TControl* control, int32_t height, int32_t gap = kGap);
  // The controls share the next line, side by side.
  void PlaceRow(std::initializer_list<gui::TControl*> controls, int32_t height);
  void Skip(int32_t height) { top_ += height; }

 private:
  int32_t left_;
  int32_t top_;
  int32_t width_;
};

}  // namespace gallery
