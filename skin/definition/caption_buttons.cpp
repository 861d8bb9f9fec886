#include "skin/definition/caption_buttons.h"

#include "runtime/text.h"

namespace skin {

namespace {

constexpr int32_t kDefaultFrames = 6;
// Actions that show the window's icon instead of an image of their own.
constexpr int32_t kActionIcon = 3;
constexpr int32_t kActionIconAlt = 11;

// The frame count of a button whose section gives none: 3 frames for a
// strip up to 3.8 times as wide as high, 6 for a longer one, and always 6
// for the negative actions.
int32_t ComputedFrames(const TDataSkinSysButton& button) {
  if (button.Image.Empty() || button.Action < 0) return kDefaultFrames;
  // width / height <= 3.8, in integers: 32-bit x87 code keeps the quotient
  // in extended precision, where 76 / 20 is a little more than the double
  // 3.8, and a strip of exactly 3.8 would get 6 frames there.
  const int64_t width = button.Image.Width();
  const int64_t height = button.Image.Height();
  return width * 5 <= height * 19 ? 3 : kDefaultFrames;
}

TDataSkinSysButton ReadButton(const TQuickIni& ini, const rt::WideString& section,
                              const TBitmapLoader& load) {
  TDataSkinSysButton button(rt::UpperText(section));
  button.Action = ini.ReadInteger(section, u"Action", 0);
  button.Align = ini.ReadInteger(section, u"Align", 0);
  button.Xcoord = ini.ReadInteger(section, u"Xcoord", 0);
  button.Ycoord = ini.ReadInteger(section, u"Ycoord", 0);
  button.Visibility = ini.ReadInteger(section, u"Visibility", 0);
  button.Visibility1 = ini.ReadInteger(section, u"Visibility1", button.Action == -1 ? -1 : 0);
  button.CombineOp = ini.ReadInteger(section, u"CombineOp", -1);
  button.Image = LoadSkinImage(load, ini.ReadString(section, u"ButtonImage", u""));
  // A count below 1 would make frames of no width (or a division by zero
  // in the painters); it counts as not given.
  const int32_t frames = ini.ReadInteger(section, u"frame", 0);
  if (frames > 0) {
    button.FrameCount = frames;
  } else {
    button.FrameCount = ComputedFrames(button);
    if (button.Action == kActionIcon || button.Action == kActionIconAlt) button.Image.Clear();
  }
  return button;
}

void AddMdiButtons(const TQuickIni& ini, const TBitmapLoader& load,
                   std::vector<TDataSkinSysButton>& buttons) {
  const size_t first = buttons.size();
  for (int32_t action = 7; action <= 9; ++action) {
    TDataSkinSysButton& button = buttons.emplace_back(u"");
    button.Action = action;
    button.Align = button.Visibility = button.Visibility1 = 100;
    button.FrameCount = 4;
  }
  // One strip holds the three buttons side by side, four frames each.
  const TSkinBitmap strip = LoadSkinImage(load, ini.ReadString(u"MDICONTROLS", u"Image", u""));
  if (strip.Empty()) return;
  const int32_t frameWidth = strip.Width() / 12;
  for (int32_t i = 0; i < kMdiButtonCount; ++i) {
    TDataSkinSysButton& button = buttons[first + static_cast<size_t>(i)];
    button.Image = CopyBitmapRect(strip, 4 * frameWidth * i, 0, 4 * frameWidth, strip.Height());
    button.Xcoord = (frameWidth + 4) * (kMdiButtonCount - i);
  }
}

}  // namespace

TSkinBitmap LoadSkinImage(const TBitmapLoader& load, const rt::WideString& value) {
  if (value.empty()) return {};
  return load(value);
}

bool IsCaptionButtonSection(rt::WideStringView name) {
  const rt::WideString upper = rt::UpperText(name);
  return upper.starts_with(u"BUTTON") && upper != u"BUTTON" && upper != u"BUTTONS" &&
         upper != u"BUTTON.RADIO" && upper != u"BUTTON.CHECKBOX";
}

std::vector<TDataSkinSysButton> BuildCaptionButtons(const TQuickIni& ini,
                                                    const TBitmapLoader& load) {
  std::vector<rt::WideString> kept;
  for (rt::WideString& section : ini.ReadSections()) {
    if (kept.size() == kMaxCaptionButtons) break;
    if (!IsCaptionButtonSection(section)) continue;
    // A button with action -1 is kept only when it says it is never shown.
    if (ini.ReadInteger(section, u"Action", 0) == -1 &&
        ini.ReadInteger(section, u"Visibility", -1) != 0)
      continue;
    kept.push_back(std::move(section));
  }
  std::vector<TDataSkinSysButton> buttons;
  buttons.reserve(kept.size() + kMdiButtonCount);
  for (const rt::WideString& section : kept) buttons.push_back(ReadButton(ini, section, load));
  AddMdiButtons(ini, load, buttons);
  return buttons;
}

}  // namespace skin
