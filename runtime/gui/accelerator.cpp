#include "runtime/gui/accelerator.h"

#include "runtime/text.h"

namespace gui {

bool IsAccel(WPARAM character, const rt::WideString& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    const char16_t typed = static_cast<char16_t>(character);
    return rt::UpperText(rt::WideString(1, caption[i + 1])) == rt::UpperText(rt::WideString(1, typed));
  }
  return false;
}

}  // namespace gui
