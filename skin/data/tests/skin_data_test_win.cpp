// The skin data component on Windows: its creation values, the stored skin
// loaded as a form reads it, the image lookup rules, the combo box
// composition and the rules of Loaded.
#include "skin/data/skin_data_win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/form_binder.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/system_libraries.h"
#include "runtime/tests/test_bmp_builder.h"
#include "skin/container/skin_archive_writer.h"
#include "skin/container/skin_messages.h"
#include "skin/drawing/dib_win.h"

namespace skin {
namespace {

std::vector<uint8_t> FormValue(const std::vector<uint8_t>& skinFile) {
  std::vector<uint8_t> value(4 + skinFile.size());
  for (int i = 0; i < 4; ++i) value[i] = static_cast<uint8_t>(skinFile.size() >> (8 * i));
  std::copy(skinFile.begin(), skinFile.end(), value.begin() + 4);
  return value;
}

std::vector<uint8_t> ProductSkinFile() {
  std::ifstream in(QUIMORA_PRODUCT_SKIN, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Bmp(int width, int height) {
  rt::testbmp::BmpLayout layout{.width = width, .height = height};
  layout.pixels.assign(static_cast<size_t>(width * height * 3), 0x40);
  return rt::testbmp::MakeBmp(layout);
}

std::vector<uint8_t> SkinFile(const std::string& ini, std::vector<TSkinArchiveEntry> images = {}) {
  images.insert(images.begin(), {"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  return MakeSkinFile(PackSkinArchive(images));
}

int gMessages = 0;
void CountMessage(const rt::WideString&) { ++gMessages; }

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSkinDataClass();
    previousSink = SetSkinMessageSink(CountMessage);
    gMessages = 0;
  }
  void TearDown() override { SetSkinMessageSink(previousSink); }
  TSkinMessageSink previousSink = nullptr;
};

TEST_F(SkinDataTest, StartsWithItsCreationValuesAndTheMenuGlyphs) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  EXPECT_EQ(data.SkinControls(), 0x7FFFBu);  // bits 0 to 18 but menu items
  EXPECT_EQ(data.Options(), 0u);
  EXPECT_EQ(data.SkinFormtype(), sfMainform);
  EXPECT_EQ(data.Version(), u"3.02.03.07");
  EXPECT_EQ(data.SkinStore(), u"(none)");
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_FALSE(data.MenuMerge());
  EXPECT_TRUE(data.NoSkin());
  ASSERT_EQ(data.Skin3rd().size(), 110u);
  EXPECT_EQ(data.Skin3rd().front(), u"TAdvPanelGroup=embedscrollbar");
  EXPECT_EQ(data.Skin3rd()[39], data.Skin3rd()[40]);  // a row that stands twice
  EXPECT_EQ(data.Skin3rd().back(), u"TOVCDBNUMERICFIELD=Edit");
  ASSERT_NE(data.MenuGlyphs(), nullptr);
  EXPECT_EQ(gui::CommonControls().ImageList_GetImageCount(data.MenuGlyphs()), 4);
  // Writing the display-only texts changes nothing.
  data.SetSkinStore(u"(Good)");
  data.SetVersion(u"1");
  EXPECT_EQ(data.SkinStore(), u"(none)");
  EXPECT_EQ(data.Version(), u"3.02.03.07");
  // An empty stored skin is written as its length alone.
  EXPECT_EQ(data.WriteSkinStream(), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST_F(SkinDataTest, TheProductSkinLoadsWithItsComboBoxesComposed) {
  const std::vector<uint8_t> file = ProductSkinFile();
  ASSERT_FALSE(file.empty());
  TSkinData data(nullptr);
  data.SetScrollArrowWidth(17);
  data.ReadSkinStream(FormValue(file));
  ASSERT_FALSE(data.NoSkin());
  const TSkinModel& m = data.Model();
  ASSERT_TRUE(m.ComboButton && m.SunkEdge);
  EXPECT_EQ(m.ComboButton->Image.Width(), 200);
  EXPECT_EQ(m.ComboButton->Image.Height(), 21);
  EXPECT_EQ(m.ComboButton->Margins, (TSkinMargins{2, 3, 21, 3}));
  EXPECT_EQ(m.ComboButton->Style, 2);
  EXPECT_EQ(m.SunkEdge->Margins, (TSkinMargins{21, 3, 2, 3}));
  // The sunken edge holds the same frames mirrored: the button at the left.
  for (int y = 0; y < 21; y += 5)
    for (int x = 0; x < 200; x += 7) ASSERT_EQ(m.SunkEdge->Image.Pixel(199 - x, y), m.ComboButton->Image.Pixel(x, y));
  // The middle of every frame stays open in the key colour.
  for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(m.ComboButton->Image.Pixel(50 * frame + 10, 10), 0xFF00FFu);
  EXPECT_NE(data.FaceBrush(), nullptr);
  EXPECT_EQ(data.WriteSkinStream(), FormValue(file));
}

TEST_F(SkinDataTest, ImagesAreFoundByTheirFileNameWithAnExactBmpExtension) {
  const std::string ini =
      "[Toolbars]\r\nImage=Images\\Rebar.bmp\r\n"
      "[Headerbar]\r\nImage=Rebar.BMP\r\n"
      "[MenuItem]\r\nImage=picture.tga\r\n"
      "[Tabs]\r\nImage=C:REBAR.bmp\r\n";
  TSkinData data(nullptr);
  data.ReadSkinStream(FormValue(SkinFile(ini, {{"Rebar.bmp", Bmp(20, 8)}, {"picture.tga", Bmp(4, 4)}})));
  ASSERT_FALSE(data.NoSkin());
  const TSkinModel& m = data.Model();
  ASSERT_TRUE(m.Toolbars && m.Headerbar && m.MenuItem && m.Tabs);
  EXPECT_EQ(m.Toolbars->Image.Width(), 20);
  EXPECT_EQ(m.Tabs->Image.Width(), 20);
  EXPECT_TRUE(m.Headerbar->Image.Empty());
  EXPECT_TRUE(m.MenuItem->Image.Empty());
  EXPECT_TRUE(data.LoadSkinBitmap(u"rebar.bmp").Empty());  // only while a load runs
}

TEST_F(SkinDataTest, ASkinThatDoesNotOpenLeavesNoSkin) {
  TSkinData older(nullptr);
  std::vector<uint8_t> archive = PackSkinArchive({{"skin.ini", {}}});
  archive[0] = 0x1F;  // magic 19999
  older.ReadSkinStream(FormValue(MakeSkinFile(archive)));
  EXPECT_TRUE(older.NoSkin());
  EXPECT_EQ(gMessages, 1);

  // An unpacked size of a gigabyte is refused before anything is decoded.
  TSkinData huge(nullptr);
  huge.ReadSkinStream(FormValue({0x00, 0x00, 0x00, 0x40, 0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_TRUE(huge.NoSkin());

  // A length of zero or less holds no skin at all.
  TSkinData empty(nullptr);
  empty.ReadSkinStream({0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(empty.NoSkin());
  EXPECT_TRUE(empty.SkinFileBytes().Bytes().empty());
}

TEST_F(SkinDataTest, AStoredComponentGetsItsValuesAndLoadedAdjustsTheControlKinds) {
  using rt::TFormIdent;
  using rt::TFormValue;
  const auto stored = [](bool withSkin, std::vector<std::string> kinds) {
    rt::TFormObject object{"TSkinData", "SkinData1",
                           {{"Active", TFormValue{TFormIdent{"True"}}},
                            {"SkinControls", TFormValue{rt::TFormSet{std::move(kinds)}}},
                            {"SkinStore", TFormValue{rt::WideString(u"(Good)")}}},
                           {}};
    if (withSkin)
      object.Properties.push_back({"SkinStream", TFormValue{rt::TFormBinary{FormValue(ProductSkinFile())}}});
    return rt::TFormObject{"TComponent", "Host", {}, {object}};
  };
  rt::TComponent host(nullptr);
  rt::CreateFormFromData(stored(true, {"xcPopupMenu", "xcMenuItem", "xcSystemMenu"}), host);
  auto* skinned = dynamic_cast<TSkinData*>(host.FindComponent(u"SkinData1"));
  ASSERT_NE(skinned, nullptr);
  EXPECT_FALSE(skinned->NoSkin());
  EXPECT_TRUE(skinned->Active());
  EXPECT_EQ(skinned->SkinStore(), u"(none)");
  // Without a main menu the system menu is not skinned.
  EXPECT_EQ(skinned->SkinControls(), 1u << xcPopupMenu | 1u << xcMenuItem);

  rt::TComponent other(nullptr);
  rt::CreateFormFromData(stored(false, {"xcMainMenu", "xcMenuItem", "xcSystemMenu"}), other);
  auto* plain = dynamic_cast<TSkinData*>(other.FindComponent(u"SkinData1"));
  ASSERT_NE(plain, nullptr);
  // No skin: Active is turned off; with a main menu, menu items are not.
  EXPECT_FALSE(plain->Active());
  EXPECT_EQ(plain->SkinControls(), 1u << xcMainMenu | 1u << xcSystemMenu);
}

TEST_F(SkinDataTest, FormSkinningIsRefusedForCalendarsAndReportWindows) {
  TSkinData data(nullptr);
  EXPECT_TRUE(data.FormSkinAllowed(u"TfmMain"));
  EXPECT_FALSE(data.FormSkinAllowed(u"SysMonthCal32"));
  EXPECT_TRUE(data.FormSkinAllowed(u"TfrPreview"));
  data.SetSkinControls(data.SkinControls() | 1u << xcFastReport);
  EXPECT_FALSE(data.FormSkinAllowed(u"TfrPreview"));
  EXPECT_TRUE(data.FormSkinAllowed(u"TFRPreview"));
  // A handler alone decides, starting from yes.
  data.OnFormSkin = [](rt::TObject*, const rt::WideString& name, bool& doSkin) {
    if (name == u"TfmMain") doSkin = false;
  };
  EXPECT_FALSE(data.FormSkinAllowed(u"TfmMain"));
  EXPECT_TRUE(data.FormSkinAllowed(u"SysMonthCal32"));
}

// A white picture for black text in the system's font.
class TTextPicture {
 public:
  static constexpr int kWidth = 200, kHeight = 40;
  TTextPicture() {
    SetTextColor(dc_.get(), RGB(0, 0, 0));
    SetBkMode(dc_.get(), TRANSPARENT);
  }
  HDC Dc() const { return dc_.get(); }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc_.get(), x, y));
    return pixels;
  }

 private:
  gui::UniqueBitmap bitmap_ = MakeFilledDib(kWidth, kHeight, RGB(255, 255, 255));
  TBitmapDc dc_{bitmap_.get()};
  gui::TSelectObject font_{dc_.get(), GetStockObject(DEFAULT_GUI_FONT)};
};

// The text goes to the system whole and wide: an 8-bit copy would draw
// "?" for the arrow, a short count would drop it.
TEST(DrawSkinText, DrawsTheWholeWideTextAndReturnsItsHeight) {
  const rt::WideString text = u"Instalación ⇌";
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  const int length = static_cast<int>(text.size());
  TTextPicture drawn, expected;
  TEXTMETRICW metrics{};
  GetTextMetricsW(drawn.Dc(), &metrics);
  RECT r = {0, 0, TTextPicture::kWidth, TTextPicture::kHeight};
  EXPECT_EQ(DrawSkinText(drawn.Dc(), text, r, DT_LEFT | DT_TOP | DT_SINGLELINE), metrics.tmHeight);
  ExtTextOutW(expected.Dc(), 0, 0, 0, nullptr, wide, length, nullptr);
  EXPECT_TRUE(drawn.Pixels() == expected.Pixels());
  TTextPicture blank;
  EXPECT_FALSE(drawn.Pixels() == blank.Pixels()) << "nothing was drawn";

  // Asked to measure, it gives the rectangle the text takes.
  SIZE extent{};
  GetTextExtentPoint32W(drawn.Dc(), wide, length, &extent);
  RECT measured = {10, 5, 11, 6};
  EXPECT_EQ(DrawSkinText(drawn.Dc(), text, measured, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_CALCRECT),
            metrics.tmHeight);
  EXPECT_EQ(measured.left, 10);
  EXPECT_EQ(measured.right - measured.left, extent.cx);
  EXPECT_EQ(measured.bottom - measured.top, metrics.tmHeight);
}

}  // namespace
}  // namespace skin
