// Owner-drawn menu items in the product's skin, drawn into bitmaps: the
// skin's frames for normal, selected and separator items, the texts in
// their colours, check marks and images, right-to-left items; the room
// the skin adds to an item; separators tidied in framework menus; plain
// menus made owner-drawn and given back.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "runtime/gui/handles.h"
#include "runtime/gui/image_list.h"
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

// What a text shows in the menu font: the pixels it covers wholly, drawn
// black on white, and the width it takes.
struct TTextInk {
  int pixels = 0;
  int width = 0;
};
TTextInk TextInk(const rt::WideString& text, bool bold = false) {
  const gui::UniqueBitmap bitmap = MakeFilledDib(kItemWidth, kItemHeight, RGB(255, 255, 255));
  TBitmapDc dc(bitmap.get());
  const gui::UniqueFont font = gui::MenuFont(bold);
  gui::TSelectObject selectFont(dc.get(), font.get());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  RECT r{0, 0, kItemWidth, kItemHeight};
  DrawTextW(dc.get(), reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_EXPANDTABS);
  TTextInk ink;
  for (int y = 0; y < kItemHeight; ++y)
    for (int x = 0; x < kItemWidth; ++x) ink.pixels += GetPixel(dc.get(), x, y) == RGB(0, 0, 0);
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                        &extent);
  ink.width = extent.cx;
  return ink;
}

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
  // Every pixel the two texts cover wholly, in the text's colour and
  // nowhere else: the caption right of the glyph box, the shortcut ending
  // 10 pixels from the end.
  const TTextInk caption = TextInk(look.Caption), keys = TextInk(look.ShortCut);
  const int captionLeft = 1 + data->Model().MenuItem->Margins.Left + 16 + 3;
  const TDrawnItem withKeys(*data, look, false);
  EXPECT_EQ(withKeys.Count(Colour(Colours().MenuText)), caption.pixels + keys.pixels);
  EXPECT_EQ(withKeys.Count(Colour(Colours().MenuText), captionLeft, captionLeft + caption.width), caption.pixels);
  EXPECT_EQ(withKeys.Count(Colour(Colours().MenuText), kItemWidth - 10 - keys.width, kItemWidth - 10), keys.pixels);
  EXPECT_EQ(withKeys.Count(Colour(Colours().MenuText), kItemWidth - 9, kItemWidth), 0);
  EXPECT_EQ(TDrawnItem(*data, look, true).Count(Colour(Colours().HilightText)), caption.pixels + keys.pixels);

  look.Enabled = false;
  const TDrawnItem disabled(*data, look, false);
  EXPECT_EQ(disabled.Count(Colour(Colours().MenuText)), 0);
  EXPECT_EQ(disabled.Count(Colour(Colours().ButtonShadow)), caption.pixels + keys.pixels);

  TMenuItemLook plain = Look(u"Nuevo");
  TMenuItemLook bold = plain;
  bold.Default = true;
  // Bold strokes cover more of the caption's room.
  EXPECT_GT(TDrawnItem(*data, bold, false).Ink(captionLeft, kItemWidth - 12),
            TDrawnItem(*data, plain, false).Ink(captionLeft, kItemWidth - 12) * 11 / 10);
}

TEST_F(MenuItems, CheckMarksAndImagesSitInTheGlyphBoxMirroredRightToLeft) {
  const int boxLeft = 1 + data->Model().MenuItem->Margins.Left;
  TMenuItemLook look = Look(u"Barra");
  EXPECT_EQ(TDrawnItem(*data, look, false).Count(Colour(Colours().MenuText), boxLeft, boxLeft + 16), 0);
  look.Checked = true;
  // The system's check mark, centred in the 16-pixel box one row down,
  // its ink in the text colour.
  const gui::UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32760)));  // OBM_CHECK
  BITMAP mark{};
  ASSERT_TRUE(GetObjectW(check.get(), sizeof mark, &mark));
  const int markLeft = (16 - mark.bmWidth) / 2, markTop = 1 + (16 - mark.bmHeight) / 2;
  const auto checkShown = [&](const TDrawnItem& item, int boxAt) {
    TBitmapDc markDc(check.get());
    int wrong = 0, ink = 0;
    for (int y = 0; y < mark.bmHeight; ++y)
      for (int x = 0; x < mark.bmWidth; ++x) {
        const bool inked = GetPixel(markDc.get(), x, y) == RGB(0, 0, 0);
        ink += inked;
        wrong += inked != (item.Pixel(boxAt + markLeft + x, markTop + y) == Colour(Colours().MenuText));
      }
    EXPECT_GT(ink, 0) << "the mark has no ink";
    EXPECT_EQ(item.Count(Colour(Colours().MenuText), boxAt, boxAt + 16), ink) << "ink outside the mark";
    return wrong;
  };
  EXPECT_EQ(checkShown(TDrawnItem(*data, look, false), boxLeft), 0);

  look.RightToLeft = true;
  const TDrawnItem mirrored(*data, look, false);
  EXPECT_EQ(checkShown(mirrored, kItemWidth - boxLeft - 16), 0);
  EXPECT_EQ(mirrored.Ink(boxLeft, boxLeft + 16), 0);

  // The skin's menu glyphs: Close (3) is a black cross, drawn as the
  // image list draws it, one row down in the box.
  TMenuItemLook withImage = Look(u"Cerrar");
  withImage.Images = data->MenuGlyphs();
  withImage.ImageIndex = 3;
  const gui::UniqueBitmap glyph = MakeFilledDib(16, 16, RGB(255, 255, 255));
  TBitmapDc glyphDc(glyph.get());
  gui::DrawListImage(withImage.Images, glyphDc.get(), 0, 0, 3);
  const TDrawnItem withGlyph(*data, withImage, false);
  int glyphInk = 0, glyphWrong = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool black = GetPixel(glyphDc.get(), x, y) == RGB(0, 0, 0);
      glyphInk += black;
      glyphWrong += black != (withGlyph.Pixel(boxLeft + x, 1 + y) == RGB(0, 0, 0));
    }
  EXPECT_GE(glyphInk, 16) << "a cross in 16 pixels";
  EXPECT_EQ(glyphWrong, 0);
  EXPECT_EQ(withGlyph.Count(RGB(0, 0, 0), boxLeft, boxLeft + 16), glyphInk);
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
