// Owner-drawn menu items in the product's skin, drawn into bitmaps: the
// skin's frames for normal, selected and separator items, the texts in
// their colours, check marks and images, right-to-left items; the room
// the skin adds to an item; separators tidied in framework menus; plain
// menus made owner-drawn and given back.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "runtime/gui/handles.h"
#include "runtime/gui/menus.h"
#include "skin/data/skin_data_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/engine/tests/engine_test_support_win.h"
#include "skin/menus/menu_item_painting_win.h"
#include "skin/menus/owner_drawn_menus_win.h"

namespace skin {
namespace {

constexpr int kItemWidth = 140;
// The MenuItem image's frame height: rows map one to one.
constexpr int kItemHeight = 18;
constexpr int kFrameWidth = 39;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// An item drawn alone into a bitmap of its size.
class TDrawnItem {
 public:
  TDrawnItem(const TSkinData& data, const TMenuItemLook& look, bool selected, int height = kItemHeight)
      : bitmap_(MakeFilledDib(kItemWidth, height, RGB(1, 2, 3))), height_(height) {
    TBitmapDc dc(bitmap_.get());
    DrawItem(data, dc.get(), {0, 0, kItemWidth, height}, selected, look);
    GdiFlush();
  }
  COLORREF Pixel(int x, int y) const {
    TBitmapDc dc(bitmap_.get());
    return GetPixel(dc.get(), x, y);
  }
  // Pixels of the colour in a column range.
  int Count(COLORREF colour, int fromX = 0, int toX = kItemWidth) const {
    TBitmapDc dc(bitmap_.get());
    int count = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = fromX; x < toX; ++x) count += GetPixel(dc.get(), x, y) == colour;
    return count;
  }
  // Pixels unlike the column range's top-left one.
  int Ink(int fromX, int toX) const {
    TBitmapDc dc(bitmap_.get());
    const COLORREF ground = GetPixel(dc.get(), fromX, 0);
    int count = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = fromX; x < toX; ++x) count += GetPixel(dc.get(), x, y) != ground;
    return count;
  }

 private:
  gui::UniqueBitmap bitmap_;
  int height_;
};

class MenuItems : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data = new TSkinData(nullptr);
    data->SetSkinFile(u"" QUIMORA_PRODUCT_SKIN);
  }
  static void TearDownTestSuite() { delete data; }
  void SetUp() override {
    ASSERT_FALSE(data->NoSkin());
    ASSERT_TRUE(data->Model().MenuItem);
  }

  static const TSkinBitmap& ItemImage() { return data->Model().MenuItem->Image; }
  static COLORREF Colour(rt::TColor colour) { return gui::ColorToRGB(colour); }
  static const TSkinColours& Colours() { return data->Model().SkinColours; }
  static TMenuItemLook Look(const rt::WideString& caption) {
    TMenuItemLook look;
    look.Caption = caption;
    return look;
  }

  static inline TSkinData* data = nullptr;
};

TEST_F(MenuItems, NormalAndSelectedItemsShowTheirFramesOverTheMenuColour) {
  const TDrawnItem normal(*data, Look(u"Abrir"), false);
  const TDrawnItem selected(*data, Look(u"Abrir"), true);
  // The right edge of the item is the frames' right edge, row for row.
  for (int y = 0; y < kItemHeight; ++y) {
    const int x = kItemWidth - 4;
    const auto expected = [&](int frame) {
      const COLORREF image = ItemImage().Pixel((frame - 1) * kFrameWidth + kFrameWidth - 4, y);
      return image == kMagenta ? Colour(Colours().Menu) : image;
    };
    EXPECT_EQ(normal.Pixel(x, y), expected(1)) << "row " << y;
    EXPECT_EQ(selected.Pixel(x, y), expected(4)) << "row " << y;
  }
}

TEST_F(MenuItems, ASeparatorShowsTheSeparatorFrameBottomAlignedInALowItem) {
  constexpr int height = 8;
  const TDrawnItem separator(*data, Look(u"-"), false, height);
  // The 18-row frame keeps its lower 8 rows.
  for (int y = 0; y < height; ++y) {
    const COLORREF image = ItemImage().Pixel(kFrameWidth + kFrameWidth / 2, y + kItemHeight - height);
    EXPECT_EQ(separator.Pixel(kItemWidth / 2, y), image == kMagenta ? Colour(Colours().Menu) : image) << y;
  }
  // A separator is never highlighted.
  const TDrawnItem selected(*data, Look(u"-"), true, height);
  EXPECT_EQ(selected.Pixel(kItemWidth / 2, 0), separator.Pixel(kItemWidth / 2, 0));
}

