#include "runtime/dialog_template_win.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/tests/test_windows_win.h"
#include "runtime/text.h"
#include "runtime/wide_text_win.h"
#include "runtime/window_class_win.h"

namespace rt {
namespace {

// Reads a template word by word, as the dialog manager does.
class TTemplateReader {
 public:
  explicit TTemplateReader(const TDialogTemplate& dialog)
      : words_(reinterpret_cast<const WORD*>(dialog.Get())), count_(dialog.Size() / sizeof(WORD)) {}

  WORD Word() {
    EXPECT_LT(at_, count_) << "read past the template's end";
    return at_ < count_ ? words_[at_++] : 0;
  }
  DWORD Dword() {
    const WORD low = Word();
    return MAKELONG(low, Word());
  }
  WideString Text() {
    WideString text;
    for (WORD w = Word(); w != 0 && at_ < count_; w = Word()) text.push_back(static_cast<char16_t>(w));
    return text;
  }
  void AlignToDword() {
    if (at_ % 2) {
      EXPECT_EQ(Word(), 0) << "padding before an item";
    }
  }
  size_t ByteOffset() const { return at_ * sizeof(WORD); }
  bool AtEnd() const { return at_ == count_; }

 private:
  const WORD* words_;
  size_t count_;
  size_t at_ = 0;
};

struct TReadItem {
  DWORD Style;
  int16_t X, Y, Width, Height;
  WORD Id;
  WORD Class;
  WideString Text;
};

TReadItem ReadItem(TTemplateReader& reader) {
  reader.AlignToDword();
  EXPECT_EQ(reader.ByteOffset() % 4, 0u);
  TReadItem item{};
  item.Style = reader.Dword();
  EXPECT_EQ(reader.Dword(), 0u) << "extended style";
  item.X = static_cast<int16_t>(reader.Word());
  item.Y = static_cast<int16_t>(reader.Word());
  item.Width = static_cast<int16_t>(reader.Word());
  item.Height = static_cast<int16_t>(reader.Word());
  item.Id = reader.Word();
  EXPECT_EQ(reader.Word(), 0xFFFF) << "a class by number";
  item.Class = reader.Word();
  item.Text = reader.Text();
  EXPECT_EQ(reader.Word(), 0) << "creation data";
  return item;
}

constexpr DWORD kPopupStyle = WS_POPUP | WS_CAPTION | DS_SETFONT;

TEST(DialogTemplate, HeaderCountsItemsAndEveryItemStartsOnADword) {
  // Texts of odd and even lengths, so that some items need padding.
  TDialogTemplate dialog(kPopupStyle, {1, 2, 300, 200}, u"Título", 9, u"Tahoma");
  dialog.AddItem(TDialogClass::Button, 10, BS_PUSHBUTTON, {4, 5, 50, 14}, u"Sí");
  dialog.AddItem(TDialogClass::Static, 11, SS_LEFT, {-3, 20, 80, 8}, u"Tres");
  dialog.AddItem(TDialogClass::Edit, 12, ES_LEFT, {4, 30, 80, 12});
  EXPECT_EQ(dialog.ItemCount(), 3);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(dialog.Get()) % 4, 0u);

  TTemplateReader reader(dialog);
  EXPECT_EQ(reader.Dword(), kPopupStyle);
  EXPECT_EQ(reader.Dword(), 0u);
  EXPECT_EQ(reader.Word(), 3) << "item count";
  EXPECT_EQ(reader.Word(), 1);
  EXPECT_EQ(reader.Word(), 2);
  EXPECT_EQ(reader.Word(), 300);
  EXPECT_EQ(reader.Word(), 200);
  EXPECT_EQ(reader.Word(), 0) << "menu";
  EXPECT_EQ(reader.Word(), 0) << "class";
  EXPECT_EQ(reader.Text(), u"Título");
  EXPECT_EQ(reader.Word(), 9) << "font size";
  EXPECT_EQ(reader.Text(), u"Tahoma");

