#include "skin/menus/menu_item_painting_win.h"

#include <algorithm>
#include <vector>

#include "runtime/gui/graphics.h"
#include "runtime/gui/image_list.h"
#include "runtime/gui/menus.h"
#include "runtime/gui/system_libraries.h"
#include "skin/data/skin_bitmap_win.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/three_slice_win.h"
#include "skin/menus/popup_menu_win.h"
#include "skin/windows/skin_manager_win.h"

namespace skin {
namespace {

// The MenuItem image: normal, separator, two unused, selected.
constexpr int kItemFrames = 5;
constexpr int kNormalFrame = 1;
constexpr int kSeparatorFrame = 2;
constexpr int kSelectedFrame = 4;
constexpr int kDefaultGlyphSize = 16;
// The system's check mark bitmap (OBM_CHECK).
constexpr WORD kCheckMarkBitmap = 32760;

int ImageWidth(HIMAGELIST images) {
  int width = 0, height = 0;
  if (!images || !gui::CommonControls().ImageList_GetIconSize(images, &width, &height)) return 0;
  return width;
}

int LeftMargin(const TSkinData& data) {
  const TDataSkinObject* item = data.Model().MenuItem.get();
  return item ? item->Margins.Left : 0;
}

COLORREF Colour(rt::TColor colour) { return gui::ColorToRGB(colour); }

// Caption and shortcut of a plain item's text: "Open\tCtrl+O".
void SplitText(const rt::WideString& text, TMenuItemLook& look) {
  const size_t tab = text.find(u'\t');
  look.Caption = text.substr(0, tab);
  if (tab != rt::WideString::npos) look.ShortCut = text.substr(tab + 1);
}

// Mirrors a rectangle inside the item for right-to-left menus.
RECT Mirrored(const RECT& r, const RECT& item, bool mirror) {
  if (!mirror) return r;
  return {item.left + item.right - r.right, r.top, item.left + item.right - r.left, r.bottom};
}

class TItemCanvas {
 public:
  TItemCanvas(const TSkinData& data, HDC dc, const RECT& item, bool selected, const TMenuItemLook& look)
      : data_(data), dc_(dc), item_(item), selected_(selected), look_(look), colours_(data.Model().SkinColours) {}

  void Background() {
    const TSkinManage* manager = Manager();
    TPopupMenuPainter* popup = manager ? manager->PopupShowing(look_.Parent) : nullptr;
    HBITMAP background = popup ? popup->Background() : nullptr;
    if (background) {
      const POINT offset = popup->ClientOffset();
      Blit(dc_, item_.left, item_.top, RectWidth(item_), RectHeight(item_), background, item_.left + offset.x,
           item_.top + offset.y);
      return;
    }
    Fill(colours_.Menu);
  }

  void Fill(rt::TColor colour) {
    gui::UniqueBrush brush(CreateSolidBrush(Colour(colour)));
    FillRect(dc_, &item_, brush.get());
  }

  void SkinnedSeparator(const TDataSkinObject& object) {
    HBITMAP image = data_.ImageBitmap(object.Image);
    if (!image) return;
    const int frameHeight = SkinFrame(image, kItemFrames, kSeparatorFrame, false).Height;
    const int height = RectHeight(item_);
    // A strip taller than the item keeps its lower part.
    const int top = frameHeight > height ? item_.bottom - frameHeight : item_.top + (height - frameHeight) / 2;
    const RECT strip{item_.left, top, item_.right, top + frameHeight};
    ThreeSlice(dc_, strip, image, false, true, kItemFrames, kSeparatorFrame, object.Margins.Left, object.Margins.Right);
  }

  void SkinnedFace(const TDataSkinObject& object) {
    HBITMAP image = data_.ImageBitmap(object.Image);
    if (!image) return;
    DrawNineSlice(dc_, item_, image, SliceMargins(object.Margins), false, object.Tile != 0, kItemFrames,
                  selected_ ? kSelectedFrame : kNormalFrame, object.Trans != 0);
  }

  void EtchedSeparator() {
    RECT line{item_.left, item_.top + 4, item_.right, item_.top + 6};
    DrawEdge(dc_, &line, EDGE_ETCHED, BF_TOP);
  }

  void Content() {
    const bool mirror = look_.RightToLeft;
    const bool hasImage = look_.Images && look_.ImageIndex >= 0;
    int box = look_.Images ? ImageWidth(look_.Images) : kDefaultGlyphSize;
    if (look_.Checked) box = std::max(box, kDefaultGlyphSize);
    const int boxLeft = item_.left + 1 + LeftMargin(data_);
    const RECT glyph = Mirrored({boxLeft, item_.top + 1, boxLeft + box, item_.top + 1 + box}, item_, mirror);
    if (hasImage) {
      if (look_.Checked) CheckedImageBox(glyph);
      gui::DrawListImage(look_.Images, dc_, glyph.left, glyph.top, look_.ImageIndex, look_.Enabled);
    } else if (look_.Checked) {
      CheckMark(glyph);
    }
    Texts(Mirrored({boxLeft + box + 3, item_.top, item_.right - 1, item_.bottom}, item_, mirror), mirror);
    if (look_.HasSubMenu) SubMenuArrow(mirror);
  }