TEST_F(MenuItems, TextsTakeTheirColoursAndDefaultItemsAreBold) {
  TMenuItemLook look = Look(u"Guardar");
  look.ShortCut = u"Ctrl+S";
  EXPECT_GT(TDrawnItem(*data, look, false).Count(Colour(Colours().MenuText)), 20);
  EXPECT_GT(TDrawnItem(*data, look, true).Count(Colour(Colours().HilightText)), 20);
  // The shortcut sits at the right, 10 pixels from the end.
  const TDrawnItem withKeys(*data, look, false);
  EXPECT_GT(withKeys.Count(Colour(Colours().MenuText), kItemWidth - 60, kItemWidth - 10), 10);
  EXPECT_EQ(withKeys.Count(Colour(Colours().MenuText), kItemWidth - 9, kItemWidth), 0);

  look.Enabled = false;
  const TDrawnItem disabled(*data, look, false);
  EXPECT_EQ(disabled.Count(Colour(Colours().MenuText)), 0);
  EXPECT_GT(disabled.Count(Colour(Colours().ButtonShadow)), 20);

  TMenuItemLook plain = Look(u"Nuevo");
  TMenuItemLook bold = plain;
  bold.Default = true;
  // Bold strokes cover more of the caption's room.
  const int captionLeft = 1 + data->Model().MenuItem->Margins.Left + 16 + 3;
  EXPECT_GT(TDrawnItem(*data, bold, false).Ink(captionLeft, kItemWidth - 12),
            TDrawnItem(*data, plain, false).Ink(captionLeft, kItemWidth - 12) * 11 / 10);
}

TEST_F(MenuItems, CheckMarksAndImagesSitInTheGlyphBoxMirroredRightToLeft) {
  const int boxLeft = 1 + data->Model().MenuItem->Margins.Left;
  TMenuItemLook look = Look(u"Barra");
  const int unchecked = TDrawnItem(*data, look, false).Ink(boxLeft, boxLeft + 16);
  look.Checked = true;
  EXPECT_GT(TDrawnItem(*data, look, false).Ink(boxLeft, boxLeft + 16), unchecked + 5);

  look.RightToLeft = true;
  const TDrawnItem mirrored(*data, look, false);
  EXPECT_GT(mirrored.Ink(kItemWidth - boxLeft - 16, kItemWidth - boxLeft), 5);
  EXPECT_EQ(mirrored.Ink(boxLeft, boxLeft + 16), 0);

  // The skin's menu glyphs: Close (3) is a black cross.
  TMenuItemLook withImage = Look(u"Cerrar");
  withImage.Images = data->MenuGlyphs();
  withImage.ImageIndex = 3;
  EXPECT_GT(TDrawnItem(*data, withImage, false).Count(RGB(0, 0, 0), boxLeft, boxLeft + 16), 8);
  withImage.ImageIndex = -1;
  EXPECT_EQ(TDrawnItem(*data, withImage, false).Count(RGB(0, 0, 0), boxLeft, boxLeft + 16), 0);
}

TEST_F(MenuItems, ASubMenuArrowTakesTheTextColourAtTheFarEndAndKeepsTheSystemsArrowOff) {
  TMenuItemLook look = Look(u"Recientes");
  const int plainInk = TDrawnItem(*data, look, false).Count(Colour(Colours().MenuText), kItemWidth - 12, kItemWidth);
  look.HasSubMenu = true;
  EXPECT_GE(TDrawnItem(*data, look, false).Count(Colour(Colours().MenuText), kItemWidth - 12, kItemWidth),
            plainInk + 16);
  EXPECT_GE(TDrawnItem(*data, look, true).Count(Colour(Colours().HilightText), kItemWidth - 12, kItemWidth), 16);
  look.Enabled = false;
  EXPECT_GE(TDrawnItem(*data, look, false).Count(Colour(Colours().ButtonShadow), kItemWidth - 12, kItemWidth), 16);
  look.Enabled = true;
  // It points outwards: its one-pixel tip is its outermost column.
  const auto arrowColumns = [&](const TMenuItemLook& withArrow) {
    TMenuItemLook without = withArrow;
    without.HasSubMenu = false;
    const TDrawnItem arrow(*data, withArrow, false), plain(*data, without, false);
    std::vector<int> columns;
    for (int x = 0; x < kItemWidth; ++x) {
      const int ink = arrow.Count(Colour(Colours().MenuText), x, x + 1) - plain.Count(Colour(Colours().MenuText), x, x + 1);
      if (ink > 0) columns.push_back(ink);
    }
    return columns;
  };
  EXPECT_EQ(arrowColumns(look), (std::vector<int>{7, 5, 3, 1}));
  look.RightToLeft = true;
  EXPECT_GE(TDrawnItem(*data, look, false).Count(Colour(Colours().MenuText), 0, 12), 16);
  EXPECT_EQ(arrowColumns(look), (std::vector<int>{1, 3, 5, 7}));

  // Whatever the system draws on the item afterwards is clipped away.
  gui::UniqueBitmap bitmap = MakeFilledDib(kItemWidth, kItemHeight, RGB(1, 2, 3));
  TBitmapDc dc(bitmap.get());
  look.RightToLeft = false;
  DrawItem(*data, dc.get(), {0, 0, kItemWidth, kItemHeight}, false, look);
  const COLORREF before = GetPixel(dc.get(), kItemWidth - 3, kItemHeight / 2);
  const RECT arrowBox{kItemWidth - 16, 0, kItemWidth, kItemHeight};
  FillRect(dc.get(), &arrowBox, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetPixel(dc.get(), kItemWidth - 3, kItemHeight / 2), before);
}

