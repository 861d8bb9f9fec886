// The skin manager in this process: which windows it skins, with which
// skin data, what its requests do, and what a skinned window keeps.
#include "skin/windows/skin_manager_win.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/gui/application.h"
#include "skin/windows/form_frame_win.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin {
namespace {

using testing::AwaitSkinned;
using testing::Pump;
using testing::PumpUntil;

class TNamedForm : public gui::TForm {
 public:
  TNamedForm(rt::TComponent* owner, rt::WideString name) : gui::TForm(owner), name_(std::move(name)) {}
  rt::WideString ClassName() const override { return name_; }

 private:
  rt::WideString name_;
};

bool Skinned(HWND window) { return SendMessageW(window, SKINMSG_QUERY, 0, 0) == 1; }

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = new gui::TForm(nullptr);
    data = MakeData(host, sfMainform);
    data->SetActive(true);
    ASSERT_NE(Manager(), nullptr);
    ASSERT_TRUE(Manager()->Skinning());
  }
  void TearDown() override {
    for (gui::TForm* form : forms) delete form;
    delete host;
    Pump(20);
  }

  static TSkinData* MakeData(rt::TComponent* owner, TSkinFormType kind) {
    auto* made = new TSkinData(owner);
    made->SetSkinFormtype(kind);
    made->SetSkinFile(u"" QUIMORA_PRODUCT_SKIN);
    made->Loaded();
    return made;
  }

  gui::TForm* Show(const rt::WideString& className, intptr_t tag = 0, int width = 300, int height = 200) {
    auto* form = new TNamedForm(nullptr, className);
    forms.push_back(form);
    form->SetTag(tag);
    form->SetBounds(100, 100, width, height);
    form->SetCaption(u"Ventana de prueba");
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(80);
    return form;
  }

  gui::TForm* host = nullptr;
  TSkinData* data = nullptr;
  std::vector<gui::TForm*> forms;
};

TEST_F(SkinManagerTest, AFormIsSkinnedOnActivationAndKeepsItsClientArea) {
  auto* form = new TNamedForm(nullptr, u"TfmPrueba");
  forms.push_back(form);
  form->SetBounds(100, 100, 300, 200);
  const SIZE before = ClientSize(form->Handle());
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(80);
  const HWND window = form->WindowHandle();
  ASSERT_TRUE(Skinned(window));
  const SIZE after = ClientSize(window);
  EXPECT_EQ(before.cx, after.cx);
  EXPECT_EQ(before.cy, after.cy);
  EXPECT_EQ(0, GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
  // The product skin's rounded corners are cut out of the window.
  gui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(window, region.get()));
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 150, 100));
  // The form's colour is the skin's button face.
  EXPECT_EQ(data->Model().SkinColours.ButtonFace, form->Color());
}

TEST_F(SkinManagerTest, TagsClassesAndEmptyWindowsDecide) {
  data->SetDisableTag(5);
  EXPECT_FALSE(Skinned(Show(u"TfmNoventaNueve", 99)->WindowHandle()));
  EXPECT_TRUE(Skinned(Show(u"TfmCiento", 199)->WindowHandle()));

  data->OnFormSkin = [](rt::TObject*, const rt::WideString& name, bool& doSkin) { doSkin = name != u"TfmVetado"; };
  EXPECT_FALSE(Skinned(Show(u"TfmVetado")->WindowHandle()));
  EXPECT_TRUE(Skinned(Show(u"TfmPermitido")->WindowHandle()));
  data->OnFormSkin = nullptr;

  // An overlapped window gets at least the system's smallest size.
  auto* empty = new TNamedForm(nullptr, u"TfmVacio");
  forms.push_back(empty);
  empty->SetBorderStyle(gui::bsNone);
  empty->SetBounds(100, 100, 0, 0);
  empty->Show();
  SetForegroundWindow(empty->Handle());
  Pump(80);
  EXPECT_FALSE(Skinned(empty->WindowHandle()));
  empty->SetBounds(120, 120, 250, 150);
  SetForegroundWindow(forms.front()->WindowHandle());
  Pump(40);
  SetForegroundWindow(empty->WindowHandle());
  EXPECT_TRUE(AwaitSkinned(empty->WindowHandle()));

  EXPECT_FALSE(Manager()->SkinWindow(gui::Application().Handle()));
  EXPECT_FALSE(Skinned(gui::Application().Handle()));
}