 private:
  void CheckedImageBox(const RECT& glyph) {
    // The half-tone of face and highlight the system uses for a pressed
    // tool button.
    const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    gui::UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
    gui::UniqueBrush brush(CreatePatternBrush(bits.get()));
    const COLORREF oldText = SetTextColor(dc_, GetSysColor(COLOR_BTNFACE));
    const COLORREF oldBack = SetBkColor(dc_, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc_, &glyph, brush.get());
    SetTextColor(dc_, oldText);
    SetBkColor(dc_, oldBack);
    RECT edge = glyph;
    DrawEdge(dc_, &edge, BDR_SUNKENOUTER, BF_RECT);
  }

  void CheckMark(const RECT& glyph) {
    gui::UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckMarkBitmap)));
    const SIZE size = BitmapSize(check.get());
    if (size.cx <= 0) return;
    const int x = (glyph.left + glyph.right - size.cx) / 2;
    const int y = (glyph.top + glyph.bottom - size.cy) / 2;
    // The mark is one bit deep, ink 0: its ink is cut out in black, then
    // filled with the text colour; the rest of the item stays.
    TBitmapDc mark(check.get());
    const COLORREF oldText = SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc_, RGB(255, 255, 255));
    BitBlt(dc_, x, y, size.cx, size.cy, mark.get(), 0, 0, SRCAND);
    SetTextColor(dc_, Colour(TextColour()));
    SetBkColor(dc_, RGB(0, 0, 0));
    BitBlt(dc_, x, y, size.cx, size.cy, mark.get(), 0, 0, SRCPAINT);
    SetTextColor(dc_, oldText);
    SetBkColor(dc_, oldBack);
  }

  // A solid triangle pointing to where the sub-menu opens (the far end:
  // right, or left in a right-to-left menu), in the text's colour, one
  // column at a time from its base to its tip so that it has no blurred
  // edge.
  void SubMenuArrow(bool mirror) {
    constexpr int kHalfHeight = 3;
    constexpr int kTipFromEdge = 6;
    gui::UniqueBrush brush(CreateSolidBrush(Colour(TextColour())));
    const int middle = (item_.top + item_.bottom) / 2;
    const int tip = mirror ? item_.left + kTipFromEdge : item_.right - kTipFromEdge - 1;
    const int towardsTip = mirror ? -1 : 1;
    for (int column = 0; column <= kHalfHeight; ++column) {
      const int reach = kHalfHeight - column;
      const int x = tip - towardsTip * reach;
      const RECT line{x, middle - reach, x + 1, middle + reach + 1};
      FillRect(dc_, &line, brush.get());
    }
  }

  rt::TColor TextColour() const {
    if (!look_.Enabled)
      return colours_.ButtonShadow == colours_.MenuText ? rt::clBtnShadow : colours_.ButtonShadow;
    return selected_ ? colours_.HilightText : colours_.MenuText;
  }

  void Texts(const RECT& room, bool mirror) {
    const gui::UniqueFont font = gui::MenuFont(look_.Default);
    gui::TSelectObject selectFont(dc_, font.get());
    TBackgroundMode transparent(dc_, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc_, Colour(TextColour()));
    const UINT direction = mirror ? DT_RIGHT | DT_RTLREADING : 0;
    // An empty caption or a lone "&" would measure nothing.
    const rt::WideString caption = look_.Caption.empty() || look_.Caption == u"&" ? u" " : look_.Caption;
    RECT measured = room;
    DrawSkinText(dc_, caption, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | direction);
    const int textHeight = RectHeight(measured);
    const int textWidth = RectWidth(measured);
    RECT text{room.left, room.top + (RectHeight(room) - textHeight) / 2, room.right, 0};
    text.bottom = text.top + textHeight;
    DrawSkinText(dc_, caption, text, DT_EXPANDTABS | DT_SINGLELINE | direction);
    if (!look_.ShortCut.empty()) {
      RECT keys = mirror ? RECT{item_.left + 10, text.top, room.right - textWidth, text.bottom}
                         : RECT{room.left + textWidth, text.top, item_.right - 10, text.bottom};
      DrawSkinText(dc_, look_.ShortCut, keys, DT_SINGLELINE | (mirror ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
    }
    SetTextColor(dc_, oldText);
  }

  const TSkinData& data_;
  HDC dc_;
  RECT item_;
  bool selected_;
  const TMenuItemLook& look_;
  const TSkinColours& colours_;
};

}  // namespace