  const TReadItem button = ReadItem(reader);
  EXPECT_EQ(button.Style, DWORD{BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE});
  EXPECT_EQ(button.Id, 10);
  EXPECT_EQ(button.Class, 0x0080);
  EXPECT_EQ(button.Text, u"Sí");
  EXPECT_EQ(button.X, 4);
  EXPECT_EQ(button.Height, 14);
  const TReadItem label = ReadItem(reader);
  EXPECT_EQ(label.Class, 0x0082);
  EXPECT_EQ(label.X, -3);
  EXPECT_EQ(label.Text, u"Tres");
  const TReadItem edit = ReadItem(reader);
  EXPECT_EQ(edit.Class, 0x0081);
  EXPECT_EQ(edit.Text, u"");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(DialogTemplate, NoFontWithoutSetFont) {
  TDialogTemplate dialog(WS_POPUP, {}, u"ab");
  TTemplateReader reader(dialog);
  for (int i = 0; i < 11; ++i) reader.Word();
  EXPECT_EQ(reader.Text(), u"ab");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(DialogTemplate, ATextEndsAtItsFirstZero) {
  TDialogTemplate dialog(kPopupStyle, {}, WideStringView(u"Cap\0tion", 8));
  dialog.AddItem(TDialogClass::Static, 1, SS_LEFT, {}, WideStringView(u"abc\0def", 7));
  dialog.AddItem(TDialogClass::Button, 2, BS_PUSHBUTTON, {}, u"Fin");
  TTemplateReader reader(dialog);
  for (int i = 0; i < 11; ++i) reader.Word();
  EXPECT_EQ(reader.Text(), u"Cap");
  reader.Word();
  EXPECT_EQ(reader.Text(), u"MS Shell Dlg");
  EXPECT_EQ(ReadItem(reader).Text, u"abc");
  const TReadItem last = ReadItem(reader);
  EXPECT_EQ(last.Id, 2);
  EXPECT_EQ(last.Text, u"Fin");
  EXPECT_TRUE(reader.AtEnd());
}

// The text of a window, as GetWindowText gives it.
WideString TextOf(HWND window) {
  wchar_t text[256] = {};
  const int length = GetWindowTextW(window, text, 256);
  return WideFromWchar(text, static_cast<size_t>(length > 0 ? length : 0));
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(DialogTemplate, TheSystemMakesTheDialogItDescribes) {
  TDialogTemplate dialog(kPopupStyle, {0, 0, 200, 100}, u"Diálogo");
  dialog.AddItem(TDialogClass::Button, 10, BS_PUSHBUTTON, {7, 9, 50, 14}, u"Aceptar");
  dialog.AddItem(TDialogClass::Static, 11, SS_LEFT, {7, 30, 101, 8}, WideStringView(u"uno\0dos", 7));
  dialog.AddItem(TDialogClass::Edit, 12, ES_LEFT | WS_BORDER, {7, 45, 80, 12}, u"x");
  dialog.AddItem(TDialogClass::Button, 13, BS_AUTOCHECKBOX, {7, 60, 80, 10}, u"Casilla");

  const TOwnedWindow owned(
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), nullptr, PassiveDialogProc, 0));
  const HWND made = owned.get();
  ASSERT_NE(made, nullptr) << GetLastError();
  EXPECT_EQ(TextOf(made), u"Diálogo");
  const struct {
    int Id;
    const char16_t* Class;
    const char16_t* Text;
  } expected[] = {
      {10, u"button", u"Aceptar"}, {11, u"static", u"uno"}, {12, u"edit", u"x"}, {13, u"button", u"Casilla"}};
  for (const auto& e : expected) {
    const HWND item = GetDlgItem(made, e.Id);
    ASSERT_NE(item, nullptr) << e.Id;
    EXPECT_EQ(LowerText(WindowClassName(item)), e.Class) << e.Id;
    EXPECT_EQ(TextOf(item), e.Text) << e.Id;
  }
  // Positions and sizes are in dialog units, in the order x, y, width,
  // height; the system turns each into pixels on its own.
  RECT units = {7, 30, 101, 8};
  MapDialogRect(made, &units);
  RECT placed;
  GetWindowRect(GetDlgItem(made, 11), &placed);
  MapWindowPoints(nullptr, made, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, units.left);
  EXPECT_EQ(placed.top, units.top);
  EXPECT_EQ(placed.right - placed.left, units.right);
  EXPECT_EQ(placed.bottom - placed.top, units.bottom);
}

}  // namespace
}  // namespace rt
