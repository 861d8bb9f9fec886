#include "runtime/text.h"

namespace rt {

WideString ThroughAnsi(WideStringView wide) { return AnsiToWide(WideToAnsi(wide)); }

}  // namespace rt
