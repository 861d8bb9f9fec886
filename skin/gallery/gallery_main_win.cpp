// skingallery.exe [SKINFILE] [--screenshots DIR]
//
// Shows the skin gallery in the skin file (the product's skin unless one
// is given). With --screenshots it waits until the form and then the
// foreign dialog are skinned, saves DIR\gallery.bmp and DIR\dialog.bmp,
// shows the second page and the dropped list of a combo box for
// DIR\gallery-open.bmp, opens the first bar menu for DIR\menu-open.bmp and
// the system menu for DIR\system-menu.bmp, and quits: 0 when all went
// well, 1 with a message on the standard error otherwise.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/gui/application.h"
#include "runtime/gui/handles.h"
#include "runtime/strings.h"
#include "runtime/wide_text_win.h"
#include "skin/engine/skin_engine_win.h"
#include "skin/gallery/gallery_form_win.h"
#include "skin/gallery/menu_driver_win.h"
#include "skin/menus/menu_bar_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"
#include "tools/windriver/window_driver_win.h"

namespace {

constexpr DWORD kSkinningTimeoutMs = 10000;
constexpr DWORD kSettleMs = 500;

struct TArguments {
  std::wstring SkinFile = L"" QUIMORA_PRODUCT_SKIN;
  std::optional<std::wstring> ScreenshotFolder;
};

struct LocalFreeDeleter {
  void operator()(wchar_t** arguments) const { LocalFree(arguments); }
};

TArguments ParseArguments() {
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!argv) throw rt::Exception(u"No se pudo leer la línea de órdenes");
  TArguments arguments;
  bool skinGiven = false;
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = argv.get()[i];
    if (argument == L"--screenshots") {
      if (i + 1 == count) throw rt::Exception(u"Falta la carpeta de --screenshots");
      arguments.ScreenshotFolder = argv.get()[++i];
    } else if (!skinGiven && !argument.starts_with(L"--")) {
      arguments.SkinFile = argument;
      skinGiven = true;
    } else {
      throw rt::Exception(u"Uso: skingallery.exe [PIEL] [--screenshots CARPETA]");
    }
  }
  return arguments;
}

