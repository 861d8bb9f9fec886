// The skinned menu bar of a form in this process: the bar takes the
// window's menu and reads its buttons from the framework menu or from a
// plain menu, follows changes of the items, finds its neighbours and
// accelerators; the form's menus are switched to the skin's drawing and
// back.
#include <gtest/gtest.h>

#include "runtime/gui/form.h"
#include "runtime/gui/menus.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/menus/menu_bar_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

using testing::AwaitSkinned;
using testing::Pump;

class SkinnedMenuBar : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new gui::TForm(nullptr);
    form->SetBounds(60, 60, 420, 260);
    form->SetCaption(u"Menús");
    menu = new gui::TMainMenu(form);
    file = Add(menu->Items(), u"&Archivo");
    open = Add(file, u"&Abrir");
    nested = Add(Add(file, u"&Recientes"), u"uno");
    help = Add(menu->Items(), u"A&yuda");
    hidden = Add(menu->Items(), u"Oculto");
    hidden->SetVisible(false);
    view = Add(menu->Items(), u"&Ver");
    Add(view, u"Barra");
    form->SetMenu(menu);
    popup = new gui::TPopupMenu(form);
    popupItem = Add(Add(popup->Items(), u"Copiar"), u"Más");
    data = testing::SkinOfThisFormOnly(*form, u"" QUIMORA_PRODUCT_SKIN);
  }
  void TearDown() override {
    delete form;
    Pump(20);
  }
  gui::TMenuItem* Add(gui::TMenuItem* parent, const rt::WideString& caption) {
    auto* item = new gui::TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  void Skin(TSkinControlTypes kinds = kDefaultSkinControls) {
    ASSERT_TRUE(testing::ShowSkinned(*form, *data, kinds));
    Pump(50);
  }
  TSkinFormFrame* Frame() const { return Manager()->FindSkinForm(form->WindowHandle()); }
  TSkinMenuBar* Bar() const {
    TSkinFormFrame* frame = Frame();
    return frame ? dynamic_cast<TSkinMenuBar*>(frame->SkinMenu()) : nullptr;
  }

  gui::TForm* form = nullptr;
  gui::TMainMenu* menu = nullptr;
  gui::TMenuItem *file = nullptr, *open = nullptr, *nested = nullptr, *help = nullptr, *hidden = nullptr,
                 *view = nullptr;
  gui::TPopupMenu* popup = nullptr;
  gui::TMenuItem* popupItem = nullptr;
  TSkinData* data = nullptr;
};

TEST_F(SkinnedMenuBar, TakesTheWindowsMenuAndReadsOneButtonPerItem) {
  Skin();
  TSkinMenuBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(form->WindowHandle()), nullptr);
  EXPECT_EQ(Frame()->Metrics().MenuHeight, GetSystemMetrics(SM_CYMENU));
  ASSERT_EQ(bar->MenuButtons.size(), 4u);
  const TMenuBtn& first = *bar->MenuButtons[0];
  EXPECT_EQ(first.Caption, u"&Archivo");
  EXPECT_EQ(first.Command, file->Command());
  EXPECT_EQ(first.SubMenu, file->Handle());
  EXPECT_EQ(bar->MenuButtons[1]->SubMenu, nullptr);
  EXPECT_FALSE(bar->MenuButtons[2]->Visible);
  // Laid out left to right in the strip below the caption; the hidden
  // button takes no room.
  const RECT a = first.Bounds, y = bar->MenuButtons[1]->Bounds, v = bar->MenuButtons[3]->Bounds;
  EXPECT_GE(a.top, Frame()->Metrics().FrameTop);
  EXPECT_LT(a.left, y.left);
  EXPECT_EQ(y.right, v.left);
  EXPECT_TRUE(IsRectEmpty(&bar->MenuButtons[2]->Bounds));
  POINT inside{(y.left + y.right) / 2, (y.top + y.bottom) / 2};
  EXPECT_EQ(bar->ObjectAt(inside), bar->MenuButtons[1].get());

  // Changes of the items reach the bar.
  help->SetCaption(u"Ay&uda");
  help->SetEnabled(false);
  EXPECT_EQ(bar->MenuButtons[1]->Caption, u"Ay&uda");
  EXPECT_FALSE(bar->MenuButtons[1]->Enabled);
  EXPECT_EQ(bar->AcceleratorButton(L'u'), nullptr);
  help->SetEnabled(true);
  EXPECT_EQ(bar->AcceleratorButton(L'U'), bar->MenuButtons[1].get());
  EXPECT_EQ(bar->AcceleratorButton(L'v'), bar->MenuButtons[3].get());
  EXPECT_EQ(bar->AcceleratorButton(L'o'), nullptr);

  // Without its menu the form loses the bar and its room; with a menu
  // again it gets them back.
  const int clientHeight = form->ClientHeight();
  form->SetMenu(nullptr);
  EXPECT_EQ(Frame()->SkinMenu(), nullptr);
  EXPECT_EQ(Frame()->Metrics().MenuHeight, 0);
  EXPECT_EQ(form->ClientHeight(), clientHeight + GetSystemMetrics(SM_CYMENU));
  form->SetMenu(menu);
  bar = Bar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->MenuButtons.size(), 4u);
  EXPECT_EQ(GetMenu(form->WindowHandle()), nullptr);
  EXPECT_EQ(form->ClientHeight(), clientHeight);

  // Unskinned, the window shows its menu again.
  data->SetActive(false);
  ASSERT_TRUE(AwaitSkinned(form->Handle(), false));
  EXPECT_EQ(GetMenu(form->WindowHandle()), menu->Handle());
}

