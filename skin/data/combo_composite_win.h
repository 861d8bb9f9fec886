// The combo box images a skin's painters use, composed once per load from
// the sunken edge, the combo button and the arrow glyph: whole combo box
// frames with the button at the right (ComboButton) and the same frames
// mirrored (SunkEdge).
#pragma once

#include "skin/definition/skin_model.h"

namespace skin {

// Does nothing unless the skin has both SunkEdge and ComboButton.
// scrollArrowWidth is the system's horizontal scroll-bar arrow width.
void BuildComboComposite(TSkinModel& model, int scrollArrowWidth);

}  // namespace skin