TEST_F(SkinManagerTest, DialogsTakeTheDialogSkinDataWhenThereIsOne) {
  gui::TForm* plain = Show(u"TfmPlano");
  gui::TForm* message = Show(u"TMessageForm");
  EXPECT_EQ(data, Manager()->ChooseSkinData(message->WindowHandle()));
  auto* dialogHost = new gui::TForm(nullptr);
  TSkinData* dialogs = MakeData(dialogHost, sfDialog);
  EXPECT_EQ(dialogs, Manager()->ChooseSkinData(message->WindowHandle()));
  EXPECT_EQ(data, Manager()->ChooseSkinData(plain->WindowHandle()));
  // A form's own component wins for that form alone.
  TSkinData* own = MakeData(plain, sfOnlyThisForm);
  EXPECT_EQ(own, Manager()->ChooseSkinData(plain->WindowHandle()));
  EXPECT_EQ(dialogs, Manager()->ChooseSkinData(message->WindowHandle()));
  delete dialogHost;
  EXPECT_EQ(data, Manager()->ChooseSkinData(message->WindowHandle()));
}

TEST_F(SkinManagerTest, OnlyTheLastRequestBeforeTheTickIsCarriedOut) {
  gui::TForm* form = Show(u"TfmPeticiones");
  const HWND window = form->WindowHandle();
  ASSERT_TRUE(Skinned(window));
  const SIZE client = ClientSize(window);
  int changes = 0;
  data->OnSkinChanged = [&](rt::TObject*) { ++changes; };

  // Had both requests been carried out, they would have been at the same
  // tick: the count is read as soon as it moves.
  data->SetActive(false);
  data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return changes > 0; }));
  EXPECT_EQ(1, changes);
  EXPECT_TRUE(Skinned(window));

  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return changes > 1; }));
  EXPECT_EQ(2, changes);
  EXPECT_FALSE(Skinned(window));
  EXPECT_NE(0, GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(client.cx, ClientSize(window).cx);
  EXPECT_EQ(client.cy, ClientSize(window).cy);
  gui::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, GetWindowRgn(window, region.get()));

  data->SetActive(true);
  EXPECT_TRUE(AwaitSkinned(window));
  data->OnSkinChanged = nullptr;
}

TEST_F(SkinManagerTest, AComponentThatGoesTakesItsSkinWithIt) {
  // The form's own component skins it, and goes while the form stays.
  auto* form = new TNamedForm(nullptr, u"TfmSegundo");
  forms.push_back(form);
  form->SetBounds(100, 100, 300, 200);
  form->SetCaption(u"Ventana de prueba");
  TSkinData* own = MakeData(form, sfOnlyThisForm);
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(80);
  TSkinFormFrame* frame = Manager()->FindSkinForm(form->WindowHandle());
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->SkinData(), own);
  const SIZE client = ClientSize(form->WindowHandle());
  delete own;
  EXPECT_FALSE(Skinned(form->WindowHandle()));
  EXPECT_EQ(client.cy, ClientSize(form->WindowHandle()).cy);
  EXPECT_EQ(nullptr, Manager()->FindSkinForm(form->WindowHandle()));
}

// Popup menus are skinned by the menu painters; the manager decides.
int gPopupsMade = 0;
std::unique_ptr<TPopupMenuPainter> CountPopup(HWND, TSkinData&) {
  ++gPopupsMade;
  return nullptr;
}

TEST_F(SkinManagerTest, PopupMenusAreSkinnedByTheKindsTheComponentAllows) {
  const TMenuSkinning previous = MenuSkinning();
  TMenuSkinning counting = previous;
  counting.SkinPopupMenu = CountPopup;
  SetMenuSkinning(counting);
  const HWND window = Show(u"TfmMenus")->WindowHandle();
  struct TCase {
    TSkinControlTypes controls;
    int kind;
    bool skinned;
  };
  const TCase cases[] = {
      {1u << xcPopupMenu, mkPopupMenu, true},     {1u << xcMainMenu, mkPopupMenu, false},
      {1u << xcMainMenu, mkMenuBarItem, true},    {1u << xcMenuItem, mkMenuBarItem, true},
      {1u << xcPopupMenu, mkMenuBarItem, false},  {1u << xcSystemMenu, mkSystemMenu, true},
      {1u << xcPopupMenu, mkSystemMenu, false},   {kDefaultSkinControls, 7, false},
  };
  const TSkinControlTypes saved = data->SkinControls();
  for (const TCase& c : cases) {
    data->SetSkinControls(c.controls);
    Manager()->AnnounceMenu(c.kind);
    gPopupsMade = 0;
    Manager()->SkinPopupMenu(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(c.skinned ? 1 : 0, gPopupsMade) << c.controls << " kind " << c.kind;
  }
  // A window that already has a skinner is left alone.
  data->SetSkinControls(saved);
  Manager()->AnnounceMenu(mkPopupMenu);
  gPopupsMade = 0;
  EXPECT_FALSE(Manager()->SkinPopupMenu(window));
  EXPECT_EQ(0, gPopupsMade);
  // The menu kind goes back to popup menus when no popup is open.
  Manager()->AnnounceMenu(mkSystemMenu);
  Manager()->UnskinPopupMenu(window);
  EXPECT_EQ(mkPopupMenu, Manager()->MenuKind());
  SetMenuSkinning(previous);
}

}  // namespace
}  // namespace skin
