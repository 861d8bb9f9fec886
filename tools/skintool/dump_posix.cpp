#include "tools/skintool/commands.h"
#include "tools/skintool/dump.h"

namespace skintool {

const bool kDumpAvailable = false;

int DumpSkin(const char*, const TDumpOptions&) { return kExitUnavailable; }

}  // namespace skintool
