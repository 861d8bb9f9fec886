#include <windows.h>

#include <string>

#include "installer/program_file.h"
#include "runtime/wide_text_win.h"

namespace installer {

rt::WideString ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    // A path that fills the buffer may have been cut: ask again with more room.
    if (length < path.size()) return rt::WideFromWchar(path.data(), length);
    path.resize(path.size() * 2);
  }
}

}  // namespace installer
