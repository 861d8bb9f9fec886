#include "skin/drawing/frame_geometry_win.h"

#include <algorithm>
#include <cstdlib>

namespace skin {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return SIZE{0, 0};
  // A bottom-up and a top-down DIB report their height with either sign.
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

TFrameRect SkinFrame(HBITMAP image, int count, int frame, bool stacked) {
  return SkinFrame(BitmapSize(image), count, frame, stacked);
}

TFrameRect SkinFrame(SIZE imageSize, int count, int frame, bool stacked) {
  // Frame counts and indexes come from skin definitions: a count below 1
  // means one frame, and an index outside the image picks the nearest
  // frame rather than pixels beyond the image.
  count = std::max(count, 1);
  frame = std::clamp(frame, 1, count);
  TFrameRect r;
  if (stacked) {
    r.Width = imageSize.cx;
    r.Height = imageSize.cy / count;
    r.Y = (frame - 1) * r.Height;
  } else {
    r.Width = imageSize.cx / count;
    r.Height = imageSize.cy;
    r.X = (frame - 1) * r.Width;
  }
  return r;
}

}  // namespace skin
