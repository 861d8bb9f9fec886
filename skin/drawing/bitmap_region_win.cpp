#include "skin/drawing/bitmap_region_win.h"

#include <algorithm>
#include <vector>

#include "skin/drawing/dib_win.h"
#include "skin/drawing/frame_geometry_win.h"

namespace skin {

namespace {

// Region data grows in steps of this many rectangles ...
constexpr size_t kCapacityStep = 500;
// ... and is made into a region every this many: some systems refuse
// ExtCreateRegion with a few thousand rectangles.
constexpr size_t kBatchSize = 2000;

struct TChannelRange {
  uint8_t Low;
  uint8_t High;
  bool Holds(uint8_t value) const { return value >= Low && value <= High; }
};
TChannelRange RangeOf(uint8_t keyValue, uint8_t tolerance) {
  return TChannelRange{keyValue, static_cast<uint8_t>(std::min(255, keyValue + tolerance))};
}

// The rectangles of one batch, laid out as RGNDATA wants them: the
// header, then the rectangles.
class TRegionBatch {
 public:
  TRegionBatch() { Reserve(kCapacityStep); }

  size_t Count() const { return count_; }
  void Add(const RECT& r) {
    if (count_ == capacity_) Reserve(capacity_ + kCapacityStep);
    Rects()[count_++] = r;
    if (count_ == 1) {
      bound_ = r;
    } else {
      bound_.left = std::min(bound_.left, r.left);
      bound_.top = std::min(bound_.top, r.top);
      bound_.right = std::max(bound_.right, r.right);
      bound_.bottom = std::max(bound_.bottom, r.bottom);
    }
  }

  // The batch as a region; the batch starts again empty.
  gui::UniqueRegion Take() {
    auto* data = reinterpret_cast<RGNDATA*>(storage_.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count_);
    data->rdh.nRgnSize = static_cast<DWORD>(count_ * sizeof(RECT));
    data->rdh.rcBound = count_ ? bound_ : RECT{0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(sizeof(RGNDATAHEADER) + count_ * sizeof(RECT));
    gui::UniqueRegion region(ExtCreateRegion(nullptr, bytes, data));
    if (!region) throw EOutOfResources(u"Cannot create a window region");
    count_ = 0;
    return region;
  }

 private:
  void Reserve(size_t rects) {
    capacity_ = rects;
    storage_.resize((sizeof(RGNDATAHEADER) + capacity_ * sizeof(RECT) + sizeof(RECT) - 1) / sizeof(RECT));
  }
  RECT* Rects() { return reinterpret_cast<RECT*>(reinterpret_cast<char*>(storage_.data()) + sizeof(RGNDATAHEADER)); }

  // RECT-sized units keep the rectangles aligned.
  std::vector<RECT> storage_;
  size_t capacity_ = 0;
  size_t count_ = 0;
  RECT bound_{};
};

void Unite(gui::UniqueRegion& result, gui::UniqueRegion part) {
  if (!result) {
    result = std::move(part);
    return;
  }
  CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
}

}  // namespace

gui::UniqueRegion BitmapToRegion(HBITMAP bitmap, int xOffset, int yOffset, uint8_t toleranceBlue,
                                 uint8_t toleranceGreen, uint8_t toleranceRed, COLORREF key) {
  const SIZE size = BitmapSize(bitmap);
  const int width = size.cx, height = size.cy;
  TRegionBatch batch;
  if (width < 1 || height < 1) return batch.Take();

  // A 32-bit top-down copy: one pixel is one 0x00RRGGBB word, whatever
  // format the bitmap has.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  gui::UniqueBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0));
  if (!copy || !raw) throw EOutOfResources(u"Cannot create a bitmap for a window region");
  {
    TBitmapDc copyDc(copy.get());
    TBitmapDc sourceDc(bitmap);
    BitBlt(copyDc.get(), 0, 0, width, height, sourceDc.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();  // the blit must be done before the pixels are read

  const TChannelRange red = RangeOf(GetRValue(key), toleranceRed);
  const TChannelRange green = RangeOf(GetGValue(key), toleranceGreen);
  const TChannelRange blue = RangeOf(GetBValue(key), toleranceBlue);
  auto transparent = [&](uint32_t pixel) {
    return red.Holds(static_cast<uint8_t>(pixel >> 16)) && green.Holds(static_cast<uint8_t>(pixel >> 8)) &&
           blue.Holds(static_cast<uint8_t>(pixel));
  };

  gui::UniqueRegion result;
  const auto* pixels = static_cast<const uint32_t*>(raw);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
    int x = 0;
    while (x < width) {
      while (x < width && transparent(row[x])) ++x;
      const int start = x;
      while (x < width && !transparent(row[x])) ++x;
      if (x > start) {
        batch.Add(RECT{start + xOffset, y + yOffset, x + xOffset, y + 1 + yOffset});
        if (batch.Count() == kBatchSize) Unite(result, batch.Take());
      }
    }
  }
  if (batch.Count() > 0 || !result) Unite(result, batch.Take());
  return result;
}

}  // namespace skin
