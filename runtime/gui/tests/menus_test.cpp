// Menus through the real system menus: the entries a tree of items makes
// (states, shortcut texts, hidden items, owner drawing, right-to-left),
// commands reaching the items' OnClick, run-time changes, menus read from
// a stored form, and the image list their glyphs come from.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "runtime/bmp.h"
#include "runtime/form_binder.h"
#include "runtime/form_text.h"
#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/gui/image_list.h"
#include "runtime/gui/menus.h"
#include "runtime/gui/registration.h"

namespace gui {
namespace {

TApplication* gApp = nullptr;

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gApp = new TApplication;
    RegisterFrameworkClasses();
  }
  void TearDown() override { delete gApp; }
};
[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

void Pump() {
  for (int i = 0; i < 10; ++i) {
    gApp->ProcessMessages();
    Sleep(5);
  }
}

MENUITEMINFOW EntryAt(HMENU menu, UINT position, std::wstring* text = nullptr) {
  wchar_t buffer[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = buffer;
  info.cch = 255;
  EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
  if (text) *text = buffer;
  return info;
}

TBitmap SolidWithMask(int width, int height, uint32_t color) {
  rt::TBmpImage image;
  image.Width = width;
  image.Height = height;
  // The right half is the mask colour, magenta.
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Pixels.push_back(x < width / 2 ? color : 0xFFFF00FF);
  TBitmap bitmap;
  bitmap.LoadFromImage(image);
  return bitmap;
}

TMenuItem* NewItem(rt::TComponent* owner, TMenuItem* parent, const char16_t* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

class MenuForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    images = new TImageList(form.get());
    images->Add(SolidWithMask(16, 16, 0xFF0000FF), RGB(255, 0, 255));
    menu = new TMainMenu(form.get());
    menu->SetImages(images);
    file = NewItem(form.get(), menu->Items(), u"&File");
    NewItem(form.get(), file, u"-");
    open = NewItem(form.get(), file, u"&Open");
    open->SetShortCut(ShortCut('O', scCtrl));
    open->SetDefault(true);
    NewItem(form.get(), file, u"-");
    NewItem(form.get(), file, u"-");
    save = NewItem(form.get(), file, u"&Save");
    save->SetChecked(true);
    hidden = NewItem(form.get(), file, u"Hidden");
    hidden->SetVisible(false);
    exitItem = NewItem(form.get(), file, u"E&xit");
    exitItem->SetEnabled(false);
    NewItem(form.get(), file, u"-");
    edit = NewItem(form.get(), menu->Items(), u"&Edit");
    copy = NewItem(form.get(), edit, u"&Copy");
    copy->SetImageIndex(0);
    form->SetMenu(menu);
    form->Show();
    Pump();
  }
  HWND Window() { return form->Handle(); }
  HMENU FileMenu() { return GetSubMenu(GetMenu(Window()), 0); }

  std::unique_ptr<TForm> form;
  TImageList* images = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem *file = nullptr, *open = nullptr, *save = nullptr, *hidden = nullptr, *exitItem = nullptr,
            *edit = nullptr, *copy = nullptr;
};

TEST_F(MenuForm, BarAndEntriesMirrorTheTree) {
  const HMENU bar = GetMenu(Window());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar, menu->Handle());
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  std::wstring text;
  EntryAt(bar, 1, &text);
  EXPECT_EQ(text, L"&Edit");
  // Eight items, the hidden one left out; separators stay where they are.
  ASSERT_EQ(GetMenuItemCount(FileMenu()), 7);
  EXPECT_TRUE(EntryAt(FileMenu(), 0).fType & MFT_SEPARATOR);
  const MENUITEMINFOW openEntry = EntryAt(FileMenu(), 1, &text);
  EXPECT_EQ(text, L"&Open\tCtrl+O");
  EXPECT_TRUE(openEntry.fState & MFS_DEFAULT);
  EXPECT_EQ(openEntry.wID, open->Command());
  EXPECT_TRUE(EntryAt(FileMenu(), 4).fState & MFS_CHECKED);
  EXPECT_EQ((EntryAt(FileMenu(), 5, &text).fState & MFS_GRAYED), static_cast<UINT>(MFS_GRAYED));
  EXPECT_EQ(text, L"E&xit");
  for (int i = 0; i < GetMenuItemCount(FileMenu()); ++i) EXPECT_NE(EntryAt(FileMenu(), i).wID, hidden->Command());
  EXPECT_EQ(menu->FindItemByHandle(FileMenu()), file);
}

