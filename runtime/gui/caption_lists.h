// The text forms that list properties take: lines joined by CR LF, list
// view items as "caption|sub1|sub2", columns and sections as
// "Caption=Width".
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/strings.h"

namespace gui {

using rt::WideString;

// Splits at every separator; an empty text is an empty list.
std::vector<WideString> SplitText(const WideString& text, const WideString& separator);
WideString JoinText(const std::vector<WideString>& parts, const WideString& separator);

struct TCaptionWidth {
  WideString Caption;
  int32_t Width = 0;
};
// "Caption=Width"; without "=" or with a width that is not a number the
// whole text is the caption and the width is defaultWidth.
TCaptionWidth ParseCaptionWidth(const WideString& text, int32_t defaultWidth);

}  // namespace gui
