// The skinned system menu of a skinned window: a popup menu of its own
// with the window commands, each item knowing its command (Tag) and its
// picture in the skin's menu glyphs (the same number).
#pragma once

#include <windows.h>

#include <vector>

#include "runtime/gui/handles.h"
#include "runtime/strings.h"

namespace skin {

// Tags of the items; Tag is also the item's image index.
enum TSystemCommandTag { stRestore = 0, stMaximize = 1, stMinimize = 2, stClose = 3, stSeparator = 100 };

class TSystemPopup {
 public:
  // Marks the menu among the popup menus of the process.
  static constexpr int kTag = 33333;

  struct TItem {
    rt::WideString Caption;
    int Tag = 0;
    rt::WideString ShortCut;
    bool Enabled = true;
    int ImageIndex() const { return Tag; }
  };

  void Clear();
  void Add(TItem item);
  void Enable(int tag, bool enabled);
  // Entries drawn by the window's owner-draw messages (the skinned look)
  // or by the system.
  void SetOwnerDraw(bool value);
  // The item an owner-draw message is about, when it is one of these.
  const TItem* Find(UINT id, ULONG_PTR itemData) const;
  std::vector<TItem>& Items() { return items_; }
  bool Empty() const { return items_.empty(); }
  HMENU Handle() const { return menu_.get(); }

  // Shows the menu at a screen point for owner; the Tag of the chosen
  // item, or -1 when none was chosen.
  int Popup(HWND owner, POINT at);

 private:
  void Rebuild();
  static UINT Id(const TItem& item);

  std::vector<TItem> items_;
  gui::UniqueMenu menu_;
  bool ownerDraw_ = false;
  // The menu shown now is destroyed only once it has closed.
  bool tracking_ = false;
  bool clearWhenClosed_ = false;
};

}  // namespace skin