TEST_F(MenuForm, CommandsAreUniqueAndReachOnClickOnce) {
  std::set<WORD> ids;
  std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
    for (int i = 0; i < item->Count(); ++i) {
      EXPECT_GE(item->Items(i)->Command(), 0x1000);
      EXPECT_TRUE(ids.insert(item->Items(i)->Command()).second);
      EXPECT_EQ(menu->FindItem(item->Items(i)->Command()), item->Items(i));
      walk(item->Items(i));
    }
  };
  walk(menu->Items());
  EXPECT_EQ(ids.size(), 11u);
  int clicks = 0;
  rt::TObject* sender = nullptr;
  save->OnClick = [&](rt::TObject* s) {
    ++clicks;
    sender = s;
  };
  PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(save->Command(), 0), 0);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, save);
  // An accelerator notification (HIWORD 1) or an unknown id is not a menu click.
  PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(save->Command(), 1), 0);
  PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(0x0FFF, 0), 0);
  Pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(MenuForm, FreedIdsAreReused) {
  const WORD id = hidden->Command();
  delete hidden;
  EXPECT_EQ(menu->FindItem(id), nullptr);
  auto* again = new TMenuItem(form.get());
  EXPECT_EQ(again->Command(), id);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 7);
}

TEST_F(MenuForm, RunTimeChangesUpdateTheEntries) {
  std::wstring text;
  open->SetCaption(u"&Open...");
  open->SetEnabled(false);
  EXPECT_TRUE(EntryAt(FileMenu(), 1, &text).fState & MFS_GRAYED);
  EXPECT_EQ(text, L"&Open...\tCtrl+O");
  hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 8);
  file->Remove(save);
  EXPECT_EQ(GetMenuItemCount(FileMenu()), 7);
  delete save;
  // An item that gains sub-items becomes a popup entry.
  NewItem(form.get(), copy, u"As text");
  const MENUITEMINFOW copyEntry = EntryAt(GetSubMenu(GetMenu(Window()), 1), 0);
  EXPECT_NE(copyEntry.hSubMenu, nullptr);
  EXPECT_EQ(copyEntry.hSubMenu, copy->Handle());
}

