// The control painters in this process: which control gets which painter,
// what a painter does to its control while it lives and what it gives
// back, and the states they draw.
#include <gtest/gtest.h>

#include <string>

#include "runtime/gui/application.h"
#include "runtime/gui/button.h"
#include "runtime/gui/check_box.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/image.h"
#include "runtime/gui/label.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/tab_controls.h"
#include "skin/controls/check_painters_win.h"
#include "skin/controls/push_button_painters_win.h"
#include "skin/controls/tab_painters_win.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

using testing::Pump;
using testing::AwaitSkinned;
using testing::PumpUntil;

// A page control that calls itself by another name, as controls of other
// libraries do.
class TAdvPageControl : public gui::TPageControl {
 public:
  using gui::TPageControl::TPageControl;
  rt::WideString ClassName() const override { return u"TAdvPageControl"; }
};

class ControlPainters : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new gui::TForm(nullptr);
    form->SetBounds(80, 80, 420, 300);
    form->SetCaption(u"Pintores");
    data = testing::SkinOfThisFormOnly(*form, u"" QUIMORA_PRODUCT_SKIN);
  }
  void TearDown() override {
    delete form;
    Pump(20);
  }
  void Skin(TSkinControlTypes kinds = kDefaultSkinControls) {
    ASSERT_TRUE(testing::ShowSkinned(*form, *data, kinds));
  }
  template <class C>
  C* Add(int left, int top, intptr_t tag = 0, gui::TWinControl* parent = nullptr) {
    auto* control = new C(form);
    control->SetParent(parent ? parent : form);
    control->SetBounds(left, top, 90, 25);
    control->SetTag(tag);
    return control;
  }
  TSkinFormFrame* Frame() const { return Manager() ? Manager()->FindSkinForm(form->WindowHandle()) : nullptr; }
  // The class of the painter that paints the control, "" for none.
  rt::WideString PainterOf(gui::TControl* control) const {
    TSkinFormFrame* frame = Frame();
    if (!frame) return u"no frame";
    for (TSkinControlPainter* painter : frame->Controls())
      if (auto* p = dynamic_cast<TSkinControl*>(painter); p && p->Owner() == control) return p->ClassName();
    return u"";
  }

  gui::TForm* form = nullptr;
  TSkinData* data = nullptr;
};

TEST_F(ControlPainters, ButtonsAndEditsArePaintedPanelsLabelsAndPicturesAreNot) {
  auto* panel = Add<gui::TPanel>(0, 0);
  panel->SetBounds(0, 0, 400, 200);
  auto* button = Add<gui::TButton>(10, 10, 0, panel);
  auto* edit = Add<gui::TEdit>(10, 50, 0, panel);
  auto* label = Add<gui::TLabel>(10, 90, 0, panel);
  auto* image = Add<gui::TImage>(10, 130, 0, panel);
  // The installer's form: every kind but panels (and menu items).
  Skin(kDefaultSkinControls & ~(1u << xcPanel));
  EXPECT_EQ(PainterOf(button), u"TSkinButton");
  EXPECT_EQ(PainterOf(edit), u"TSkinEdit");
  EXPECT_EQ(PainterOf(panel), u"");
  EXPECT_EQ(PainterOf(label), u"");
  EXPECT_EQ(PainterOf(image), u"");
  // The edit's painter stands in front of the edit's own window.
  EXPECT_NE(Frame()->FindControl(edit->Handle()), nullptr);
}

TEST_F(ControlPainters, TagsOfTheDisableTagKeepTheSystemLook) {
  auto* plain = Add<gui::TButton>(10, 10, 98);
  auto* tag99 = Add<gui::TButton>(10, 40, 99);
  auto* tag199 = Add<gui::TCheckBox>(10, 70, 199);
  auto* tag299 = Add<gui::TEdit>(10, 100, 299);
  Skin();
  EXPECT_EQ(PainterOf(plain), u"TSkinButton");
  EXPECT_EQ(PainterOf(tag99), u"");
  EXPECT_EQ(PainterOf(tag199), u"");
  EXPECT_EQ(PainterOf(tag299), u"");
}

TEST_F(ControlPainters, TheClassMapAndTheSkinControlHandlerComeFirst) {
  auto* adv = Add<TAdvPageControl>(10, 10);
  auto* pages = Add<gui::TPageControl>(10, 60);
  auto* mapped = Add<gui::TButton>(10, 110);
  mapped->SetName(u"Mapeado");
  auto* chosen = Add<gui::TButton>(10, 150);
  chosen->SetName(u"Elegido");
  std::vector<rt::WideString> map = DefaultSkin3rd();
  map.push_back(u"TButtonMapped=nil");
  data->SetSkin3rd(map);
  rt::WideString seenClass;
  data->OnSkinControl = [&](rt::TComponent*, TSkinData*, gui::TControl*, gui::TControl* control,
                            const rt::WideString& className, rt::TComponent*& skinned) {
    if (control != chosen) return;
    seenClass = className;
    skinned = new TSkinCheckBox(control);  // any painter the handler likes
  };
  Skin();
  // "TAdvPageControl=nil" is one of the map's default rows.
  EXPECT_EQ(PainterOf(adv), u"");
  EXPECT_EQ(PainterOf(pages), u"TSkinTab");
  EXPECT_EQ(PainterOf(mapped), u"TSkinButton");
  EXPECT_EQ(seenClass, u"TBUTTON");
  EXPECT_EQ(PainterOf(chosen), u"TSkinCheckBox");
}

