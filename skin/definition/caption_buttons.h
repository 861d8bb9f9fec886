// The caption buttons of a skin: one per [Button...] section of the
// definition, then the three MDI buttons cut from [MDICONTROLS].
#pragma once

#include <vector>

#include "skin/definition/skin_model.h"

namespace skin {

// Whether a section of this name defines a caption button (push buttons,
// radio buttons and check boxes have sections beginning with "Button" too).
bool IsCaptionButtonSection(rt::WideStringView name);

// More buttons than a caption bar can show are not read: each would hold
// its own copy of an image, so a definition of many short sections naming
// one large image would cost memory far beyond its own size.
inline constexpr size_t kMaxCaptionButtons = 64;

std::vector<TDataSkinSysButton> BuildCaptionButtons(const TQuickIni& ini,
                                                    const TBitmapLoader& load);

// An image of the definition value, or the empty image for an empty value.
TSkinBitmap LoadSkinImage(const TBitmapLoader& load, const rt::WideString& value);

}  // namespace skin