TMenuItemLook LookOf(gui::TMenuItem& item) {
  TMenuItemLook look;
  look.Caption = item.Caption();
  look.ShortCut = item.ShortCutText();
  look.Enabled = item.Enabled();
  look.Checked = item.Checked();
  look.Default = item.Default();
  look.ImageIndex = item.ImageIndex();
  if (gui::TMenu* menu = item.Menu()) {
    if (gui::TImageList* images = menu->Images()) look.Images = images->Handle();
    look.RightToLeft = menu->IsRightToLeft();
  }
  if (gui::TMenuItem* parent = item.Parent()) look.Parent = parent->Handle();
  // The items of a menu bar open their menus below themselves: no arrow.
  gui::TMenu* menu = item.Menu();
  const bool onBar = menu && menu->IsBar() && item.Parent() == menu->Items();
  look.HasSubMenu = item.Count() > 0 && !onBar;
  return look;
}

TMenuItemLook LookOf(HMENU menu, UINT position) {
  TMenuItemLook look;
  look.Parent = menu;
  // The text is asked for as a string: an owner-drawn entry still has it.
  std::vector<wchar_t> text(256);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size() - 1);
  if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return look;
  const rt::WideString read(text.data(), text.data() + std::min<size_t>(info.cch, text.size() - 1));
  if (!read.empty() && !(info.fType & MFT_SEPARATOR)) SplitText(read, look);
  look.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
  look.Checked = (info.fState & MFS_CHECKED) != 0;
  look.Default = (info.fState & MFS_DEFAULT) != 0;
  look.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  look.HasSubMenu = info.hSubMenu != nullptr;
  return look;
}

void AddSkinRoom(const TSkinData& data, const TMenuItemLook& look, TMenuItemPlace place, int& width) {
  const bool noImages = look.Images == nullptr;
  if (place == mpMainMenu)
    width += LeftMargin(data) + 10 + (noImages ? 25 : 0);
  else
    width += LeftMargin(data) + 12 + (noImages ? 23 : 0);
}

void MeasurePlainItem(const TSkinData& data, HDC dc, const TMenuItemLook& look, int& width, int& height) {
  const gui::UniqueFont font = gui::MenuFont();
  gui::TSelectObject selectFont(dc, font.get());
  if (look.IsSeparator()) {
    width = 0;
    height = 8;
    return;
  }
  RECT r{0, 0, 0, 0};
  DrawSkinText(dc, look.Caption, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  width = RectWidth(r) + 26 + LeftMargin(data);
  height = RectHeight(r) + 4;
}

void MeasureItem(const TSkinData& data, HDC dc, const TMenuItemLook& look, TMenuItemPlace place, int& width,
                 int& height) {
  const gui::UniqueFont font = gui::MenuFont(look.Default);
  gui::TSelectObject selectFont(dc, font.get());
  int imageWidth = 0, imageHeight = 0;
  if (look.Images && look.ImageIndex >= 0)
    gui::CommonControls().ImageList_GetIconSize(look.Images, &imageWidth, &imageHeight);
  gui::MeasureMenuEntry(dc, look.Caption, look.ShortCut, {imageWidth, imageHeight}, width, height);
  AddSkinRoom(data, look, place, width);
}

void DrawItem(const TSkinData& data, HDC dc, const RECT& rect, bool selected, const TMenuItemLook& look) {
  if (IsEmptyDestination(rect)) return;
  NoteMenuPainted(look.Parent);
  const TDataSkinObject* object = data.Model().MenuItem.get();
  // Composed off-screen and put on the menu in one copy.
  gui::UniqueBitmap bitmap = MakeFilledDib(RectWidth(rect), RectHeight(rect), RGB(0, 0, 0));
  {
    TBitmapDc canvasDc(bitmap.get());
    SetViewportOrgEx(canvasDc.get(), -rect.left, -rect.top, nullptr);
    TItemCanvas canvas(data, canvasDc.get(), rect, selected, look);
    if (object && !object->Image.Empty()) {
      canvas.Background();
      if (look.IsSeparator()) {
        canvas.SkinnedSeparator(*object);
      } else {
        canvas.SkinnedFace(*object);
        canvas.Content();
      }
    } else {
      canvas.Fill(selected && !look.IsSeparator() ? data.Model().SkinColours.Hilight : data.Model().SkinColours.Menu);
      if (look.IsSeparator())
        canvas.EtchedSeparator();
      else
        canvas.Content();
    }
  }
  Blit(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), bitmap.get(), 0, 0);
  // The system draws its own sub-menu arrow on the item after this, black
  // on white: the item is taken out of the DC's clipping region first.
  if (look.HasSubMenu) ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace skin
