// The bitmaps and device contexts the skin primitives draw through:
// 24-bit top-down DIB sections (so that pixels are exact whatever the
// screen), a memory DC holding one bitmap, and a scoped stretch mode.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/exceptions.h"
#include "runtime/gui/handles.h"

namespace skin {

// The system refused a bitmap or a device context.
class EOutOfResources : public rt::Exception {
  using rt::Exception::Exception;
};

// A 24-bit top-down DIB section filled with one colour. Raises
// EOutOfResources when the system cannot make it; a width or height
// below 1 gives no bitmap.
gui::UniqueBitmap MakeFilledDib(int width, int height, COLORREF fill);

// A 24-bit top-down DIB section holding the rows given, each `stride`
// bytes apart and starting with `width` blue-green-red pixels. Raises
// EOutOfResources as MakeFilledDib; a width or height below 1 gives no
// bitmap and reads nothing. stride must be at least width * 3.
gui::UniqueBitmap DibFromBgr(int width, int height, const uint8_t* rowsTopDown, size_t stride);

// A memory DC compatible with the screen with a bitmap selected into it,
// put back before the DC is deleted. Raises EOutOfResources.
class TBitmapDc {
 public:
  explicit TBitmapDc(HBITMAP bitmap);
  HDC get() const { return dc_.get(); }

 private:
  gui::UniqueMemoryDc dc_;
  gui::TSelectObject select_;  // after dc_: undone first
};

// Copies part of a bitmap (not selected into any DC) onto a DC.
inline void Blit(HDC dc, int x, int y, int width, int height, HBITMAP source, int sourceX, int sourceY) {
  if (!source || width <= 0 || height <= 0) return;
  TBitmapDc from(source);
  BitBlt(dc, x, y, width, height, from.get(), sourceX, sourceY, SRCCOPY);
}

// Sets one of a DC's modes (the setter returns the previous mode, 0 on
// failure) and restores the previous one.
template <int(WINAPI* Set)(HDC, int)>
class TScopedDcMode {
 public:
  TScopedDcMode(HDC dc, int mode) : dc_(dc), previous_(Set(dc, mode)) {}
  ~TScopedDcMode() {
    if (previous_) Set(dc_, previous_);
  }
  TScopedDcMode(const TScopedDcMode&) = delete;
  TScopedDcMode& operator=(const TScopedDcMode&) = delete;

 private:
  HDC dc_;
  int previous_;
};

using TStretchMode = TScopedDcMode<SetStretchBltMode>;
using TBackgroundMode = TScopedDcMode<SetBkMode>;

}  // namespace skin
