// The skinned system menu's popup: the menu it builds from its items,
// the item an owner-draw message is about, the tag the user chooses, and
// a clearing asked for while the menu is open.
#include "skin/windows/system_popup_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/gui/handles.h"
#include "skin/engine/tests/engine_test_support_win.h"

namespace skin {
namespace {

using testing::Pump;

void AddWindowCommands(TSystemPopup& popup) {
  popup.Add({u" Restore ", stRestore, {}, false});
  popup.Add({u" Maximize ", stMaximize, {}, true});
  popup.Add({u"-", stSeparator, {}, true});
  popup.Add({u" Close ", stClose, u"Shift+F4", true});
}

// What the user does once the menu is open, from a timer of the thread
// whose menu loop runs: keys posted to the open menu, or any other step.
std::vector<std::function<void()>> gSteps;
void CALLBACK RunSteps(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  for (const auto& step : gSteps) step();
  gSteps.clear();
}
std::function<void()> Key(WPARAM key) {
  return [key] {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    PostMessageW(menu, WM_KEYDOWN, key, 1);
    PostMessageW(menu, WM_KEYUP, key, 1 | 0xC0000000);
  };
}

class SystemPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.reset(CreateWindowExW(0, L"STATIC", L"Dueño", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    SetForegroundWindow(owner.get());
    Pump(20);
  }
  // Opens the menu and lets the steps act on it; the chosen tag.
  int Choose(TSystemPopup& popup, std::vector<std::function<void()>> steps) {
    gSteps = std::move(steps);
    SetTimer(nullptr, 0, 50, RunSteps);
    return popup.Popup(owner.get(), {150, 150});
  }

  gui::UniqueWindow owner;
};

TEST_F(SystemPopup, BuildsAnEntryForEachItemWithItsCommandStateAndShortcut) {
  TSystemPopup popup;
  AddWindowCommands(popup);
  EXPECT_EQ(popup.Handle(), nullptr) << "built when first shown";
  EXPECT_EQ(Choose(popup, {Key(VK_ESCAPE)}), -1);
  const HMENU menu = popup.Handle();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  // Ids are the tags plus one; the separator has none.
  EXPECT_EQ(GetMenuItemID(menu, 0), 1u + stRestore);
  EXPECT_EQ(GetMenuItemID(menu, 1), 1u + stMaximize);
  EXPECT_EQ(GetMenuItemID(menu, 3), 1u + stClose);
  EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 3, text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(text), L" Close \tShift+F4");

  // Enabling after the menu is built reaches the entry of that tag.
  popup.Enable(stRestore, true);
  popup.Enable(stClose, false);
  EXPECT_FALSE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(popup.Items()[3].Enabled);
}

TEST_F(SystemPopup, OwnerDrawnEntriesLeadBackToTheirItemsOnly) {
  TSystemPopup popup;
  AddWindowCommands(popup);
  popup.SetOwnerDraw(true);
  Choose(popup, {Key(VK_ESCAPE)});
  const HMENU menu = popup.Handle();
  ASSERT_NE(menu, nullptr);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 3, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  const TSystemPopup::TItem* close = popup.Find(info.wID, info.dwItemData);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->Tag, stClose);
  EXPECT_EQ(close->ShortCut, u"Shift+F4");
  // Another item's id with this data, or this id with other data: none.
  EXPECT_EQ(popup.Find(1u + stMaximize, info.dwItemData), nullptr);
  EXPECT_EQ(popup.Find(info.wID, info.dwItemData + 1), nullptr);
  ASSERT_TRUE(GetMenuItemInfoW(menu, 2, TRUE, &info));
  EXPECT_EQ(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW), static_cast<UINT>(MFT_SEPARATOR | MFT_OWNERDRAW));
}

TEST_F(SystemPopup, GivesTheChosenTagAndClearsOnlyOnceClosed) {
  TSystemPopup popup;
  AddWindowCommands(popup);
  // Down to Restore (greyed, not chosen), down to Maximize, Enter.
  EXPECT_EQ(Choose(popup, {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}), stMaximize);
  EXPECT_EQ(Choose(popup, {Key(VK_UP), Key(VK_RETURN)}), stClose);

  // Cleared while open: the open menu stays until it closes, nothing is
  // chosen, and then the items are gone.
  bool keptWhileOpen = false;
  const int chosen = Choose(popup, {[&] {
                                      popup.Clear();
                                      keptWhileOpen = !popup.Empty() && IsMenu(popup.Handle());
                                    },
                                    Key(VK_UP), Key(VK_RETURN)});
  EXPECT_TRUE(keptWhileOpen);
  EXPECT_EQ(chosen, -1);
  EXPECT_TRUE(popup.Empty());
  EXPECT_EQ(popup.Handle(), nullptr);
}

}  // namespace
}  // namespace skin
