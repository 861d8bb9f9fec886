#include <optional>

#include "runtime/text.h"
#include "skin/definition/bitmap_transforms.h"
#include "skin/definition/caption_buttons.h"
#include "skin/definition/skin_colours.h"
#include "skin/definition/skin_model.h"

namespace skin {

namespace {

constexpr rt::WideStringView kPersonality = u"Personality";

class Builder {
 public:
  Builder(const TQuickIni& ini, TSkinModel& model, const TBitmapLoader& load)
      : ini_(ini), model_(model), load_(load) {}

  void Run();

 private:
  int32_t Int(rt::WideStringView section, rt::WideStringView key, int32_t defaultValue) const {
    return ini_.ReadInteger(section, key, defaultValue);
  }
  rt::WideString Value(rt::WideStringView section, rt::WideStringView key) const {
    return ini_.ReadString(section, key, u"");
  }
  TSkinBitmap Image(rt::WideStringView section, rt::WideStringView key) const {
    return LoadSkinImage(load_, Value(section, key));
  }

  void ReadBorder(TDataSkinBorder& border);
  void ReadColours();
  void ReadButtons();
  void ReadTitle();

  // The section builders: each replaces its slot, which stays empty when
  // the section names no image.
  template <typename T>
  T* NewObject(std::unique_ptr<T>& slot, rt::WideStringView section, rt::WideStringView imageKey);
  void ReadImageFields(TDataSkinObject& object, rt::WideStringView section, bool withStyle);
  void BuildImageObject(std::unique_ptr<TDataSkinObject>& slot, rt::WideStringView section);
  void BuildTwoImageObject(std::unique_ptr<TDataSkinBorder>& slot, rt::WideStringView section,
                           std::optional<rt::WideStringView> secondKey);
  void BuildProgress();
  void BuildGroupBox();
  void BuildMenuBar();

  void SetFrameCounts();

