// The gallery's menus in this process: the skinned bar and the popups it
// opens, going on to the neighbouring menus with the arrow keys, a bar
// command, separators the popup does not show, hot and pressed bar
// buttons, the skinned system menu, and context menus left plain when
// the skin is told so. While a menu is open the checks run inside its
// loop, from a timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "runtime/gui/graphics.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/image_list.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/gallery/gallery_form_win.h"
#include "skin/gallery/menu_driver_win.h"
#include "skin/menus/menu_bar_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace gallery {
namespace {

using skin::testing::Pump;
using skin::testing::PumpUntil;

constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kItemFrames = 5;

COLORREF ScreenPixel(POINT at) {
  const gui::TWindowDc screen(nullptr);
  return GetPixel(screen.get(), at.x, at.y);
}

COLORREF Rgb(rt::TColor colour) { return gui::ColorToRGB(colour); }

HMENU MenuOf(HWND popup) { return reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuOfWindow, 0, 0)); }

// The open popup window that shows menu, or none.
HWND PopupShowing(HMENU menu) {
  for (HWND popup : OpenPopupMenus())
    if (MenuOf(popup) == menu) return popup;
  return nullptr;
}

bool AnswersSkinned(HWND window) { return SendMessageW(window, skin::SKINMSG_QUERY, 0, 0) == 1; }

void PressKey(HWND popup, WPARAM key) {
  PostMessageW(popup, WM_KEYDOWN, key, 0);
  PostMessageW(popup, WM_KEYUP, key, 0);
}

class GalleryMenus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    form = new TGalleryForm(nullptr, u"" QUIMORA_PRODUCT_SKIN);
    form->Show();
    SetForegroundWindow(form->Handle());
    skinned = skin::testing::AwaitSkinned(form->Handle());
    Pump(100);
  }
  static void TearDownTestSuite() {
    delete form;
    Pump(20);
  }
  void SetUp() override {
    ASSERT_TRUE(skinned);
    SetForegroundWindow(form->Handle());
    form->MenuClicks = 0;
    form->LastClickedItem = nullptr;
  }

  static skin::TSkinMenuBar* Bar() {
    skin::TSkinFormFrame* frame = skin::Manager()->FindSkinForm(form->Handle());
    return frame ? dynamic_cast<skin::TSkinMenuBar*>(frame->SkinMenu()) : nullptr;
  }
  static RECT ScreenBounds(int button) {
    RECT b = Bar()->MenuButtons.at(static_cast<size_t>(button))->Bounds;
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    OffsetRect(&b, window.left, window.top);
    return b;
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  // Opens a bar menu as a click on its button does.
  static std::function<void()> ClickBarButton(int button) {
    return [button] {
      const POINT at = Centre(ScreenBounds(button));
      PostMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y));
    };
  }
  // A step that waits for the popup of a menu and then checks it.
  static TMenuDriver::TStep WhenShown(HMENU menu, std::function<void(HWND)> check = nullptr) {
    return [menu, check] {
      const HWND popup = PopupShowing(menu);
      if (!popup) return false;
      if (check) check(popup);
      return true;
    };
  }
  static TMenuDriver::TStep Press(HMENU menu, WPARAM key) {
    return [menu, key] {
      PressKey(PopupShowing(menu), key);
      return true;
    };
  }
  static TMenuDriver::TStep CloseMenus() {
    return [] {
      EndMenu();
      return true;
    };
  }
  static const skin::TSkinModel& Model() { return form->SkinData->Model(); }
  static COLORREF ItemFramePixel(int frame, int x, int y) {
    const skin::TSkinBitmap& image = Model().MenuItem->Image;
    return image.Pixel((frame - 1) * (image.Width() / kItemFrames) + x, y);
  }

  static inline TGalleryForm* form = nullptr;
  static inline bool skinned = false;
};