TEST_F(SkinnedMenuBar, AFormGivenItsFirstMenuWhileSkinnedGetsTheSkinnedBar) {
  form->SetMenu(nullptr);
  Skin();
  EXPECT_EQ(Frame()->SkinMenu(), nullptr);
  const int clientHeight = form->ClientHeight();
  form->SetMenu(menu);
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(GetMenu(form->WindowHandle()), nullptr);
  EXPECT_EQ(Bar()->MenuButtons.size(), 4u);
  // The bar takes its room from the client area, as the system's would.
  EXPECT_EQ(form->ClientHeight(), clientHeight - GetSystemMetrics(SM_CYMENU));
}

TEST_F(SkinnedMenuBar, NeighboursWrapAroundAndSkipWhatOpensNoMenu) {
  Skin();
  TSkinMenuBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  // Archivo, Ayuda (a command), hidden, Ver.
  EXPECT_EQ(bar->Neighbour(0, 1), 3);
  EXPECT_EQ(bar->Neighbour(3, 1), 0);
  EXPECT_EQ(bar->Neighbour(0, -1), 3);
  EXPECT_EQ(bar->Neighbour(3, -1), 0);
  view->SetVisible(false);
  EXPECT_EQ(bar->Neighbour(0, 1), 0);
}

TEST_F(SkinnedMenuBar, ARightToLeftBarIsLaidOutFromTheRight) {
  menu->SetBiDiMode(gui::bdRightToLeft);
  Skin();
  TSkinMenuBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  const RECT first = bar->MenuButtons[0]->Bounds, second = bar->MenuButtons[1]->Bounds;
  EXPECT_GT(first.left, second.left);
  EXPECT_EQ(second.right, first.left);
  EXPECT_GT(first.right, bar->MenuBarRect.right - 40);
}

TEST_F(SkinnedMenuBar, MergingTakesTheWindowsEntriesWithTheFrameworksCaptionsByPosition) {
  data->SetMenuMerge(true);
  Skin();
  TSkinMenuBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  // The hidden item has no entry: positions after it meet other items.
  ASSERT_EQ(bar->MenuButtons.size(), 3u);
  EXPECT_EQ(bar->MenuButtons[0]->Caption, u"&Archivo");
  EXPECT_EQ(bar->MenuButtons[0]->SubMenu, file->Handle());
  EXPECT_EQ(bar->MenuButtons[1]->Command, help->Command());
  EXPECT_EQ(bar->MenuButtons[2]->Item, hidden);
}

TEST_F(SkinnedMenuBar, APlainMenuIsReadFromItsHandle) {
  form->SetMenu(nullptr);
  // The skin of windows the program did not make.
  data->SetSkinFormtype(sfMainform);
  Skin();
  // A window whose menu the framework does not hold.
  gui::UniqueWindow plain(CreateWindowExW(0, L"STATIC", L"Llano", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr,
                                          nullptr, nullptr, nullptr));
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 5001, L"Uno");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&Lista");
  AppendMenuW(bar, MF_STRING | MF_GRAYED, 5002, L"&Orden");
  SetMenu(plain.get(), bar);
  ShowWindow(plain.get(), SW_SHOW);
  SetForegroundWindow(plain.get());
  ASSERT_TRUE(AwaitSkinned(plain.get()));
  TSkinFormFrame* frame = Manager()->FindSkinForm(plain.get());
  ASSERT_NE(frame, nullptr);
  auto* skinned = dynamic_cast<TSkinMenuBar*>(frame->SkinMenu());
  ASSERT_NE(skinned, nullptr);
  EXPECT_EQ(GetMenu(plain.get()), nullptr);
  ASSERT_EQ(skinned->MenuButtons.size(), 2u);
  EXPECT_EQ(skinned->MenuButtons[0]->Caption, u"&Lista");
  EXPECT_EQ(skinned->MenuButtons[0]->SubMenu, sub);
  EXPECT_EQ(skinned->MenuButtons[0]->Command, kNoCommand);
  EXPECT_EQ(skinned->MenuButtons[1]->Command, 5002u);
  EXPECT_FALSE(skinned->MenuButtons[1]->Enabled);
  // The menu goes with its window, as it would unskinned.
  plain.reset();
  Pump(20);
  EXPECT_FALSE(IsMenu(bar));
}

TEST_F(SkinnedMenuBar, TheFormsMenusAreDrawnByTheSkinWhileItIsOn) {
  gui::TPopupMenu* leftAlone = new gui::TPopupMenu(form);
  leftAlone->SetTag(199);
  gui::TMenuItem* alone = Add(leftAlone->Items(), u"Solo");
  Skin(kDefaultSkinControls | 1u << xcMenuItem);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_TRUE(popupItem->OnDrawItem);
  EXPECT_TRUE(popupItem->OnMeasureItem);
  EXPECT_FALSE(leftAlone->OwnerDraw());
  EXPECT_FALSE(alone->OnDrawItem);
  EXPECT_TRUE(menu->OwnerDraw());
  // The bar's own entries are the bar's; the items below them are hooked.
  EXPECT_FALSE(file->OnDrawItem);
  EXPECT_TRUE(open->OnDrawItem);
  EXPECT_TRUE(nested->OnDrawItem);

  data->SetActive(false);
  ASSERT_TRUE(AwaitSkinned(form->Handle(), false));
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(popupItem->OnDrawItem);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(open->OnDrawItem);
}

TEST_F(SkinnedMenuBar, WithoutMenuItemsInTheSkinControlsTheMainMenuDrawsItself) {
  Skin();
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(open->OnDrawItem);
}

}  // namespace
}  // namespace skin
