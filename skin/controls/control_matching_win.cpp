// The matching walk: which painter each control of a skinned window gets.
// Framework controls are matched by the skin data's hooks and class map,
// then by fixed rules on their class; the child windows of other windows
// by their system class and style.
#include <algorithm>

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
#include "runtime/gui/panel.h"
#include "runtime/gui/progress_bar.h"
#include "runtime/gui/scroll_bar.h"
#include "runtime/gui/status_bar.h"
#include "runtime/gui/tab_controls.h"
#include "runtime/gui/tool_bar.h"
#include "runtime/gui/win_control.h"
#include "runtime/published.h"
#include "runtime/text.h"
#include "runtime/window_class_win.h"
#include "skin/controls/bar_painters_win.h"
#include "skin/controls/box_painters_win.h"
#include "skin/controls/check_painters_win.h"
#include "skin/controls/combo_painter_win.h"
#include "skin/controls/control_painters_win.h"
#include "skin/controls/edit_painters_win.h"
#include "skin/controls/property_values.h"
#include "skin/controls/push_button_painters_win.h"
#include "skin/controls/scroll_painters_win.h"
#include "skin/controls/tab_painters_win.h"

namespace skin {

namespace {

constexpr size_t kClassMapValueLength = 50;

// The class tests: the framework's classes and everything derived from
// them, whatever name a derived class gives itself.
template <class C>
bool Is(const gui::TControl& control) {
  return dynamic_cast<const C*>(&control) != nullptr;
}

bool IsPreviewForm(const gui::TForm& form) {
  const rt::WideString name = form.ClassName();
  return ContainsText(form.Name(), u"preview") || ContainsText(name, u"preview") ||
         name == u"TQRStandardPreview" || name == u"TppPrintPreview" || name == u"TdxfmStdPreview";
}

class TControlMatcher {
 public:
  explicit TControlMatcher(TSkinFormFrame& frame) : frame_(frame), data_(*frame.SkinData()) {}

  void MatchForm(gui::TForm& form) {
    preview_ = IsPreviewForm(form);
    WalkContainer(form);
  }
  void MatchForeignChildren(HWND parent);
  void MatchForeignWindow(HWND child);

 private:
  bool Kind(TSkinControlType kind) const { return Has(data_.SkinControls(), kind); }
  bool HasTabs() const { return data_.Model().Tabs != nullptr; }

  void WalkContainer(rt::TComponent& container) {
    for (int i = 0; i < container.ComponentCount(); ++i)
      if (auto* control = dynamic_cast<gui::TControl*>(container.Component(i))) Match(*control);
  }
  void Match(gui::TControl& control);
  bool AlreadyPainted(gui::TControl& control) const;
  bool MatchHandler(gui::TControl& control, const rt::WideString& upperName);
  bool MatchClassMap(gui::TControl& control);
  void ApplyClassMapValue(gui::TControl& control, const rt::WideString& value);
  void MatchBuiltIn(gui::TControl& control, const rt::WideString& name);
  void EachChild(gui::TControl& control, void (TControlMatcher::*apply)(gui::TControl&)) {
    for (int i = 0; i < control.ComponentCount(); ++i)
      if (auto* child = dynamic_cast<gui::TControl*>(control.Component(i))) (this->*apply)(*child);
  }
  void ChildRadioButton(gui::TControl& child) {
    if (Kind(xcRadioButton)) Paint<TSkinRadioButton>(child, false);
  }
  void ChildCheckBox(gui::TControl& child) {
    if (Kind(xcRadioButton)) Paint<TSkinCheckBox>(child, false);
  }
  void ChildClassMap(gui::TControl& child) { MatchClassMap(child); }
  void ChildScrollPainter(gui::TControl& child);

  // A painter owned by the control, hooked into its WindowProc.
  template <class P>
  P* Paint(gui::TControl& control, bool recolour) {
    auto* painter = new P(&control);
    painter->AttachControl(&frame_, &data_, recolour);
    return painter;
  }
  // A painter owned by the control (or the frame), on its window.
  template <class P>
  P* PaintWindow(gui::TControl& control, rt::TComponent* owner = nullptr) {
    auto* windowed = dynamic_cast<gui::TWinControl*>(&control);
    if (!windowed) return nullptr;
    auto* painter = new P(owner ? owner : &control);
    painter->AttachWindow(windowed->Handle(), &data_, &frame_);
    return painter;
  }
  template <class P>
  P* PaintScrollbars(gui::TControl& control) {
    auto* painter = new P(&control);
    painter->AttachScrollbar(&control, &data_, &frame_);
    return painter;
  }
  template <class P>
  P* PaintBare(HWND window) {
    auto* painter = new P(&frame_);
    painter->AttachWindow(window, &data_, &frame_);
    return painter;
  }

