// The arithmetic of a scroll bar: where its arrows, track and thumb lie,
// and which position the thumb shows or a drag asks for.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/drawing/frame_geometry_win.h"

namespace skin {

// Where the mouse is on a scroll bar.
enum TScrollPart { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

inline constexpr int kMinThumbLength = 8;

// The last position the bar can reach: the one that shows the last page.
int64_t LastScrollPosition(const SCROLLINFO& info);
// Whether there is anything to scroll; a bar that cannot scroll has no
// thumb and is drawn disabled.
bool CanScroll(const SCROLLINFO& info);
// The position the thumb shows: nTrackPos when the mask holds
// SIF_TRACKPOS (the caller sets it only while the thumb is dragged), else
// nPos; kept within the range.
int64_t ScrollPositionOf(const SCROLLINFO& info);

// The geometry of one scroll bar: arrows, track and thumb, in the bar's
// own coordinates. Pure arithmetic, shared by the window and the painter
// of scroll-bar controls. Thumb is empty when there is no thumb.
struct TScrollGeometry {
  RECT LineUp{}, LineDown{}, Track{}, Thumb{};
  bool Vertical = false;
  static TScrollGeometry Of(const RECT& bar, bool vertical, const SCROLLINFO& info);
  TScrollPart PartAt(POINT p) const;
  // The position that puts the thumb's leading edge at thumbStart (along
  // the bar, in its coordinates).
  int64_t PositionForThumbAt(int thumbStart, const SCROLLINFO& info) const;
};

}  // namespace skin