// A GUI program has no console of its own. A redirected standard error (a
// test log) is used as it is; otherwise the message goes to the console
// of the program that started this one, if there is one.
void ReportError(const std::string& utf8) {
  const std::string line = "skingallery: " + utf8 + "\n";
  const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (standardError && standardError != INVALID_HANDLE_VALUE && GetFileType(standardError) != FILE_TYPE_CHAR &&
      WriteFile(standardError, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
    return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return;
  const gui::UniqueKernelHandle console(CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
  if (!console) return;
  const rt::WideString wide = rt::Utf8ToWide(line);
  WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

// Drives the gallery through the three screenshots. An exception that
// escapes an event handler meanwhile fails the run instead of waiting in
// a message box.
class TScreenshotRun {
 public:
  TScreenshotRun(gui::TApplication& application, gallery::TGalleryForm& form, std::wstring folder)
      : application_(application), form_(form), folder_(std::move(folder)) {
    application_.OnException = [this](rt::TObject*, const std::exception& error) {
      if (failure_.empty()) failure_ = error.what();
    };
  }
  ~TScreenshotRun() { application_.OnException = nullptr; }
  TScreenshotRun(const TScreenshotRun&) = delete;
  TScreenshotRun& operator=(const TScreenshotRun&) = delete;

  void Run() {
    if (!CreateDirectoryW(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      throw rt::Exception(u"No se pudo crear la carpeta " + rt::WideFromWchar(folder_));
    form_.Show();
    SetForegroundWindow(form_.Handle());
    WaitUntilSkinned(form_.Handle(), u"la galería");
    Save(L"gallery.bmp");

    const HWND dialog = form_.OpenForeignDialog();
    SetForegroundWindow(dialog);
    WaitUntilSkinned(dialog, u"el diálogo ajeno");
    Save(L"dialog.bmp");
    // Closed as its Cancel button closes it, so that the last picture shows
    // the gallery alone.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Pump(50);
    if (form_.ForeignDialog()) throw rt::Exception(u"El diálogo ajeno no se cerró");

    form_.PageControl->SetActivePageIndex(1);
    SetForegroundWindow(form_.Handle());
    const HWND combo = form_.ListCombo->Handle();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Pump(kSettleMs);
    if (!SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) throw rt::Exception(u"La lista del combo no se abrió");
    Save(L"gallery-open.bmp");
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Pump(50);

    const POINT file = BarButtonCentre(0);
    ShootOpenMenu(L"menu-open.bmp", [&] {
      PostMessageW(form_.Handle(), WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(file.x, file.y));
    });
    RECT window{};
    GetWindowRect(form_.Handle(), &window);
    ShootOpenMenu(L"system-menu.bmp", [&] {
      PostMessageW(form_.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 200, window.top + 8));
    });
  }

 private:
  // The screen point in the middle of a button of the skinned menu bar.
  POINT BarButtonCentre(size_t index) const {
    const skin::TSkinFormFrame* frame = skin::Manager()->FindSkinForm(form_.Handle());
    const auto* bar = frame ? dynamic_cast<const skin::TSkinMenuBar*>(frame->SkinMenu()) : nullptr;
    if (!bar || index >= bar->MenuButtons.size()) throw rt::Exception(u"La galería no tiene barra de menús con piel");
    const RECT& b = bar->MenuButtons[index]->Bounds;
    RECT window{};
    GetWindowRect(form_.Handle(), &window);
    return {window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2};
  }

  // Opens a menu through trigger and saves the screen while it is open.
  void ShootOpenMenu(const std::wstring& name, const std::function<void()>& trigger) {
    SetForegroundWindow(form_.Handle());
    bool skinned = false;
    gallery::TMenuDriver driver({[] { return !gallery::OpenPopupMenus().empty(); },
                                 [this, &name, &skinned] {
                                   skinned = SendMessageW(gallery::OpenPopupMenus().front(), skin::SKINMSG_QUERY, 0, 0) == 1;
                                   Save(name);
                                   return true;
                                 },
                                 [] {
                                   EndMenu();
                                   return true;
                                 }},
                                kSettleMs);
    if (!driver.Run(trigger)) throw rt::Exception(u"El menú no se abrió para " + rt::WideFromWchar(name));
    if (!skinned) throw rt::Exception(u"El menú de " + rt::WideFromWchar(name) + u" no tiene piel");
    Pump(50);
  }

  void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
      application_.ProcessMessages();
      ThrowOnFailure();
      Sleep(10);
    } while (GetTickCount() - start < ms);
  }

  // Skinned windows answer the engine's query with 1; then the painters
  // get time to paint.
  void WaitUntilSkinned(HWND window, const rt::WideString& what) {
    const DWORD start = GetTickCount();
    while (SendMessageW(window, skin::SKINMSG_QUERY, 0, 0) != 1) {
      if (GetTickCount() - start > kSkinningTimeoutMs)
        throw rt::Exception(what + u" no tiene piel al cabo de 10 s");
      Pump(20);
    }
    Pump(kSettleMs);
  }

  void Save(const std::wstring& name) {
    const std::wstring path = folder_ + L"\\" + name;
    DeleteFileW(path.c_str());
    windriver::SaveScreenshot(path);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
      throw rt::Exception(u"No se pudo guardar " + rt::WideFromWchar(path));
  }

  void ThrowOnFailure() const {
    if (!failure_.empty()) throw rt::Exception(rt::Utf8ToWide(failure_));
  }

  gui::TApplication& application_;
  gallery::TGalleryForm& form_;
  std::wstring folder_;
  std::string failure_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  gui::TApplication application;
  try {
    const TArguments arguments = ParseArguments();
    skin::RegisterSkinEngine();
    application.SetTitle(u"Galería de pieles");
    auto* form = new gallery::TGalleryForm(&application, rt::WideFromWchar(arguments.SkinFile));
    application.SetMainForm(form);
    if (arguments.ScreenshotFolder) {
      TScreenshotRun(application, *form, *arguments.ScreenshotFolder).Run();
      return 0;
    }
  } catch (const std::exception& error) {
    ReportError(error.what());
    return 1;
  }
  application.Run();
  return 0;
}