  TSkinFormFrame& frame_;
  TSkinData& data_;
  bool preview_ = false;
};

bool TControlMatcher::AlreadyPainted(gui::TControl& control) const {
  auto* windowed = dynamic_cast<gui::TWinControl*>(&control);
  const HWND handle = windowed ? windowed->WindowHandle() : nullptr;
  for (TSkinControlPainter* painter : frame_.Controls()) {
    if (handle && painter->Handle() == handle) return true;
    if (auto* skinControl = dynamic_cast<TSkinControl*>(painter); skinControl && skinControl->Owner() == &control)
      return true;
  }
  return false;
}

void TControlMatcher::Match(gui::TControl& control) {
  const int32_t disableTag = data_.DisableTag();
  if (control.Tag() % 100 == disableTag) return;
  if (AlreadyPainted(control)) return;
  if (auto* windowed = dynamic_cast<gui::TWinControl*>(&control); windowed && !windowed->HandleAllocated()) {
    if (preview_) return;
    try {
      windowed->Handle();
    } catch (const std::exception&) {
      return;  // a control whose window cannot be made stays as it is
    }
  }
  const rt::WideString upperName = rt::UpperText(control.ClassName());
  if (MatchHandler(control, upperName)) return;
  if (MatchClassMap(control)) return;
  if (upperName == u"TDBCOMBOBOXEH" || upperName == u"TQRPREVIEW" || upperName == u"TFRDESIGNERPAGE" ||
      upperName == u"TFRPBOX")
    return;
  MatchBuiltIn(control, upperName);
}

bool TControlMatcher::MatchHandler(gui::TControl& control, const rt::WideString& upperName) {
  if (!data_.OnSkinControl) return false;
  rt::TComponent* skinned = nullptr;
  gui::TForm* form = frame_.Form();
  data_.OnSkinControl(&frame_, &data_, form, &control, upperName, skinned);
  auto* painter = dynamic_cast<TSkinControl*>(skinned);
  if (!painter) return false;
  painter->AttachControl(&frame_, &data_, painter->Recolours());
  if (Is<gui::TPanel>(control)) WalkContainer(control);
  return true;
}

bool TControlMatcher::MatchClassMap(gui::TControl& control) {
  const rt::WideString key = AsciiLower(control.ClassName()) + u"=";
  for (const rt::WideString& line : data_.Skin3rd()) {
    if (AsciiLower(line).rfind(key, 0) != 0) continue;
    ApplyClassMapValue(control, AsciiLower(line.substr(key.size(), kClassMapValueLength)));
    return true;
  }
  return false;
}

void TControlMatcher::ChildScrollPainter(gui::TControl& child) {
  auto* windowed = dynamic_cast<gui::TWinControl*>(&child);
  if (!windowed) return;
  if (Is<gui::TScrollBar>(child))
    Paint<TSkinScControl>(child, false);
  else if (GetWindowLongPtrW(windowed->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL))
    PaintScrollbars<TSkinScrollbar>(child);
}

void TControlMatcher::ApplyClassMapValue(gui::TControl& control, const rt::WideString& value) {
  if (value == u"nil") return;
  if (value == u"combobox") {
    if (Kind(xcCombo)) Paint<TSkinComBox>(control, false);
  } else if (value == u"edit") {
    if (Kind(xcEdit)) PaintWindow<TSkinEdit>(control);
  } else if (value == u"radiobutton") {
    if (Kind(xcRadioButton)) Paint<TSkinRadioButton>(control, false);
  } else if (value == u"panel") {
    if (!Kind(xcPanel)) return;
    if (rt::HasProperty(control, "Transparent")) rt::SetPropertyText(control, "Transparent", u"True");
    Paint<TSkinBox>(control, true);
  } else if (value == u"trackbar") {
    if (!Kind(xcButton)) return;
    if (rt::HasProperty(control, "Transparent")) rt::SetPropertyText(control, "Transparent", u"True");
    Paint<TSkinTrackBar>(control, false);
  } else if (value == u"button") {
    if (Kind(xcButton)) Paint<TSkinButton>(control, false);
  } else if (value == u"bitbtn") {
    if (Kind(xcButton)) Paint<TSkinBitButton>(control, false);
  } else if (value == u"speedbutton") {
    if (Kind(xcSpeedButton)) Paint<TSkinSpeedButton>(control, false);
  } else if (value == u"tab") {
    if (Kind(xcTab) && HasTabs()) PaintWindow<TSkinTab>(control);
  } else if (value == u"progress") {
    if (Kind(xcProgress)) Paint<TSkinProgress>(control, false);
  } else if (value == u"scrollbar") {
    if (!Kind(xcScrollbar)) return;
    PaintScrollbars<TSkinScrollbar>(control);
    WalkContainer(control);
  } else if (value == u"embedscrollbar") {
    if (Kind(xcScrollbar)) EachChild(control, &TControlMatcher::ChildScrollPainter);
  } else if (value == u"container") {
    EachChild(control, &TControlMatcher::ChildClassMap);
  } else if (value == u"groupbox") {
    if (Kind(xcGroupBox)) Paint<TSkinGroupBox>(control, true);
  } else if (value == u"radiogroup") {
    if (!Kind(xcGroupBox)) return;
    EachChild(control, &TControlMatcher::ChildRadioButton);
    Paint<TSkinGroupBox>(control, true);
  } else if (value == u"checkgroup") {
    if (!Kind(xcPanel)) return;
    EachChild(control, &TControlMatcher::ChildCheckBox);
    if (Kind(xcGroupBox)) Paint<TSkinGroupBox>(control, true);
  } else if (value == u"checkbox") {
    if (Kind(xcCheckBox)) Paint<TSkinCheckBox>(control, false);
  }
}

void TControlMatcher::MatchBuiltIn(gui::TControl& control, const rt::WideString& name) {
  auto* windowed = dynamic_cast<gui::TWinControl*>(&control);
  const DWORD style = windowed ? static_cast<DWORD>(GetWindowLongPtrW(windowed->Handle(), GWL_STYLE)) : 0;
  if (Is<gui::TPageControl>(control) && Kind(xcTab) && HasTabs()) {
    PaintWindow<TSkinTab>(control);
  } else if (name == u"TTABSET" && Kind(xcTab) && HasTabs()) {
    Paint<TSkinTab31>(control, false);
  } else if (name == u"TTABBEDNOTEBOOK" && Kind(xcTab) && HasTabs()) {
    PaintWindow<TSkinTab>(control);
  } else if (name == u"TMVCPANEL") {
    WalkContainer(control);
  } else if (Is<gui::TCustomTabControl>(control) && Kind(xcTab) && HasTabs()) {
    PaintWindow<TSkinTab>(control, &frame_);
  } else if (Is<gui::TCheckBox>(control) && Kind(xcCheckBox)) {
    Paint<TSkinCheckBox>(control, false);
  } else if (name == u"TTRACKBAR" && Kind(xcButton)) {
    Paint<TSkinTrackBar>(control, false);
  } else if ((name == u"TUPDOWN" || name == u"TSPINBUTTON") && Kind(xcButton)) {
    Paint<TSkinUpDown>(control, false);
  } else if (Is<gui::TRadioGroup>(control) && Kind(xcRadioButton)) {
    EachChild(control, &TControlMatcher::ChildRadioButton);
    Paint<TSkinGroupBox>(control, true);
  } else if (name == u"TDBNAVIGATOR" && Kind(xcPanel)) {
    if (rt::HasProperty(control, "Flat")) rt::SetPropertyText(control, "Flat", u"True");
    Paint<TSkinBox>(control, true);
  } else if (name == u"TRZDBCHECKBOX" && Kind(xcCheckBox)) {
    Paint<TSkinObjImage>(control, false);
  } else if (Is<gui::TGroupBox>(control) && Kind(xcPanel)) {
    Paint<TSkinGroupBox>(control, true);
    WalkContainer(control);
  } else if (Is<gui::TRadioButton>(control) && Kind(xcRadioButton)) {
    Paint<TSkinRadioButton>(control, false);
  } else if (Is<gui::TToolBar>(control) && Kind(xcToolbar)) {
    if (rt::HasProperty(control, "Flat")) rt::SetPropertyText(control, "Flat", u"True");
    auto* box = new TSkinBox(&control);
    box->DrawsToolbarButtons = true;
    box->AttachControl(&frame_, &data_, true);
  } else if (Is<gui::TStatusBar>(control) && Kind(xcStatusBar)) {
    Paint<TSkinStatusBar>(control, false);
  } else if (Is<gui::TProgressBar>(control) && Kind(xcProgress)) {
    Paint<TSkinProgress>(control, false);
  } else if (Is<gui::TScrollBar>(control) && Kind(xcScrollbar)) {
    Paint<TSkinScControl>(control, false);
  } else if (Is<gui::TComboBox>(control) && Kind(xcCombo)) {
    Paint<TSkinComBox>(control, false);
  } else if (name == u"TDATETIMEPICKER" && Kind(xcEdit)) {
    // The up-down mode is an edit with spin buttons, the other a drop-down.
    if (style & 0x0001 /* DTS_UPDOWN */)
      PaintWindow<TSkinEdit>(control);
    else
      Paint<TSkinComBox>(control, false);
  } else if ((name == u"TRICHEDIT" || name == u"TWWDBRICHEDIT" || name == u"TDXDBMEMO") && Kind(xcScrollbar)) {
    PaintScrollbars<TSkinScrollbar>(control);
  } else if (Is<gui::TSpeedButton>(control) && Kind(xcSpeedButton)) {
    Paint<TSkinSpeedButton>(control, false);
  } else if (Is<gui::TPanel>(control) && Kind(xcPanel)) {
    Paint<TSkinBox>(control, true);
    WalkContainer(control);
  } else if ((name == u"TDXTREELIST" || name == u"TDXDBTREELIST" || name == u"TDXDBGRID") && Kind(xcScrollbar)) {
    PaintScrollbars<TSkinScrollbar>(control);
  } else if (Is<gui::TListView>(control) && Kind(xcScrollbar)) {
    PaintScrollbars<TSkinListView>(control);
  } else if (Is<gui::THeaderControl>(control) && Kind(xcScrollbar)) {
    PaintWindow<TSkinHeader>(control);
  } else if (Is<gui::TMemo>(control) && Kind(xcScrollbar)) {
    PaintScrollbars<TSkinScrollbar>(control);
  } else if (windowed && ((style & (WS_HSCROLL | WS_VSCROLL)) || control.Tag() == 55) && Kind(xcScrollbar)) {
    PaintScrollbars<TSkinScrollbar>(control);
  } else if (Is<gui::TButton>(control) && Kind(xcButton)) {
    Paint<TSkinButton>(control, false);
  } else if (Is<gui::TEdit>(control) && Kind(xcEdit)) {
    PaintWindow<TSkinEdit>(control);
  } else if (name != u"TDCEDIT" && name != u"TDCDBEDIT") {
    if (Is<gui::TForm>(control)) {
      Paint<TSkinBox>(control, true);
      WalkContainer(control);
    } else if (windowed) {
      WalkContainer(control);
    }
  } else {
    const int32_t buttons = IntegerText(rt::HasProperty(control, "NumButtons")
                                            ? rt::GetPropertyText(control, "NumButtons")
                                            : rt::WideString(),
                                        -1);
    if (buttons == 1 && Kind(xcCombo))
      Paint<TSkinComBox>(control, false);
    else if (buttons == 0 && Kind(xcEdit))
      PaintWindow<TSkinEdit>(control);
  }
}

void TControlMatcher::MatchForeignWindow(HWND child) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
  if (!(style & WS_CHILD) || frame_.FindControl(child)) return;
  const rt::WideString name = AsciiLower(rt::WindowClassName(child));
  if (name == u"button") {
    // The tests read the button's type only; owner-drawn buttons and
    // group boxes draw themselves.
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX || type == BS_OWNERDRAW) return;
    if ((type & 3) == 3 || (type & 2) || (type & 5) == 5)
      PaintBare<TSkinCheckBox>(child);
    else if ((type & 9) == 9 || (type & 4))
      PaintBare<TSkinRadioButton>(child);
    else
      PaintBare<TSkinButton>(child);
  } else if (name == u"combobox") {
    if ((style & 3) != CBS_SIMPLE) PaintBare<TSkinComBox>(child);
  } else if (name == u"comboboxex32") {
    if (const HWND combo = GetWindow(child, GW_CHILD)) PaintBare<TSkinComBox>(combo);
  } else if (name == u"scrollbar") {
    PaintBare<TSkinSizer>(child);
  } else if (name == u"#32770") {
    PaintBare<TSkinBoxH>(child);
    MatchForeignChildren(child);
  } else if (name == u"edit") {
    PaintBare<TSkinEdit>(child);
  }
}

void TControlMatcher::MatchForeignChildren(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    MatchForeignWindow(child);
}

}  // namespace

void SkinControls(TSkinFormFrame& frame) {
  if (!frame.SkinData() || !frame.Handle()) return;
  TControlMatcher matcher(frame);
  if (frame.Form()) {
    frame.FreeDeadControls();
    matcher.MatchForm(*frame.Form());
  } else {
    matcher.MatchForeignChildren(frame.Handle());
  }
}

void SkinChildWindow(TSkinFormFrame& frame, HWND child) {
  if (!frame.SkinData() || frame.Form()) return;
  TControlMatcher(frame).MatchForeignWindow(child);
}

void RegisterControlPainters() {
  TControlSkinning entries;
  entries.SkinControls = &SkinControls;
  entries.SkinChild = &SkinChildWindow;
  SetControlSkinning(entries);
}

}  // namespace skin