TEST_F(GalleryMenus, TheBarIsDrawnFromTheSkinAndOpensSkinnedPopupsWithoutLeadingSeparators) {
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  // Between the last button and the frame the strip shows the bar image:
  // each pixel is one of its column's pixels in the active frame.
  const RECT last = ScreenBounds(3);
  const POINT strip{last.right + 20, (last.top + last.bottom) / 2};
  const skin::TSkinBitmap& bar = Model().MenuBar->Image;
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  const int column = (strip.x - window.left - Bar()->MenuBarRect.left) % bar.Width();
  std::vector<COLORREF> columnColours;
  for (int y = 0; y < bar.Height() / 2; ++y) columnColours.push_back(bar.Pixel(column, y));
  EXPECT_NE(std::find(columnColours.begin(), columnColours.end(), ScreenPixel(strip)), columnColours.end());

  const HMENU file = form->FileMenu->Handle();
  TMenuDriver driver({WhenShown(file,
                                [](HWND popup) {
                                  EXPECT_TRUE(AnswersSkinned(popup));
                                  EXPECT_EQ(skin::CurrentBarIndex(), 0);
                                }),
                      [file] {
                        // The first item is selected at once and shows the
                        // skin's selected frame; the second its normal one
                        // over the popup's background.
                        RECT first{}, second{};
                        GetMenuItemRect(nullptr, file, 0, &first);
                        GetMenuItemRect(nullptr, file, 1, &second);
                        const int x = 34, y = 4;
                        EXPECT_EQ(ScreenPixel({first.right - (39 - x), first.top + y}), ItemFramePixel(4, x, y));
                        const COLORREF normal = ItemFramePixel(1, x, y);
                        if (normal != kMagenta) {
                          EXPECT_EQ(ScreenPixel({second.right - (39 - x), second.top + y}), normal);
                        }
                        // The ring is the skin's menu background.
                        const HWND popup = PopupShowing(file);
                        RECT bounds{};
                        GetWindowRect(popup, &bounds);
                        EXPECT_EQ(ScreenPixel({bounds.left + 1, bounds.top + 1}),
                                  Model().MenuBackground->Image.Pixel(1, 1));
                        return true;
                      },
                      CloseMenus()});
  ASSERT_TRUE(driver.Run(ClickBarButton(0)));
  EXPECT_EQ(skin::CurrentBarIndex(), -1);

  // Separators first, twice in a row and last are not shown.
  ASSERT_GT(GetMenuItemCount(file), 0);
  EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_FALSE(GetMenuState(file, GetMenuItemCount(file) - 1, MF_BYPOSITION) & MF_SEPARATOR);
  for (int i = 1; i < GetMenuItemCount(file); ++i)
    EXPECT_FALSE((GetMenuState(file, i - 1, MF_BYPOSITION) & MF_SEPARATOR) &&
                 (GetMenuState(file, i, MF_BYPOSITION) & MF_SEPARATOR))
        << i;
  EXPECT_FALSE(form->FileMenu->Items(0)->Visible());
  EXPECT_EQ(form->MenuClicks, 0);
}

TEST_F(GalleryMenus, RightAndLeftGoOnToTheNeighbouringBarMenusAndWrapAround) {
  const HMENU file = form->FileMenu->Handle(), edit = form->EditMenu->Handle(), view = form->ViewMenu->Handle();
  std::vector<int> indexes;
  const auto note = [&indexes](HWND) { indexes.push_back(skin::CurrentBarIndex()); };
  // Right on an item without sub-items goes on; from the last menu (the
  // command after it opens none) back to the first; Left from the first
  // to the last.
  TMenuDriver driver({WhenShown(file, note), Press(file, VK_RIGHT), WhenShown(edit, note), Press(edit, VK_RIGHT),
                      WhenShown(view, note), Press(view, VK_RIGHT), WhenShown(file, note), Press(file, VK_LEFT),
                      WhenShown(view, note), CloseMenus()});
  ASSERT_TRUE(driver.Run(ClickBarButton(0)));
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 0, 2}));
  // Passing over the bar's command ran nothing.
  EXPECT_EQ(form->MenuClicks, 0);
}

TEST_F(GalleryMenus, RightOnAnItemWithSubItemsOpensThemInstead) {
  const HMENU view = form->ViewMenu->Handle();
  gui::TMenuItem* zoom = form->ViewMenu->Items(form->ViewMenu->Count() - 1);
  const HMENU zoomMenu = zoom->Handle();
  TMenuDriver driver({WhenShown(view), Press(view, VK_UP), Press(view, VK_RIGHT),
                      WhenShown(zoomMenu, [](HWND popup) { EXPECT_TRUE(AnswersSkinned(popup)); }),
                      [] {
                        EXPECT_EQ(skin::CurrentBarIndex(), 2);
                        return true;
                      },
                      CloseMenus()});
  ASSERT_TRUE(driver.Run(ClickBarButton(2)));
}

TEST_F(GalleryMenus, AltAndAnAcceleratorOpenTheBarMenu) {
  const HMENU edit = form->EditMenu->Handle();
  TMenuDriver driver({WhenShown(edit, [](HWND) { EXPECT_EQ(skin::CurrentBarIndex(), 1); }), CloseMenus()});
  // What the system makes of Alt+E when no one takes the character.
  ASSERT_TRUE(driver.Run([] { PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'e'); }));
}