TEST_F(MenuForm, OwnerDrawnEntriesReachTheItemsHandlers) {
  menu->SetOwnerDraw(true);
  const MENUITEMINFOW entry = EntryAt(FileMenu(), 4);
  EXPECT_TRUE(entry.fType & MFT_OWNERDRAW);
  EXPECT_EQ(entry.dwItemData, reinterpret_cast<ULONG_PTR>(save));
  EXPECT_TRUE(EntryAt(GetMenu(Window()), 0).fType & MFT_OWNERDRAW);

  TMenuItem* measured = nullptr;
  save->OnMeasureItem = [&](TMenuItem* item, HDC dc, int& width, int& height) {
    measured = item;
    EXPECT_NE(dc, nullptr);
    EXPECT_GT(width, 0);
    width = 123;
    height = 21;
  };
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = save->Command();
  measure.itemData = entry.dwItemData;
  EXPECT_TRUE(SendMessageW(Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measured, save);
  EXPECT_EQ(measure.itemWidth, 123u);
  EXPECT_EQ(measure.itemHeight, 21u);

  TMenuItem* drawn = nullptr;
  bool wasSelected = false;
  save->OnDrawItem = [&](TMenuItem* item, HDC, const RECT& rect, bool selected) {
    drawn = item;
    wasSelected = selected;
    EXPECT_EQ(rect.right, 100);
  };
  HDC screen = GetDC(nullptr);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = save->Command();
  draw.itemData = entry.dwItemData;
  draw.itemState = ODS_SELECTED;
  draw.hDC = screen;
  draw.rcItem = {0, 0, 100, 20};
  EXPECT_TRUE(SendMessageW(Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(drawn, save);
  EXPECT_TRUE(wasSelected);
  // Without handlers the default measuring gives the caption room.
  measure.itemID = open->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(open);
  measure.itemWidth = 0;
  EXPECT_TRUE(SendMessageW(Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_GT(measure.itemWidth, 20u);
  // Item data that does not match the command's item is not ours.
  draw.itemData = reinterpret_cast<ULONG_PTR>(open);
  drawn = nullptr;
  EXPECT_FALSE(SendMessageW(Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(drawn, nullptr);
  ReleaseDC(nullptr, screen);

  menu->SetOwnerDraw(false);
  std::wstring text;
  EXPECT_FALSE(EntryAt(FileMenu(), 4, &text).fType & MFT_OWNERDRAW);
  EXPECT_EQ(text, L"&Save");
}

TEST_F(MenuForm, RightToLeftMenus) {
  menu->SetBiDiMode(bdRightToLeft);
  const UINT barType = EntryAt(GetMenu(Window()), 0).fType;
  EXPECT_TRUE(barType & MFT_RIGHTORDER);
  EXPECT_TRUE(barType & MFT_RIGHTJUSTIFY);
  EXPECT_TRUE(EntryAt(FileMenu(), 1).fType & MFT_RIGHTORDER);
}

TEST_F(MenuForm, FormAndMenuLetGoOfEachOther) {
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(Window()), nullptr);
  // The items outlive their menu harmlessly.
  open->SetCaption(u"x");
}

TEST(StoredMenus, LoadIntoTheSameStructure) {
  const rt::TFormObject data = rt::ParseFormText(R"(
    f: TForm {
      Menu = 'mmMain'
      ilGlyphs: TImageList { Width = 16 }
      mmMain: TMainMenu {
        Images = 'ilGlyphs'
        miFile: TMenuItem {
          Caption = '&File'
          miOpen: TMenuItem { Caption = '&Open' ShortCut = 16463 Default = True ImageIndex = 0 }
          miSep: TMenuItem { Caption = '-' }
          miQuit: TMenuItem { Caption = '&Quit' Enabled = False }
        }
        miHelp: TMenuItem { Caption = '&Help' Visible = False }
      }
    })", "menus.form");
  TForm form(nullptr);
  rt::CreateFormFromData(data, form);
  auto* menu = dynamic_cast<TMainMenu*>(form.FindComponent(u"mmMain"));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(form.Menu(), menu);
  EXPECT_EQ(menu->Images(), form.FindComponent(u"ilGlyphs"));
  ASSERT_EQ(menu->Items()->Count(), 2);
  TMenuItem* file = menu->Items()->Items(0);
  ASSERT_EQ(file->Count(), 3);
  EXPECT_EQ(file->Items(0)->ShortCutText(), u"Ctrl+O");
  EXPECT_EQ(file->Items(2)->Parent(), file);
  EXPECT_EQ(file->Items(2)->MenuIndex(), 2);
  EXPECT_EQ(GetMenuItemCount(GetMenu(form.Handle())), 1);
  std::wstring text;
  EXPECT_TRUE(EntryAt(GetSubMenu(GetMenu(form.Handle()), 0), 2, &text).fState & MFS_GRAYED);
  EXPECT_EQ(text, L"&Quit");
}

TEST(ShortCuts, Texts) {
  EXPECT_EQ(ShortCutToText(ShortCut('S', scCtrl)), u"Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, 0)), u"F5");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, scShift)), u"Shift+F12");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, scCtrl | scAlt)), u"Ctrl+Alt+Del");
  EXPECT_EQ(ShortCutToText(0), u"");
}

TEST(ImageLists, DrawMaskedAndDisabled) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Add(SolidWithMask(16, 16, 0xFF0000FF), RGB(255, 0, 255)), 0);
  HDC screen = GetDC(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen));
  UniqueBitmap target(CreateCompatibleBitmap(screen, 16, 16));
  ReleaseDC(nullptr, screen);
  TSelectObject select(dc.get(), target.get());
  RECT all = {0, 0, 16, 16};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  list.Draw(dc.get(), 0, 0, 0, true);
  EXPECT_EQ(GetPixel(dc.get(), 3, 8), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc.get(), 12, 8), RGB(255, 255, 255));  // masked out
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  list.Draw(dc.get(), 0, 0, 0, false);
  EXPECT_NE(GetPixel(dc.get(), 3, 8), RGB(0, 0, 255));  // blended
  EXPECT_EQ(GetPixel(dc.get(), 12, 8), RGB(255, 255, 255));
  // Out of range draws nothing.
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  list.Draw(dc.get(), 0, 0, 5, true);
  EXPECT_EQ(GetPixel(dc.get(), 3, 8), RGB(255, 255, 255));
}

TEST(ImageLists, ManyAddsKeepCountAndNoGdiLeak) {
  const int before = LiveGdiObjects();
  {
    TImageList list(nullptr);
    const TBitmap bitmap = SolidWithMask(16, 16, 0xFF00FF00);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(list.Add(bitmap, RGB(255, 0, 255)), i);
    EXPECT_EQ(list.Count(), 100);
    // A strip of three images adds three.
    list.Add(SolidWithMask(48, 16, 0xFF00FF00), RGB(255, 0, 255));
    EXPECT_EQ(list.Count(), 103);
    list.SetWidth(24);
    EXPECT_EQ(list.Count(), 0);
  }
  EXPECT_EQ(LiveGdiObjects(), before);
}

TEST(ImageLists, AMenuForgetsAFreedList) {
  TPopupMenu popup(nullptr);
  auto* list = new TImageList(nullptr);
  popup.SetImages(list);
  delete list;
  EXPECT_EQ(popup.Images(), nullptr);
}

}  // namespace
}  // namespace gui
