// Image lists: equally sized pictures kept in one system image list, drawn
// by index (menu item glyphs, tool bar images).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "runtime/classes.h"
#include "runtime/gui/graphics.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/system_libraries.h"

namespace gui {

struct ImageListTraits : NullEmptyTraits<HIMAGELIST> {
  static void Close(HIMAGELIST list) { CommonControls().ImageList_Destroy(list); }
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

class TImageList : public rt::TComponent {
 public:
  explicit TImageList(rt::TComponent* owner);
  ~TImageList() override;
  rt::WideString ClassName() const override { return u"TImageList"; }

  // Changing the size empties the list.
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetWidth(int32_t value);
  void SetHeight(int32_t value);

  // Adds an image of the list's size (a wider bitmap adds several); the
  // pixels of mask are transparent. Returns the index of the first image.
  int Add(const TBitmap& image, COLORREF mask);
  // Adds with the bitmap's own transparent colour (its bottom-left pixel).
  int AddMasked(const TBitmap& image) { return Add(image, image.TransparentColor()); }
  void Clear();
  int Count() const;
  HIMAGELIST Handle();

  // A disabled image is drawn blended half with the highlight colour.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);

  // Called when the list changes or goes; the menus that show its images
  // listen. The returned number removes the listener.
  using TListener = std::function<void(bool destroyed)>;
  int AddListener(TListener listener);
  void RemoveListener(int id);

 private:
  void Notify(bool destroyed);

  int32_t width_ = 16;
  int32_t height_ = 16;
  UniqueImageList handle_;
  std::vector<std::pair<int, TListener>> listeners_;
  int nextListener_ = 1;
};

// One image of a system image list, drawn as TImageList::Draw does.
void DrawListImage(HIMAGELIST list, HDC dc, int x, int y, int index, bool enabled = true);

}  // namespace gui
