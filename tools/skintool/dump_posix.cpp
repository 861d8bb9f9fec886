#include "tools/cli/console.h"
#include "tools/skintool/dump.h"

namespace skintool {

int DumpSkin(const char*, const TDumpOptions&) {
  cli::WriteErr("skintool: dump runs on Windows only\n");
  return 64;
}

}  // namespace skintool
