// Program entry of the installer.
#include <windows.h>

#include "installer/archiver_dialogs_win.h"
#include "installer/installer_texts.h"
#include "installer/main_form.h"
#include "installer/program_file.h"
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

// The program's exit codes.
constexpr int kExitInstalled = 0;
constexpr int kExitFailed = 1;
constexpr int kExitPayloadDamaged = 2;

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
    auto* form = application.CreateForm<installer::TfmMain>(gui::LoadFormResource(L"TFMMAIN"));
    // A copy that a download cut short must not install part of the
    // product: the payload is checked whole before the window shows, and
    // the box is already in the skin the form carries.
    const zip::TArchiveIntegrity payload = installer::CheckPayload(installer::ProgramPath());
    if (!payload.Whole()) {
      application.ShowMessageBox(installer::kPayloadDamaged, {}, MB_OK | MB_ICONERROR);
      return kExitPayloadDamaged;
    }
    form->SetPayload(payload);
  } catch (const std::exception& error) {
    application.HandleException(error);
    return kExitFailed;
  }
  application.Run();
  return kExitInstalled;
}
