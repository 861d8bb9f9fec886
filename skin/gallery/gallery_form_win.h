// The skin gallery's form: every kind of control the skin engine paints,
// in the states its painters tell apart (normal, default, disabled, left
// alone by tag, checked, grayed, pressed ...), built in code and skinned
// by a skin data component of its own. It also opens a dialog of system
// controls, which the engine skins as a window it did not make.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "runtime/classes.h"
#include "runtime/gui/bit_btn.h"
#include "runtime/gui/button.h"
#include "runtime/gui/check_box.h"
#include "runtime/gui/combo_box.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/group_box.h"
#include "runtime/gui/header_control.h"
#include "runtime/gui/list_view.h"
#include "runtime/gui/memo.h"
#include "runtime/gui/menus.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/progress_bar.h"
#include "runtime/gui/scroll_bar.h"
#include "runtime/gui/status_bar.h"
#include "runtime/gui/tab_controls.h"
#include "runtime/gui/tool_bar.h"
#include "runtime/gui/track_bar.h"
#include "runtime/gui/up_down.h"
#include "skin/data/skin_data_win.h"
#include "skin/gallery/gallery_dialog_win.h"

namespace gallery {

class TColumn;

// A page control under the name of another library's, which the default
// Skin3rd rows leave unpainted ("nil").
class TAdvPageControl : public gui::TPageControl {
 public:
  using gui::TPageControl::TPageControl;
  rt::WideString ClassName() const override { return u"TAdvPageControl"; }
};

// Publishes the gallery's own classes. Runs once.
void RegisterGalleryClasses();

class TGalleryForm : public gui::TForm {
 public:
  // skinFile: the skin file the form is shown in.
  TGalleryForm(rt::TComponent* owner, const rt::WideString& skinFile);
  rt::WideString ClassName() const override { return u"TGalleryForm"; }

  // Opens the dialog of system controls, owned by the form, unless it is
  // open; returns its window.
  HWND OpenForeignDialog();
  // The dialog's window, nullptr while it is closed.
  HWND ForeignDialog() const { return foreignDialog_.Handle(); }

  skin::TSkinData* SkinData = nullptr;

  gui::TToolBar* ToolBar = nullptr;
  gui::THeaderControl* HeaderControl = nullptr;
  gui::TStatusBar* StatusBar = nullptr;

  gui::TButton* NormalButton = nullptr;
  gui::TButton* DefaultButton = nullptr;
  gui::TButton* DisabledButton = nullptr;
  gui::TButton* TwoLineButton = nullptr;
  gui::TButton* Tag99Button = nullptr;
  gui::TButton* Tag199Button = nullptr;
  gui::TButton* DialogButton = nullptr;
  gui::TBitBtn* GlyphButton = nullptr;

  gui::TPanel* Panel = nullptr;
  gui::TSpeedButton* SpeedButton = nullptr;
  gui::TSpeedButton* FlatSpeedButton = nullptr;
  gui::TSpeedButton* DownSpeedButton = nullptr;

  gui::TCheckBox* UncheckedBox = nullptr;
  gui::TCheckBox* CheckedBox = nullptr;
  gui::TCheckBox* GrayedBox = nullptr;
  gui::TCheckBox* DisabledCheckBox = nullptr;
  gui::TCheckBox* Tag99CheckBox = nullptr;

  gui::TGroupBox* GroupBox = nullptr;
  gui::TRadioButton* RadioOne = nullptr;
  gui::TRadioButton* RadioTwo = nullptr;
  gui::TRadioGroup* RadioGroup = nullptr;

  gui::TEdit* BorderEdit = nullptr;
  gui::TEdit* BorderlessEdit = nullptr;
  gui::TEdit* DisabledEdit = nullptr;
  gui::TEdit* SpinEdit = nullptr;
  gui::TUpDown* UpDown = nullptr;

  gui::TComboBox* DropDownCombo = nullptr;
  gui::TComboBox* ListCombo = nullptr;
  gui::TComboBox* DisabledCombo = nullptr;

  gui::TMemo* Memo = nullptr;
  gui::TListView* ListView = nullptr;

  gui::TScrollBar* HorizontalScrollBar = nullptr;
  gui::TScrollBar* VerticalScrollBar = nullptr;
  gui::TProgressBar* ProgressBar = nullptr;
  gui::TProgressBar* VerticalProgressBar = nullptr;
  gui::TTrackBar* TrackBar = nullptr;
  gui::TTrackBar* VerticalTrackBar = nullptr;

  gui::TMainMenu* MainMenu = nullptr;
  gui::TMenuItem* FileMenu = nullptr;
  gui::TMenuItem* RecentMenu = nullptr;
  gui::TMenuItem* EditMenu = nullptr;
  gui::TMenuItem* ViewMenu = nullptr;
  // A bar item without sub-items: it is a command of its own.
  gui::TMenuItem* HelpItem = nullptr;
  gui::TPopupMenu* ContextMenu = nullptr;
  // The menu item clicked last, and how many were.
  gui::TMenuItem* LastClickedItem = nullptr;
  int MenuClicks = 0;

  gui::TPageControl* PageControl = nullptr;
  TAdvPageControl* AdvPageControl = nullptr;
  gui::TTabSet* TabSet = nullptr;
  gui::TTabControl* TabControl = nullptr;

 private:
  // A control owned by the form, named, in parent.
  template <class C>
  C* Make(const rt::WideString& name, gui::TWinControl* parent) {
    auto* control = new C(this);
    control->SetName(name);
    control->SetParent(parent);
    return control;
  }
  void CaptionAbove(TColumn& column, const rt::WideString& text);

  gui::TMenuItem* AddMenuItem(gui::TMenuItem* parent, const rt::WideString& name, const rt::WideString& caption);
  void BuildMenus();

  // One per column of the form, left to right, and the bars at its edges.
  void BuildBars();
  void BuildButtonColumn(TColumn column);
  void BuildChoiceColumn(TColumn column);
  void BuildListColumn(TColumn column);
  void BuildPageColumn(TColumn column);
  void BuildPanel(TColumn& column);
  void BuildPages(gui::TPageControl* pages, std::initializer_list<const char16_t*> captions);
  void StartSkinning(const rt::WideString& skinFile);

  TForeignDialog foreignDialog_;
};

}  // namespace gallery
