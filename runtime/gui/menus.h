// Menus: a tree of TMenuItem under a menu bar (TMainMenu) or a context
// menu (TPopupMenu), mirrored into real system menus. Each item is one
// entry of its parent's system menu, identified by a command id unique in
// the process and carrying the item as its item data; an item with
// sub-items has a popup menu of its own. Entries are rebuilt whenever an
// item changes, so the system menus always show the tree as it is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/classes.h"
#include "runtime/gui/handles.h"
#include "runtime/published.h"

namespace gui {

class TForm;
class TImageList;
class TMenu;

// A shortcut is a virtual key in the low byte plus these modifier bits.
inline constexpr int32_t scShift = 0x2000;
inline constexpr int32_t scCtrl = 0x4000;
inline constexpr int32_t scAlt = 0x8000;
constexpr int32_t ShortCut(WORD key, int32_t modifiers) { return (key & 0xFF) | modifiers; }
// "Ctrl+Shift+S", "F5", "Alt+Del"; empty for 0.
rt::WideString ShortCutToText(int32_t shortCut);

enum TBiDiMode { bdLeftToRight, bdRightToLeft };

// The skin engine's hooks for owner-drawn entries.
using TMenuDrawItemEvent = std::function<void(class TMenuItem* sender, HDC dc, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(class TMenuItem* sender, HDC dc, int& width, int& height)>;

class TMenuItem : public rt::TComponent {
 public:
  explicit TMenuItem(rt::TComponent* owner);
  ~TMenuItem() override;
  rt::WideString ClassName() const override { return u"TMenuItem"; }

  // "-" makes the item a separator.
  const rt::WideString& Caption() const { return caption_; }
  void SetCaption(const rt::WideString& value);
  bool IsSeparator() const { return caption_ == u"-"; }
  int32_t ShortCut() const { return shortCut_; }
  void SetShortCut(int32_t value);
  rt::WideString ShortCutText() const { return ShortCutToText(shortCut_); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  // Invisible items have no entry at all.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  // An image of the menu's Images, -1 for none.
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value);

  rt::TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  virtual void Click();

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  void Add(TMenuItem* item) { Insert(Count(), item); }
  // Takes the item out of the item it was in first.
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  // The item this one sits in; nullptr for a menu's root item.
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // The menu whose tree holds the item, or nullptr.
  TMenu* Menu() const;

  WORD Command() const { return command_; }
  // The item's own system menu, holding its sub-items' entries; made on
  // first use.
  HMENU Handle();
  bool HandleAllocated() const { return static_cast<bool>(handle_); }

  // The item of that command id or system menu, this one or below.
  TMenuItem* FindItem(UINT command);
  TMenuItem* FindItemByHandle(HMENU menu);

 private:
  friend class TMenu;
  // The item's entry in its parent's menu changed.
  void Changed();
  // The set of sub-items changed.
  void ItemsChanged();
  void RebuildEntries();
  void ClearEntries();
  void FreeHandle();
  MENUITEMINFOW EntryInfo(TMenuItem* item, const TMenu* menu, rt::WideString& text) const;

  rt::WideString caption_;
  int32_t shortCut_ = 0;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
  bool default_ = false;
  int32_t imageIndex_ = -1;
  WORD command_ = 0;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // only on a menu's root item
  std::vector<TMenuItem*> items_;
  UniqueMenu handle_;
};

class TMenu : public rt::TComponent {
 public:
  explicit TMenu(rt::TComponent* owner);
  ~TMenu() override;
  rt::WideString ClassName() const override { return u"TMenu"; }

  // The root item; its sub-items are the menu's top level.
  TMenuItem* Items() { return &root_; }
  HMENU Handle() { return root_.Handle(); }

  // Every entry owner-drawn: the form's WM_MEASUREITEM and WM_DRAWITEM
  // reach the items' OnMeasureItem and OnDrawItem.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool IsRightToLeft() const { return biDiMode_ == bdRightToLeft; }

  TMenuItem* FindItem(UINT command) { return root_.FindItem(command); }
  TMenuItem* FindItemByHandle(HMENU menu) { return root_.FindItemByHandle(menu); }

  // A menu bar's entries take MFT_RIGHTJUSTIFY when right-to-left.
  virtual bool IsBar() const { return false; }
  // Something in the tree changed: a bar redraws.
  virtual void MenuChanged() {}

 private:
  void RebuildAll(TMenuItem* item);

  TMenuItem root_{nullptr};
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
  int imagesListener_ = 0;
  TBiDiMode biDiMode_ = bdLeftToRight;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(rt::TComponent* owner);
  ~TMainMenu() override;
  rt::WideString ClassName() const override { return u"TMainMenu"; }
  bool IsBar() const override { return true; }
  void MenuChanged() override;
  // The form whose bar it is (set by TForm::SetMenu).
  TForm* Form() const { return form_; }

 private:
  friend class TForm;
  TForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(rt::TComponent* owner);
  ~TPopupMenu() override;
  rt::WideString ClassName() const override { return u"TPopupMenu"; }

  // Shows the menu at a screen point and runs the chosen item's Click.
  // The window of the form that owns the menu receives its messages.
  void Popup(int x, int y);
  // The control whose context menu is shown, while it is.
  rt::TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(rt::TComponent* component) { popupComponent_ = component; }
  rt::TNotifyEvent OnPopup;

 private:
  friend class TForm;
  rt::TComponent* popupComponent_ = nullptr;
  TForm* form_ = nullptr;  // the form whose PopupMenu it is
};

// The font the system draws menus with (bold for default items).
UniqueFont MenuFont(bool bold = false);

// The size the framework gives an entry it draws itself: the caption and
// shortcut in the DC's font, and an image of the size given (0 x 0 for
// none). A separator ("-") is 8 pixels high.
void MeasureMenuEntry(HDC dc, const rt::WideString& caption, const rt::WideString& shortCut, SIZE image, int& width,
                      int& height);

// What a form does with the menu messages it receives: true when handled.
bool HandleMenuCommand(TMenu* menu, WPARAM wParam);
// The owner-draw messages; the item is the one whose command id the entry
// has, confirmed by its item data.
bool MeasureMenuItem(TMenu* menu, HWND window, MEASUREITEMSTRUCT& measure);
bool DrawMenuItem(TMenu* menu, DRAWITEMSTRUCT& draw);

}  // namespace gui
