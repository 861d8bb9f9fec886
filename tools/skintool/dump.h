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

// Whether this platform can load a skin without a window system: the skin
// data component builds its images with GDI, so only Windows can.
extern const bool kDumpAvailable;

// The exit status: 0 done; raises cli::Failure for a skin that does not load.
int DumpSkin(const char* path, const TDumpOptions& options);

}  // namespace skintool