TEST_F(GalleryMenus, APrintedPopupShowsTheSkinsBackgroundAndItsItems) {
  const HMENU file = form->FileMenu->Handle();
  TMenuDriver driver({WhenShown(file,
                                [](HWND popup) {
                                  RECT bounds{};
                                  GetWindowRect(popup, &bounds);
                                  const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
                                  gui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
                                  BITMAPINFO info{};
                                  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
                                  void* bits = nullptr;
                                  gui::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits,
                                                                            nullptr, 0));
                                  gui::TSelectObject select(dc.get(), bitmap.get());
                                  SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(dc.get()),
                                               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
                                  const skin::TSkinBitmap& back = Model().MenuBackground->Image;
                                  EXPECT_EQ(GetPixel(dc.get(), 1, 1), back.Pixel(1, 1));
                                  EXPECT_EQ(GetPixel(dc.get(), w - 2, h - 2),
                                            back.Pixel(back.Width() - 2, back.Height() - 2));
                                  // The selected first item's frame.
                                  RECT first{};
                                  GetMenuItemRect(nullptr, MenuOf(popup), 0, &first);
                                  EXPECT_EQ(GetPixel(dc.get(), first.right - bounds.left - 5, first.top - bounds.top + 4),
                                            ItemFramePixel(4, 34, 4));
                                }),
                      CloseMenus()});
  ASSERT_TRUE(driver.Run(ClickBarButton(0)));
}

TEST_F(GalleryMenus, ABarItemWithoutSubItemsRunsItsCommandWhenClicked) {
  ClickBarButton(3)();
  EXPECT_TRUE(PumpUntil([&] { return form->MenuClicks == 1 && OpenPopupMenus().empty(); }));
  EXPECT_EQ(form->MenuClicks, 1);
  EXPECT_EQ(form->LastClickedItem, form->HelpItem);
}

TEST_F(GalleryMenus, AnItemChosenInABarPopupRunsItsClick) {
  const HMENU edit = form->EditMenu->Handle();
  TMenuDriver driver({WhenShown(edit), Press(edit, VK_RETURN), [] { return OpenPopupMenus().empty(); }});
  ASSERT_TRUE(driver.Run(ClickBarButton(1)));
  EXPECT_TRUE(PumpUntil([&] { return form->MenuClicks == 1; }));
  EXPECT_EQ(form->LastClickedItem, form->EditMenu->Items(0));
}

TEST_F(GalleryMenus, HotAndPressedBarButtonsAreFramed) {
  const COLORREF hilight = Rgb(Model().SkinColours.ButtonHilight);
  const RECT edit = ScreenBounds(1);
  const POINT corner{edit.left, edit.top + 1};
  const COLORREF resting = ScreenPixel(corner);
  ASSERT_NE(resting, hilight);
  // The frame's timer looks at the cursor too: it is put on the button.
  SetCursorPos(edit.left + 3, edit.top + 3);
  PostMessageW(form->Handle(), WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(edit.left + 3, edit.top + 3));
  PumpUntil([&] { return Bar()->MenuButtons[1]->State == 3 && ScreenPixel(corner) == hilight; });
  EXPECT_EQ(Bar()->MenuButtons[1]->State, 3);
  EXPECT_EQ(ScreenPixel(corner), hilight);

  TMenuDriver driver({WhenShown(form->EditMenu->Handle(),
                                [&](HWND) {
                                  EXPECT_EQ(Bar()->MenuButtons[1]->State, 2);
                                  EXPECT_EQ(ScreenPixel(corner), hilight);
                                }),
                      CloseMenus()});
  ASSERT_TRUE(driver.Run(ClickBarButton(1)));
  Pump(50);
  // Closed, away from the mouse, it rests again.
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  SetCursorPos(window.left + 300, window.top + 8);
  PostMessageW(form->Handle(), WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(window.left + 300, window.top + 8));
  PumpUntil([&] { return Bar()->MenuButtons[1]->State == 1 && ScreenPixel(corner) == resting; });
  EXPECT_EQ(Bar()->MenuButtons[1]->State, 1);
  EXPECT_EQ(ScreenPixel(corner), resting);
}

