#include "runtime/gui/image_list.h"

#include <algorithm>

#include "runtime/exceptions.h"

namespace gui {

TImageList::TImageList(rt::TComponent* owner) : rt::TComponent(owner) {}

TImageList::~TImageList() { Notify(true); }

void TImageList::SetWidth(int32_t value) {
  if (value <= 0) throw rt::Exception(u"Largeur d'image invalide");
  if (value == width_) return;
  width_ = value;
  Clear();
}

void TImageList::SetHeight(int32_t value) {
  if (value <= 0) throw rt::Exception(u"Hauteur d'image invalide");
  if (value == height_) return;
  height_ = value;
  Clear();
}

HIMAGELIST TImageList::Handle() {
  if (!handle_) {
    handle_.reset(CommonControls().ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (!handle_) throw rt::Exception(u"Impossible de créer la liste d'images");
  }
  return handle_.get();
}

int TImageList::Count() const { return handle_ ? CommonControls().ImageList_GetImageCount(handle_.get()) : 0; }

void TImageList::Clear() {
  handle_.reset();
  Notify(false);
}

int TImageList::Add(const TBitmap& image, COLORREF mask) {
  if (image.Empty()) throw rt::Exception(u"Image vide");
  // ImageList_AddMasked takes a bitmap that is not selected into any DC
  // and leaves it as it was; TBitmap's section bitmap qualifies.
  const int index = CommonControls().ImageList_AddMasked(Handle(), image.Handle(), mask);
  if (index < 0) throw rt::Exception(u"Impossible d'ajouter l'image à la liste");
  Notify(false);
  return index;
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (handle_) DrawListImage(handle_.get(), dc, x, y, index, enabled);
}

void DrawListImage(HIMAGELIST list, HDC dc, int x, int y, int index, bool enabled) {
  if (!list || index < 0 || index >= CommonControls().ImageList_GetImageCount(list)) return;
  if (enabled)
    CommonControls().ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
  else
    CommonControls().ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_NONE, GetSysColor(COLOR_BTNHIGHLIGHT),
                     ILD_TRANSPARENT | ILD_BLEND50);
}

int TImageList::AddListener(TListener listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void TImageList::RemoveListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TImageList::Notify(bool destroyed) {
  // A listener may remove itself while it is told.
  const auto listeners = listeners_;
  for (const auto& l : listeners) l.second(destroyed);
}

}  // namespace gui