TEST_F(MenuItems, TheSkinAddsRoomByWhereTheItemIsShown) {
  const int margin = data->Model().MenuItem->Margins.Left;
  TMenuItemLook look = Look(u"Abrir");
  int width = 100;
  AddSkinRoom(*data, look, mpMainMenu, width);
  EXPECT_EQ(width, 100 + margin + 10 + 25);
  width = 100;
  AddSkinRoom(*data, look, mpPopupMenu, width);
  EXPECT_EQ(width, 100 + margin + 12 + 23);
  look.Images = data->MenuGlyphs();
  width = 100;
  AddSkinRoom(*data, look, mpPopupMenu, width);
  EXPECT_EQ(width, 100 + margin + 12);

  gui::TWindowDc dc(nullptr);
  int height = 0;
  MeasurePlainItem(*data, dc.get(), Look(u"-"), width, height);
  EXPECT_EQ(height, 8);
  MeasurePlainItem(*data, dc.get(), Look(u"Abrir"), width, height);
  EXPECT_GT(height, 4 + 8);
  EXPECT_GT(width, 26 + margin);
}

// Framework items: visible state read back after tidying.
std::vector<bool> VisibleStates(gui::TMenuItem& parent) {
  std::vector<bool> states;
  for (int i = 0; i < parent.Count(); ++i) states.push_back(parent.Items(i)->Visible());
  return states;
}

TEST(SeparatorTidying, HidesLeadingDoubledAndTrailingSeparatorsAtEveryDepth) {
  gui::TMainMenu menu(nullptr);
  auto add = [&menu](gui::TMenuItem* parent, const char16_t* caption) {
    auto* item = new gui::TMenuItem(&menu);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  gui::TMenuItem* file = add(menu.Items(), u"Archivo");
  for (const char16_t* caption : {u"-", u"-", u"Nuevo", u"-", u"-", u"-", u"Abrir"}) add(file, caption);
  gui::TMenuItem* hidden = add(file, u"Oculto");
  hidden->SetVisible(false);
  gui::TMenuItem* recent = add(file, u"Recientes");
  for (const char16_t* caption : {u"-", u"uno", u"-"}) add(recent, caption);
  add(file, u"-");

  TidySeparators(*file);
  EXPECT_EQ(VisibleStates(*file), (std::vector<bool>{false, false, true, true, false, false, true, false, true, false}));
  EXPECT_EQ(VisibleStates(*recent), (std::vector<bool>{false, true, false}));
  // The system menu holds the visible ones only, none of them first.
  const HMENU shown = file->Handle();
  ASSERT_EQ(GetMenuItemCount(shown), 4);
  EXPECT_FALSE(GetMenuState(shown, 0, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(shown, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_FALSE(GetMenuState(shown, 3, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST(OwnerDrawMarks, MakeAPlainMenuTreeOwnerDrawnKeepingItsTextsAndGiveItBack) {
  gui::UniqueMenu menu(CreatePopupMenu());
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 5001, L"Uno");
  AppendMenuW(menu.get(), MF_STRING | MF_GRAYED, 5002, L"&Abrir\tCtrl+O");
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"Recientes");
  const auto type = [](HMENU m, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, position, TRUE, &info);
    return info.fType;
  };
  {
    TOwnerDrawMarks marks(menu.get());
    for (UINT i = 0; i < 3; ++i) EXPECT_TRUE(type(menu.get(), i) & MFT_OWNERDRAW) << i;
    EXPECT_TRUE(type(sub, 0) & MFT_OWNERDRAW);
    EXPECT_TRUE(type(menu.get(), 1) & MFT_SEPARATOR);
    // What the skin draws from: the texts are still there.
    const TMenuItemLook open = LookOf(menu.get(), 0);
    EXPECT_EQ(open.Caption, u"&Abrir");
    EXPECT_EQ(open.ShortCut, u"Ctrl+O");
    EXPECT_FALSE(open.Enabled);
    EXPECT_TRUE(LookOf(menu.get(), 1).IsSeparator());
    EXPECT_EQ(LookOf(sub, 0).Caption, u"Uno");
  }
  for (UINT i = 0; i < 3; ++i) EXPECT_FALSE(type(menu.get(), i) & MFT_OWNERDRAW) << i;
  EXPECT_FALSE(type(sub, 0) & MFT_OWNERDRAW);
  wchar_t text[32]{};
  GetMenuStringW(menu.get(), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Abrir\tCtrl+O");
}

}  // namespace
}  // namespace skin