TEST_F(GalleryMenus, TheSystemMenuIsSkinnedWithTheSkinsGlyphs) {
  skin::TSkinFormFrame* frame = skin::Manager()->FindSkinForm(form->Handle());
  ASSERT_NE(frame, nullptr);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  TMenuDriver driver({[&] {
                        const HWND popup = OpenPopupMenus().empty() ? nullptr : OpenPopupMenus().front();
                        if (!popup) return false;
                        EXPECT_TRUE(AnswersSkinned(popup));
                        const HMENU shown = MenuOf(popup);
                        EXPECT_EQ(shown, frame->SystemPopup().Handle());
                        // Close, the last item, shows the cross glyph in its box.
                        const int last = GetMenuItemCount(shown) - 1;
                        RECT item{};
                        GetMenuItemRect(nullptr, shown, static_cast<UINT>(last), &item);
                        const int boxLeft = item.left + 1 + Model().MenuItem->Margins.Left;
                        // Black where the image list draws the glyph black, nowhere else.
                        const gui::TWindowDc screen(nullptr);
                        const gui::UniqueMemoryDc glyphDc(CreateCompatibleDC(screen.get()));
                        const gui::UniqueBitmap glyph(CreateCompatibleBitmap(screen.get(), 16, 16));
                        const gui::TSelectObject selectGlyph(glyphDc.get(), glyph.get());
                        RECT square{0, 0, 16, 16};
                        FillRect(glyphDc.get(), &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                        gui::DrawListImage(form->SkinData->MenuGlyphs(), glyphDc.get(), 0, 0, 3);
                        int black = 0, wrong = 0;
                        for (int y = 0; y < 16; ++y)
                          for (int x = 0; x < 16; ++x) {
                            const bool inked = GetPixel(glyphDc.get(), x, y) == 0;
                            black += inked;
                            wrong += inked != (ScreenPixel({boxLeft + x, item.top + 1 + y}) == 0);
                          }
                        RECT pr{};
                        GetWindowRect(popup, &pr);
                        EXPECT_GE(black, 16) << "the cross has no ink";
                        EXPECT_EQ(wrong, 0) << item.left << "," << item.top << "," << item.right << ","
                                            << item.bottom << " popup " << pr.left << "," << pr.top << " last "
                                            << last;
                        return true;
                      },
                      CloseMenus()});
  ASSERT_TRUE(driver.Run([&] {
    PostMessageW(form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 300, window.top + 8));
  }));
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(GalleryMenus, TheIconOpensTheSystemMenuRightAfterARightClickOnTheCaption) {
  skin::TSkinFormFrame* frame = skin::Manager()->FindSkinForm(form->Handle());
  ASSERT_NE(frame, nullptr);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  const auto shown = [frame] {
    return TMenuDriver({[frame] { return PopupShowing(frame->SystemPopup().Handle()) != nullptr; }, CloseMenus()});
  };
  {
    TMenuDriver driver = shown();
    ASSERT_TRUE(driver.Run([&] {
      PostMessageW(form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 300, window.top + 8));
    }));
  }
  // The skin's icon button, at once: not taken for a double click.
  const POINT icon{window.left + 18, window.top + 14};
  SetCursorPos(icon.x, icon.y);
  TMenuDriver driver = shown();
  EXPECT_TRUE(driver.Run([&] {
    PostMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(icon.x, icon.y));
    PostMessageW(form->Handle(), WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(icon.x, icon.y));
  }));
  SetCursorPos(window.left + 300, window.top + 8);
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(GalleryMenus, ContextMenusStayPlainWhenTheSkinLeavesPopupMenusOut) {
  const auto openContextMenu = [] {
    RECT client{};
    GetWindowRect(form->Panel->Handle(), &client);
    PostMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(client.left + 5, client.top + 5));
  };
  const auto contextSkinned = [&](bool expected) {
    return TMenuDriver({WhenShown(form->ContextMenu->Handle(),
                                  [expected](HWND popup) { EXPECT_EQ(AnswersSkinned(popup), expected); }),
                        CloseMenus()});
  };
  {
    TMenuDriver driver = contextSkinned(true);
    ASSERT_TRUE(driver.Run(openContextMenu));
  }
  EXPECT_TRUE(form->ContextMenu->OwnerDraw());

  skin::TSkinData* data = form->SkinData;
  const skin::TSkinControlTypes kinds = data->SkinControls();
  data->SetActive(false);
  ASSERT_TRUE(skin::testing::AwaitSkinned(form->Handle(), false));
  data->SetSkinControls(kinds & ~(1u << skin::xcPopupMenu));
  data->SetActive(true);
  ASSERT_TRUE(skin::testing::AwaitSkinned(form->Handle()));
  Pump(100);
  EXPECT_FALSE(form->ContextMenu->OwnerDraw());
  {
    TMenuDriver driver = contextSkinned(false);
    ASSERT_TRUE(driver.Run(openContextMenu));
  }
  // The bar's menus keep the skin.
  TMenuDriver bar({WhenShown(form->FileMenu->Handle(), [](HWND popup) { EXPECT_TRUE(AnswersSkinned(popup)); }),
                   CloseMenus()});
  EXPECT_TRUE(bar.Run(ClickBarButton(0)));

  data->SetActive(false);
  ASSERT_TRUE(skin::testing::AwaitSkinned(form->Handle(), false));
  data->SetSkinControls(kinds);
  data->SetActive(true);
  ASSERT_TRUE(skin::testing::AwaitSkinned(form->Handle()));
  Pump(100);
}

}  // namespace
}  // namespace gallery
