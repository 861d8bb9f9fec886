// Program entry of the installer.
#include <windows.h>

#include "installer/archiver_dialogs_win.h"
#include "installer/installer_texts.h"
#include "installer/main_form.h"
#include "runtime/gui/application.h"
#include "runtime/gui/form_resources.h"
#include "runtime/gui/system_libraries.h"

namespace {

// A DLL planted beside the installer (a download folder) must never be
// loaded in place of a system one: from here on, DLLs load from system32
// only. This runs before every other initialiser of the program. The call
// is looked up, since systems without it cannot restrict the search.
__attribute__((constructor(101))) void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (restrict) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::TApplication application;
  application.SetTitle(installer::kApplicationTitle);
  installer::TArchiverDialogs archiverDialogs;
  try {
    // A system without a DLL or function the window needs is told so in a
    // plain message box, before anything would call it.
    gui::LoadSystemLibraries();
    installer::RegisterMainForm();
    application.CreateForm<installer::TfmMain>(gui::LoadFormResource(L"TFMMAIN"));
  } catch (const std::exception& error) {
    application.HandleException(error);
    return 1;
  }
  application.Run();
  return 0;
}
