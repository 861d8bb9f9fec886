// qzip's exit statuses, close to those of other unzip programs so that
// scripts written for them read ours the same way.
#pragma once

namespace qzip {

inline constexpr int kExitDone = 0;
inline constexpr int kExitWarning = 1;       // warnings; some entries skipped
inline constexpr int kExitDamaged = 2;       // damaged archive or entry data
inline constexpr int kExitUnsupported = 3;   // an entry's method or encryption
inline constexpr int kExitNotArchive = 9;    // not a ZIP archive, or not found
inline constexpr int kExitNothingMatched = 11;
inline constexpr int kExitDiskFull = 50;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitPassword = 82;     // password missing or wrong

// When entries fail in different ways, the run ends with the gravest.
inline int Graver(int a, int b) {
  auto rank = [](int status) {
    switch (status) {
      case kExitDone: return 0;
      case kExitWarning: return 1;
      case kExitDamaged: return 2;
      case kExitUnsupported: return 3;
      case kExitPassword: return 4;
      default: return 5;
    }
  };
  return rank(a) >= rank(b) ? a : b;
}

}  // namespace qzip
