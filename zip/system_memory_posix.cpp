#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "zip/system_memory.h"

namespace zip {

namespace {

// Linux's estimate of what can be had without swapping, which counts the
// page cache that extraction itself fills; "free" pages alone shrink to
// almost nothing after a few large files have been written.
uint64_t LinuxMemAvailable() {
  std::FILE* file = std::fopen("/proc/meminfo", "r");
  if (!file) return 0;
  uint64_t bytes = 0;
  char line[128];
  while (std::fgets(line, sizeof line, file)) {
    unsigned long long kilobytes = 0;
    if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) {
      bytes = kilobytes * 1024;
      break;
    }
  }
  std::fclose(file);
  return bytes;
}

}  // namespace

uint64_t AvailablePhysicalMemory() {
  if (const uint64_t available = LinuxMemAvailable()) return available;
#ifdef _SC_AVPHYS_PAGES
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
#else
  return 0;
#endif
}

}  // namespace zip
