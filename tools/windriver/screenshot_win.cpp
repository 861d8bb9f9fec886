// screenshot OUT.bmp WINDOW_CLASS [SECONDS]
// Waits (20 s unless told) for a visible top-level window of the class, of
// any program, lets it paint, and saves the whole desktop as a BMP file.
// Exits 0 when saved, 1 when no such window came, 64 on a usage error.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/windriver/window_driver_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc > 4) {
    std::fputs("usage: screenshot OUT.bmp WINDOW_CLASS [SECONDS]\n", stderr);
    return 64;
  }
  const std::chrono::seconds patience(argc == 4 ? std::wcstol(argv[3], nullptr, 10) : 20);
  const HWND window = [&] {
    HWND found = nullptr;
    windriver::WaitUntil(
        [&] {
          found = FindWindowW(argv[2], nullptr);
          return found != nullptr && IsWindowVisible(found);
        },
        patience);
    return found;
  }();
  if (!window) {
    std::fprintf(stderr, "screenshot: no window of class %ls\n", argv[2]);
    return 1;
  }
  // The window paints once its program is idle.
  Sleep(1000);
  try {
    windriver::SaveScreenshot(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "screenshot: %s\n", e.what());
    return 1;
  }
  return 0;
}
