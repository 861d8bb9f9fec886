// skintool dump: loads a skin file the way the installer does and shows
// what it defines. It needs the windowing layer, so it is a program of its
// own per platform.
#pragma once

namespace skintool {

struct TDumpOptions {
  // The scroll-bar arrow width the combo box images are composed for; 0
  // for the system's.
  int scrollArrowWidth = 0;
  // Also tell, on the error stream, how long after the process started
  // the skin was built.
  bool timing = false;
};

// The exit status: 0 done, 1 failure, 64 not available here.
int DumpSkin(const char* path, const TDumpOptions& options);

}  // namespace skintool
