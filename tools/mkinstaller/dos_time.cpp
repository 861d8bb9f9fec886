#include "tools/mkinstaller/dos_time.h"

#include <stdexcept>

namespace mkinstaller {

DosDateTime ToDosDateTime(const std::tm& local) {
  const int year = local.tm_year + 1900;
  if (year < 1980) return {static_cast<uint16_t>(1 << 5 | 1), 0};
  if (year > 2107)
    return {static_cast<uint16_t>(127 << 9 | 12 << 5 | 31), static_cast<uint16_t>(23 << 11 | 59 << 5 | 29)};
  DosDateTime dos;
  dos.date = static_cast<uint16_t>((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  // A leap second shows as second 60; it keeps the last even second.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  dos.time = static_cast<uint16_t>(local.tm_hour << 11 | local.tm_min << 5 | second / 2);
  return dos;
}

DosDateTime LocalDosDateTime(std::time_t when) {
  std::tm local{};
  if (!localtime_r(&when, &local)) throw std::runtime_error("file time out of range");
  return ToDosDateTime(local);
}

}  // namespace mkinstaller