TEST_F(ControlPainters, WithoutTheirKindControlsKeepTheirLook) {
  auto* button = Add<gui::TButton>(10, 10);
  auto* check = Add<gui::TCheckBox>(10, 40);
  Skin(kDefaultSkinControls & ~(1u << xcButton));
  EXPECT_EQ(PainterOf(button), u"");
  EXPECT_EQ(PainterOf(check), u"TSkinCheckBox");
}

TEST_F(ControlPainters, APainterGoesWithItsControlAndGivesItsHandlerBackWhenTheSkinGoes) {
  auto* first = Add<gui::TButton>(10, 10);
  auto* second = Add<gui::TButton>(10, 40);
  Skin();
  ASSERT_EQ(Frame()->Controls().size(), 2u);
  delete first;
  EXPECT_EQ(Frame()->Controls().size(), 1u);
  EXPECT_EQ(PainterOf(second), u"TSkinButton");

  // Clicks still reach the control through the painter ...
  int clicks = 0;
  second->OnClick = [&](rt::TObject*) { ++clicks; };
  SendMessageW(second->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(second->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  // ... and go on when the skin goes and the painters with it.
  data->SetActive(false);
  ASSERT_TRUE(AwaitSkinned(form->Handle(), false));
  EXPECT_EQ(PainterOf(second), u"no frame");
  SendMessageW(second->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlPainters, APanelTakesTheFaceColourWhileSkinnedAndGetsItsOwnBack) {
  auto* panel = Add<gui::TPanel>(10, 10);
  panel->SetColor(rt::clWindow);
  Skin();
  EXPECT_EQ(PainterOf(panel), u"TSkinBox");
  EXPECT_EQ(panel->Color(), data->Model().SkinColours.ButtonFace);
  data->SetActive(false);
  ASSERT_TRUE(AwaitSkinned(form->Handle(), false));
  EXPECT_EQ(panel->Color(), rt::clWindow);
}

TEST_F(ControlPainters, AButtonPaintsOnlyWhileItsPaintingIsEnabled) {
  auto* button = Add<gui::TButton>(10, 10);
  Skin();
  auto* painter = dynamic_cast<TSkinButton*>(Frame()->FindControl(button->Handle()));
  ASSERT_NE(painter, nullptr);
  SendMessageW(button->Handle(), SKINMSG_ENABLE, 0, 0);
  EXPECT_FALSE(painter->PaintEnabled());
  // Every message but the switch goes to the control as it is.
  int clicks = 0;
  button->OnClick = [&](rt::TObject*) { ++clicks; };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  SendMessageW(button->Handle(), SKINMSG_ENABLE, 1, 0);
  EXPECT_TRUE(painter->PaintEnabled());
}

TEST_F(ControlPainters, AFocusedButtonIsTheDefaultOneAndADisabledOneShowsItsOwnFrame) {
  auto* first = Add<gui::TButton>(10, 10);
  auto* second = Add<gui::TButton>(10, 40);
  auto* edit = Add<gui::TEdit>(10, 70);
  second->SetDefault(true);
  Skin();
  auto frameOf = [&](gui::TButton* b) {
    return dynamic_cast<TSkinButton*>(Frame()->FindControl(b->Handle()))->StateFrame();
  };
  first->SetFocus();
  PumpUntil([&] { return frameOf(first) == bfDefault && frameOf(second) == bfNormal; });
  EXPECT_EQ(frameOf(first), bfDefault);
  EXPECT_EQ(frameOf(second), bfNormal);
  // Away from the push buttons, the Default one takes the part.
  edit->SetFocus();
  PumpUntil([&] { return frameOf(first) == bfNormal && frameOf(second) == bfDefault; });
  EXPECT_EQ(frameOf(first), bfNormal);
  EXPECT_EQ(frameOf(second), bfDefault);
  second->SetEnabled(false);
  EXPECT_EQ(frameOf(second), bfDisabled);
}

TEST(CheckBoxFrames, FollowTheCheckStateAndTheImageLayout) {
  // Five frames: off, on, mixed, off disabled, on disabled.
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_UNCHECKED, true, false, false, 5), 1);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_CHECKED, true, true, true, 5), 2);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_INDETERMINATE, true, false, false, 5), 3);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_UNCHECKED, false, false, false, 5), 4);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_CHECKED, false, false, false, 5), 5);
  // Fewer frames: no disabled look, mixed shown as checked.
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_CHECKED, false, false, false, 2), 2);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_INDETERMINATE, true, false, false, 2), 2);
  // Twelve frames: four looks per check state.
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_UNCHECKED, true, false, true, 12), 2);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_CHECKED, true, true, false, 12), 7);
  EXPECT_EQ(TSkinCheckBox::BoxFrame(BST_INDETERMINATE, false, false, false, 12), 12);
}

TEST(TabFrames, SelectedFocusedHotAndDisabledTabs) {
  EXPECT_EQ(TSkinTab::TabFrame(false, true, false, false), 1);
  EXPECT_EQ(TSkinTab::TabFrame(true, true, false, false), 2);
  EXPECT_EQ(TSkinTab::TabFrame(true, false, false, true), 3);
  EXPECT_EQ(TSkinTab::TabFrame(false, true, true, false), 4);
  EXPECT_EQ(TSkinTab::TabFrame(true, true, true, true), 5);
}

}  // namespace
}  // namespace skin
