// Program entry of the installer, and of the uninstaller that it places in
// the install folder: the same program, which finds an empty payload.
#include <windows.h>

#include <memory>

#include "installer/archiver_dialogs_win.h"
#include "installer/command_line.h"
#include "installer/exit_codes.h"
#include "installer/install_log.h"
#include "installer/installer_texts.h"
#include "installer/main_form_win.h"
#include "installer/program_file.h"
#include "installer/uninstallation_win.h"
#include "installer/uninstaller_image.h"
#include "runtime/format.h"
#include "runtime/gui/application.h"
#include "runtime/gui/form_resources.h"
#include "runtime/gui/system_libraries.h"
#include "runtime/wide_text_win.h"
#include "zip/path_functions.h"

namespace {

using namespace installer;

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

TExitCode Finish(TInstallLog& log, TExitCode code, const char* meaning) {
  log.Result(code, meaning);
  return code;
}

// The uninstaller: asks (unless silent), removes the installation, says so
// and leaves its own removal to a copy of itself.
TExitCode RunUninstaller(gui::TApplication& application, const TCommandLine& line, TInstallLog& log) {
  application.SetTitle(kUninstallerTitle);
  const rt::WideString program = ProgramPath();
  const rt::WideString folder = zip::WithoutTrailingBackslash(zip::PathOf(program));
  if (!line.Silent &&
      application.ShowMessageBox(rt::Format(kUninstallQuestion, {folder}), {}, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return Finish(log, ecCancelled, "cancelled");
  const TOutcome outcome = Uninstall(folder, log);
  if (outcome.Code == ecDone && !StartSelfRemoval(folder))
    log.Write("failed", program, u"the uninstaller cannot remove itself");
  Finish(log, outcome.Code, outcome.Code == ecDone ? "uninstalled" : "some entries not removed");
  if (!line.Silent)
    application.ShowMessageBox(outcome.Message, {},
                               MB_OK | (outcome.Code == ecDone ? MB_ICONINFORMATION : MB_ICONWARNING));
  return outcome.Code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const TCommandLine line =
      ParseCommandLine(ArgumentsOf(rt::AsChar16(GetCommandLineW())));
  // The uninstaller's copy in the temporary folder: no application, no
  // window, only the removal.
  if (line.RemoveFrom && line.After) return RemoveUninstaller(*line.RemoveFrom, *line.After);

  gui::TApplication application;
  application.SetTitle(kApplicationTitle);
  TArchiverDialogs archiverDialogs(line.Silent);
  std::unique_ptr<TInstallLog> log;
  TfmMain* form = nullptr;
  try {
    // A system without a DLL or function the window needs is told so in a
    // plain message box, before anything would call it.
    gui::LoadSystemLibraries();
    RegisterMainForm();
    // The form is made also when it is never shown: it carries the
    // archiver's settings and the skin of every message box.
    form = application.CreateForm<TfmMain>(gui::LoadFormResource(L"TFMMAIN"));
    if (line.Usage || !line.Valid()) {
      if (!line.Silent)
        application.ShowMessageBox(UsageText(), {}, MB_OK | (line.Valid() ? MB_ICONINFORMATION : MB_ICONWARNING));
      return line.Valid() ? ecDone : ecBadCommandLine;
    }
    try {
      log = std::make_unique<TInstallLog>(line.LogFile);
    } catch (const std::exception& error) {
      if (!line.Silent) application.HandleException(error);
      return ecBadCommandLine;
    }
    // A copy that a download cut short must not install part of the
    // product: the payload is checked whole before the window shows, and
    // the box is already in the skin the form carries.
    const zip::TArchiveIntegrity payload = CheckPayload(ProgramPath());
    if (!payload.Whole()) {
      log->Write("failed", ProgramPath(), rt::Utf8ToWide(payload.Detail));
      if (!line.Silent) application.ShowMessageBox(kPayloadDamaged, {}, MB_OK | MB_ICONERROR);
      return Finish(*log, ecPayloadDamaged, ExitCodeMeaning(ecPayloadDamaged));
    }
    if (IsUninstallerPayload(payload)) return RunUninstaller(application, line, *log);
    form->Prepare(payload, *log);
    if (line.Silent) {
      const TOutcome outcome = form->InstallSilently(line.Folder.value_or(form->DefaultFolder()));
      return Finish(*log, outcome.Code, ExitCodeMeaning(outcome.Code));
    }
    if (line.Folder) form->EditFiche->SetText(*line.Folder);
  } catch (const std::exception& error) {
    // Nothing of the payload, or not all of it, was installed.
    if (!line.Silent) application.HandleException(error);
    if (!log) return ecIncomplete;
    log->Write("failed", ProgramPath(), rt::Utf8ToWide(error.what()));
    return Finish(*log, ecIncomplete, ExitCodeMeaning(ecIncomplete));
  }
  application.Run();
  return Finish(*log, form->ExitCode(), ExitCodeMeaning(form->ExitCode()));
}
