// Parses arbitrary bytes as a skin definition and builds the skin objects
// from it twice, as a reload does, with images of a size taken from each
// value. The build must keep every frame count positive and always end
// the caption buttons with the three MDI buttons.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/definition/quick_ini.h"
#include "skin/definition/skin_model.h"

namespace {

skin::TSkinBitmap SmallImage(const rt::WideString& value) {
  uint32_t hash = 2166136261u;
  for (char16_t c : value) hash = (hash ^ c) * 16777619u;
  // Some values name nothing usable.
  if (hash % 7 == 0) return {};
  return skin::TSkinBitmap(static_cast<int32_t>(hash % 97), static_cast<int32_t>(1 + (hash >> 8) % 31));
}

void Check(const skin::TSkinModel& model) {
  if (model.CaptionButtons.size() < static_cast<size_t>(skin::kMdiButtonCount)) std::abort();
  for (const auto& button : model.CaptionButtons)
    if (button.FrameCount < 1) std::abort();
  for (const auto* border : {&model.BorderLeft, &model.BorderRight, &model.BorderTop, &model.BorderBottom})
    if (border->FrameCount < 1) std::abort();
  for (const auto* thumb : {&model.HorzScrollThumb, &model.VertScrollThumb})
    if (*thumb && (*thumb)->FrameCount < 1) std::abort();
  if (model.Buttons.RadioButtonFrame < 1) std::abort();
  if (model.Buttons.CheckButtonFrame < 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skin::TQuickIni ini;
  ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const rt::WideString& section : ini.ReadSections()) {
    if (ini.FindSection(section) < 0) std::abort();
    ini.ReadInteger(section, u"Action", 0);
  }
  skin::TSkinModel model;
  skin::BuildSkinObjects(ini, model, SmallImage);
  Check(model);
  skin::BuildSkinObjects(ini, model, SmallImage);
  Check(model);
  return 0;
}
