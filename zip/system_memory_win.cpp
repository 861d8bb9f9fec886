#include <windows.h>

#include "zip/system_memory.h"

namespace zip {

uint64_t AvailablePhysicalMemory() {
  // The extended query, so that more than 4 GB free is not reported as
  // a wrapped-around or capped figure.
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  return status.ullAvailPhys;
}

}  // namespace zip