  const TQuickIni& ini_;
  TSkinModel& model_;
  const TBitmapLoader& load_;
};

void Builder::ReadBorder(TDataSkinBorder& border) {
  const rt::WideString& name = border.Name;
  border.Image = Image(kPersonality, name);
  // A count below 1 would leave frames of no width; it counts as not given.
  const int32_t frames = Int(kPersonality, name + u"Frame", 1);
  border.FrameCount = frames > 0 ? frames : 1;
  border.Tile = Int(kPersonality, name + u"Stretch", 1);
  border.Trans = Int(kPersonality, name + u"Trans", 1);
  const int32_t first = Int(kPersonality, name + u"TopHeight", 0);
  const int32_t second = Int(kPersonality, name + u"BotHeight", 0);
  // The fixed parts lie along the border: its ends are top and bottom for
  // the side borders, left and right for the top and bottom ones.
  if (&border == &model_.BorderLeft || &border == &model_.BorderRight)
    border.Margins = {.Left = 0, .Top = first, .Right = 0, .Bottom = second};
  else
    border.Margins = {.Left = first, .Top = 0, .Right = second, .Bottom = 0};
}

void Builder::ReadColours() {
  constexpr rt::WideStringView s = u"Colours";
  TSkinColours& c = model_.SkinColours;
  c.WindowText = ReadColour(ini_, s, u"WindowText", rt::clWindowText);
  c.ButtonFace = ReadColour(ini_, s, u"ButtonFace", rt::clBtnFace);
  c.Scrollbar = ReadColour(ini_, s, u"Scrollbar", rt::clScrollBar);
  c.HilightText = ReadColour(ini_, s, u"HilightText", rt::clHighlightText);
  c.Hilight = ReadColour(ini_, s, u"Hilight", rt::clHighlight);
  c.Menubar = ReadColour(ini_, s, u"Menubar", c.ButtonFace);
  c.Menu = ReadColour(ini_, s, u"Menu", rt::clMenu);
  c.MenuText = ReadColour(ini_, s, u"MenuText", rt::clMenuText);
  c.ButtonText = ReadColour(ini_, s, u"ButtonText", rt::clBtnText);
  c.ButtonHilight = ReadColour(ini_, s, u"ButtonHilight", rt::clBtnHighlight);
  c.Buttonlight = ReadColour(ini_, s, u"Buttonlight", rt::clBtnHighlight);
  c.ButtonShadow = ReadColour(ini_, s, u"ButtonShadow", rt::clBtnShadow);
  c.ButtonDkShadow = ReadColour(ini_, s, u"ButtonDkShadow", rt::cl3DDkShadow);
  c.MenuBarText = ReadColour(ini_, s, u"MenuBarText", rt::clMenuText);
  c.TitleTextActive = ReadColour(ini_, s, u"TitleTextActive", rt::clCaptionText);
  c.TitleTextNoActive = ReadColour(ini_, s, u"TitleTextNoActive", rt::clInactiveCaptionText);

  model_.ColourSections.clear();
  for (const rt::WideString& section : ini_.ReadSections()) {
    const rt::WideString upper = rt::UpperText(section);
    if (upper.starts_with(u"COLOUR") && upper != u"COLOURS")
      model_.ColourSections.push_back(ReadColour(ini_, section, u"color", rt::clWindowText));
  }

  for (int n = 0; n < kCustomColourCount; ++n) {
    const rt::WideString key = u"Color" + rt::WideString(1, static_cast<char16_t>(u'0' + n));
    model_.CustomColours[static_cast<size_t>(n)] =
        ReadColour(ini_, u"Customcolors", key, rt::clWhite);
  }
}

void Builder::ReadButtons() {
  constexpr rt::WideStringView s = u"Buttons";
  TDataSkinButton& b = model_.Buttons;
  b.Margins = {.Left = Int(s, u"LeftWidth", 0), .Top = Int(s, u"TopHeight", 0),
               .Right = Int(s, u"RightWidth", 0), .Bottom = Int(s, u"BottomHeight", 0)};
  b.Trans = Int(s, u"Trans", 0);
  b.Tile = Int(s, u"Tile", 0);
  b.Image = Image(s, u"Bitmap");
  b.CheckImage = Image(s, u"CheckButton");
  b.RadioImage = Image(s, u"RadioButton");
  b.NormalColour = Int(s, u"NormalColour", -1);
  b.MouseOverColour = Int(s, u"MouseOverColour", -1);
  b.PressedColour = Int(s, u"PressedColour", -1);
  b.RadioButtonFrame = Int(s, u"RadioButtonFrame", 0);
  b.CheckButtonFrame = Int(s, u"CheckButtonFrame", 0);
  b.HasNormalColour2 = ini_.HasValue(s, u"NormalColour2");
  b.HasMouseOverColour2 = ini_.HasValue(s, u"MouseOverColour2");
  b.HasPressedColour2 = ini_.HasValue(s, u"PressedColour2");
  const rt::TColor text = model_.SkinColours.ButtonText;
  b.NormalColour2 = ReadColour(ini_, s, u"NormalColour2", text);
  b.MouseOverColour2 = ReadColour(ini_, s, u"MouseOverColour2", text);
  b.PressedColour2 = ReadColour(ini_, s, u"PressedColour2", text);
}

void Builder::ReadTitle() {
  TDataSkinTitle& t = model_.Title;
  t.Image = Image(kPersonality, u"TextBack");
  t.Margins = {.Left = Int(kPersonality, u"TextShift", 0),
               .Top = Int(kPersonality, u"TextShiftVert", 0),
               .Right = Int(kPersonality, u"TextRightClip", 0),
               .Bottom = 0};
  t.TextAlignment = Int(kPersonality, u"TextAlignment", 0);
  t.Textbackground = Int(kPersonality, u"Textbackground", 0);
  t.TXTBackleft = Int(kPersonality, u"TXTBackleft", 0);
  t.TXTBackRight = Int(kPersonality, u"TXTBackRight", 0);
  t.FontHeight = Int(u"Fonts", u"FontHeight", 14);
  t.ActiveTextColour = rt::clNone;
  t.InactiveTextColour = rt::clNone;
  ReadRGBKeys(ini_, kPersonality, u"ActiveText", t.ActiveTextColour);
  ReadRGBKeys(ini_, kPersonality, u"InActiveText", t.InactiveTextColour);
}

template <typename T>
T* Builder::NewObject(std::unique_ptr<T>& slot, rt::WideStringView section,
                      rt::WideStringView imageKey) {
  slot.reset();
  const rt::WideString value = Value(section, imageKey);
  if (value.empty()) return nullptr;
  slot = std::make_unique<T>(rt::WideString(section));
  // The object exists even when the value names no usable image.
  slot->Image = load_(value);
  return slot.get();
}

void Builder::ReadImageFields(TDataSkinObject& object, rt::WideStringView section,
                              bool withStyle) {
  if (withStyle) object.Style = Int(section, u"Style", 0);
  object.Margins = {.Left = Int(section, u"LeftWidth", 0), .Top = Int(section, u"TopHeight", 0),
                    .Right = Int(section, u"RightWidth", 0),
                    .Bottom = Int(section, u"BottomHeight", 0)};
  object.Trans = Int(section, u"Trans", 0);
  const int32_t tile = Int(section, u"Tile", 0);
  object.Tile = tile > 1 ? 0 : tile;
  object.NormalColour = Int(section, u"NormalColour", -1);
  object.MouseOverColour = Int(section, u"MouseOverColour", -1);
  object.PressedColour = Int(section, u"PressedColour", -1);
  const rt::TColor text = model_.SkinColours.ButtonText;
  object.NormalColour2 = ReadColour(ini_, section, u"NormalColour2", text);
  object.MouseOverColour2 = ReadColour(ini_, section, u"MouseOverColour2", text);
  object.PressedColour2 = ReadColour(ini_, section, u"PressedColour2", text);
}

void Builder::BuildImageObject(std::unique_ptr<TDataSkinObject>& slot,
                               rt::WideStringView section) {
  if (TDataSkinObject* object = NewObject(slot, section, u"Image"))
    ReadImageFields(*object, section, true);
}

void Builder::BuildTwoImageObject(std::unique_ptr<TDataSkinBorder>& slot,
                                  rt::WideStringView section,
                                  std::optional<rt::WideStringView> secondKey) {
  TDataSkinBorder* object = NewObject(slot, section, u"Image");
  if (!object) return;
  if (secondKey) object->SecondImage = Image(section, *secondKey);
  ReadImageFields(*object, section, false);
}

void Builder::BuildProgress() {
  constexpr rt::WideStringView s = u"Progress";
  TDataSkinBorder* p = NewObject(model_.Progress, s, u"Bitmap");
  if (!p) return;
  p->SecondImage = Image(s, u"Chunk");
  p->Style = Int(s, u"Style", 0);
  p->Margins = {.Left = Int(s, u"LeftWidth", 0), .Top = Int(s, u"TopHeight", 0),
                .Right = Int(s, u"RightWidth", 0), .Bottom = Int(s, u"BottomHeight", 0)};
  p->Trans = Int(s, u"Trans", 0);
  p->Tile = Int(s, u"Tile", 0);
}

void Builder::BuildGroupBox() {
  constexpr rt::WideStringView s = u"GroupBox";
  TDataSkinBoxLabel* g = NewObject(model_.GroupBox, s, u"Image");
  if (!g) return;
  ReadImageFields(*g, s, true);
  g->BackgroundAlignment = Int(s, u"BackgroundAlignment", 0);
  g->BackgroundLeftShift = Int(s, u"BackgroundLeftShift", 0);
  g->BackgroundRightShift = Int(s, u"BackgroundRightShift", 0);
}

void Builder::BuildMenuBar() {
  TDataSkinObject* m = NewObject(model_.MenuBar, kPersonality, u"menuBar");
  if (!m) return;
  m->Tile = Int(kPersonality, u"TileMenu", 0);
  // Left and Right carry whether the bar's two ends are tiled.
  m->Margins = {.Left = Int(kPersonality, u"TileLeftMenu", 1), .Top = 0,
                .Right = Int(kPersonality, u"TileRightMenu", 1), .Bottom = 0};
}

void Builder::SetFrameCounts() {
  const auto set = [](auto& slot, int32_t frames) {
    if (slot) slot->FrameCount = frames;
  };
  model_.Title.FrameCount = 2;
  model_.Buttons.FrameCount = 5;
  set(model_.Progress, 2);
  set(model_.MenuBar, 2);
  set(model_.GroupBoxEdge, 2);
  set(model_.GroupBox, 1);
  set(model_.Toolbars, 5);
  set(model_.Tabs, 5);
  set(model_.StatusBarEdges, 3);
  set(model_.ComboButton, 4);
  set(model_.SunkEdge, 4);
  set(model_.ExtraImages, 5);
  set(model_.Headerbar, 5);
  set(model_.MenuItem, 5);
  set(model_.MenuBackground, 1);
  set(model_.Scrollbar, 23);
  set(model_.HorzScroll, 4);
  set(model_.VertScroll, 4);
  for (auto* thumb : {&model_.TrackbarThumbHorz, &model_.TrackbarThumbVert,
                      &model_.TrackbarThumbLeft, &model_.TrackbarThumbRight,
                      &model_.TrackbarThumbUp, &model_.TrackbarThumbDown})
    set(*thumb, 5);
  set(model_.UpDownHorz, 8);
  set(model_.UpDownVert, 8);
  // The scroll bar thumbs say how many frames they have; a count below 1
  // counts as not given.
  for (auto* thumb : {&model_.HorzScrollThumb, &model_.VertScrollThumb}) {
    if (!*thumb) continue;
    const int32_t frames = Int((*thumb)->Name, u"FrameCount", 3);
    (*thumb)->FrameCount = frames > 0 ? frames : 3;
  }

  // Radio and check images hold square-ish frames: 13 pixels wide in a
  // strip under 16 pixels high, 16 otherwise, and never fewer than 4.
  const auto frames = [](const TSkinBitmap& image) {
    const int32_t side = image.Height() < 16 ? 13 : 16;
    const int32_t count = image.Width() / side;
    return count < 4 ? 4 : count;
  };
  TDataSkinButton& b = model_.Buttons;
  if (b.RadioButtonFrame <= 0) b.RadioButtonFrame = frames(b.RadioImage);
  if (b.CheckButtonFrame <= 0) b.CheckButtonFrame = frames(b.CheckImage);
}

void Builder::Run() {
  model_.SkinName = ini_.ReadString(u"TitlebarSkin", u"SkinName", u"");
  for (TDataSkinBorder* border :
       {&model_.BorderLeft, &model_.BorderRight, &model_.BorderTop, &model_.BorderBottom})
    ReadBorder(*border);
  ReadColours();
  model_.CaptionButtons = BuildCaptionButtons(ini_, load_);
  ReadButtons();
  ReadTitle();
  BuildProgress();
  BuildMenuBar();

  BuildImageObject(model_.GroupBoxEdge, u"GroupBoxEdge");
  BuildGroupBox();
  BuildImageObject(model_.Toolbars, u"Toolbars");
  BuildTwoImageObject(model_.Tabs, u"Tabs", u"Border");
  BuildImageObject(model_.StatusBarEdges, u"StatusBarEdges");
  // No skin gives the combo button a second image: it is made below.
  BuildTwoImageObject(model_.ComboButton, u"ComboButton", std::nullopt);
  if (model_.ComboButton && !model_.ComboButton->Image.Empty()) {
    // The button as drawn on the left of a right-to-left combo box.
    model_.ComboButton->SecondImage = model_.ComboButton->Image;
    MirrorBitmap(model_.ComboButton->SecondImage);
  }

  BuildImageObject(model_.SunkEdge, u"SunkEdge");
  BuildImageObject(model_.ExtraImages, u"ExtraImages");
  BuildImageObject(model_.Headerbar, u"Headerbar");
  BuildImageObject(model_.MenuItem, u"MenuItem");
  BuildImageObject(model_.MenuBackground, u"MenuBackground");
  BuildImageObject(model_.Scrollbar, u"Scrollbar");
  BuildImageObject(model_.HorzScroll, u"HorzScroll");
  BuildImageObject(model_.VertScroll, u"VertScroll");
  BuildImageObject(model_.HorzScrollThumb, u"HorzScrollThumb");
  BuildImageObject(model_.VertScrollThumb, u"VertScrollThumb");
  BuildImageObject(model_.TrackbarThumbHorz, u"Trackbar.ThumbHorz");
  BuildImageObject(model_.TrackbarThumbVert, u"Trackbar.ThumbVert");
  BuildImageObject(model_.TrackbarThumbLeft, u"Trackbar.ThumbLeft");
  BuildImageObject(model_.TrackbarThumbRight, u"Trackbar.ThumbRight");
  BuildImageObject(model_.TrackbarThumbUp, u"Trackbar.ThumbUp");
  BuildImageObject(model_.TrackbarThumbDown, u"Trackbar.ThumbDown");
  BuildTwoImageObject(model_.UpDownHorz, u"UpDown.Horz", u"GlyphImage");
  BuildTwoImageObject(model_.UpDownVert, u"UpDown.Vert", u"GlyphImage");

  SetFrameCounts();
}

}  // namespace

void BuildSkinObjects(const TQuickIni& ini, TSkinModel& model, const TBitmapLoader& load) {
  Builder(ini, model, load).Run();
}

}  // namespace skin
