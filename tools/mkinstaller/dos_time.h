// MS-DOS date and time of a file time, in the local time of this machine,
// as ZIP headers store them.
#pragma once

#include <cstdint>
#include <ctime>

namespace mkinstaller {

struct DosDateTime {
  uint16_t date = 0;  // (year - 1980) << 9 | month << 5 | day
  uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
  bool operator==(const DosDateTime&) const = default;
};

// Local broken-down time to MS-DOS form. Odd seconds round down; times
// outside 1980..2107 are clamped to the nearest time the form can hold.
DosDateTime ToDosDateTime(const std::tm& local);

// A file time (seconds since 1970, UTC) in this machine's local time.
DosDateTime LocalDosDateTime(std::time_t when);

}  // namespace mkinstaller
