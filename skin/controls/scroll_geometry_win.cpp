#include "skin/controls/scroll_geometry_win.h"

#include <algorithm>
#include <cstdint>

namespace skin {

namespace {

// A rectangle of the bar from offsets along it and the whole thickness.
RECT Span(const RECT& bar, bool vertical, int from, int to) {
  if (vertical) return {bar.left, bar.top + from, bar.right, bar.top + to};
  return {bar.left + from, bar.top, bar.left + to, bar.bottom};
}

}  // namespace

int64_t LastScrollPosition(const SCROLLINFO& info) {
  return static_cast<int64_t>(info.nMax) - std::max<int64_t>(info.nPage, 1) + 1;
}

bool CanScroll(const SCROLLINFO& info) { return LastScrollPosition(info) > info.nMin; }

int64_t ScrollPositionOf(const SCROLLINFO& info) {
  const int64_t position = (info.fMask & SIF_TRACKPOS) ? info.nTrackPos : info.nPos;
  return std::clamp<int64_t>(position, info.nMin, std::max<int64_t>(info.nMin, LastScrollPosition(info)));
}

TScrollGeometry TScrollGeometry::Of(const RECT& bar, bool vertical, const SCROLLINFO& info) {
  TScrollGeometry g;
  g.Vertical = vertical;
  const int length = std::max(0, vertical ? RectHeight(bar) : RectWidth(bar));
  const int thickness = std::max(0, vertical ? RectWidth(bar) : RectHeight(bar));
  // A bar shorter than two arrows shares its length between them.
  const int arrow = std::min(thickness, length / 2);
  g.LineUp = Span(bar, vertical, 0, arrow);
  g.LineDown = Span(bar, vertical, length - arrow, length);
  g.Track = Span(bar, vertical, arrow, length - arrow);
  if (!CanScroll(info)) return g;

  const int64_t track = length - 2 * arrow;
  const int64_t range = static_cast<int64_t>(info.nMax) - info.nMin + 1;
  int64_t thumb = thickness;
  if (info.nPage > 0) thumb = std::max<int64_t>(kMinThumbLength, track * info.nPage / range);
  // Windows leaves the thumb out too when the track cannot hold it.
  if (thumb > track) return g;
  const int64_t span = LastScrollPosition(info) - info.nMin;
  // Rounded both ways (here and in PositionForThumbAt), so that a thumb
  // dropped at a pixel shows at that pixel.
  const int64_t offset = ((track - thumb) * (ScrollPositionOf(info) - info.nMin) + span / 2) / span;
  g.Thumb = Span(bar, vertical, arrow + static_cast<int>(offset), arrow + static_cast<int>(offset + thumb));
  return g;
}

int64_t TScrollGeometry::PositionForThumbAt(int thumbStart, const SCROLLINFO& info) const {
  if (!CanScroll(info) || IsRectEmpty(&Thumb)) return ScrollPositionOf(info);
  const int trackStart = Vertical ? Track.top : Track.left;
  const int64_t free = (Vertical ? RectHeight(Track) - RectHeight(Thumb) : RectWidth(Track) - RectWidth(Thumb));
  const int64_t span = LastScrollPosition(info) - info.nMin;
  if (free <= 0) return info.nMin;
  const int64_t moved = std::clamp<int64_t>(thumbStart - trackStart, 0, free);
  // Rounded to the nearest position, so that the thumb lands where the
  // mouse put it.
  return info.nMin + (moved * span + free / 2) / free;
}

TScrollPart TScrollGeometry::PartAt(POINT p) const {
  if (PtInRect(&LineUp, p)) return spLineUp;
  if (PtInRect(&LineDown, p)) return spLineDown;
  if (PtInRect(&Thumb, p)) return spThumb;
  if (!PtInRect(&Track, p)) return spNone;
  const int along = Vertical ? p.y : p.x;
  int divide = Vertical ? (Track.top + Track.bottom) / 2 : (Track.left + Track.right) / 2;
  if (!IsRectEmpty(&Thumb)) divide = Vertical ? Thumb.top : Thumb.left;
  return along < divide ? spPageUp : spPageDown;
}

}  // namespace skin
