#include "runtime/gui/application.h"

#include <algorithm>

#include "runtime/exceptions.h"
#include "runtime/gui/registration.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

TApplication* gApplication = nullptr;

constexpr wchar_t kApplicationClass[] = L"TApplication";

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case CM_RELEASE: {
        // A form that asked to be freed once its own handlers had returned.
        auto* form = reinterpret_cast<TForm*>(lParam);
        const auto& screen = Screen();
        for (int i = 0; i < screen.FormCount(); ++i)
          if (screen.Forms(i) == form) {
            delete form;
            break;
          }
        return 0;
      }
      case WM_CLOSE:
        if (gApplication && gApplication->MainForm()) gApplication->MainForm()->Close();
        return 0;
    }
  } catch (...) {
    HandleCurrentException();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void RegisterApplicationClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kApplicationClass, &wc)) return;
  wc.lpfnWndProc = ApplicationWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kApplicationClass;
  RegisterClassExW(&wc);
}

// The program's file name without folder and extension.
WideString ModuleBaseName() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  WideString name(rt::AsChar16(path), length);
  if (const auto slash = name.find_last_of(u"\\/"); slash != WideString::npos) name.erase(0, slash + 1);
  if (const auto dot = name.rfind(u'.'); dot != WideString::npos) name.erase(dot);
  return name;
}

}  // namespace

TApplication::TApplication() : rt::TComponent(nullptr) {
  if (gApplication) throw rt::Exception(u"Le processus a déjà une application");
  RegisterFrameworkClasses();
  RegisterApplicationClass();
  title_ = ModuleBaseName();
  // Sized zero at the centre of the screen: the dialogs that it owns and
  // that centre on their owner (the shell's folder dialog) open there.
  window_.reset(CreateWindowExW(0, kApplicationClass, rt::AsWchar(title_),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  gApplication = this;
}

TApplication::~TApplication() {
  // The forms go first, while the window, the dialogs and COM are there.
  while (ComponentCount() > 0) delete Component(ComponentCount() - 1);
  gApplication = nullptr;
}

TApplication& Application() { return *gApplication; }
bool ApplicationExists() { return gApplication != nullptr; }

void TApplication::SetTitle(const WideString& title) {
  title_ = title;
  if (window_) SetWindowTextW(window_.get(), rt::AsWchar(title_));
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) WaitMessage();
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!HandleDialogKeys(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

// What a dialog box does with Tab, Enter, Escape and Alt + letter, for the
// forms: the keys become CM_DIALOGKEY and CM_DIALOGCHAR of the form, unless
// the focused control asks for them itself (a multi-line edit).
bool TApplication::HandleDialogKeys(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR) return false;
  TWinControl* control = nullptr;
  for (HWND w = msg.hwnd; w && !control; w = GetParent(w)) control = TWinControl::FromHandle(w);
  TForm* form = control ? control->ParentForm() : nullptr;
  if (!form) return false;
  try {
    if (msg.message == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    const WPARAM key = msg.wParam;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
    const LRESULT wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (key == VK_TAB && (wants & DLGC_WANTTAB)) return false;
    form->Perform(CM_DIALOGKEY, key, msg.lParam);
  } catch (...) {
    HandleCurrentException();
  }
  // Taken by the form whether or not a control acted on it, as in a
  // dialog box: an unanswered Enter or Escape does nothing.
  return true;
}

void TApplication::HandleException(const std::exception& error) {
  if (dynamic_cast<const rt::EAbort*>(&error)) return;
  if (OnException) {
    OnException(this, error);
    return;
  }
  ShowException(error);
}

void TApplication::ShowException(const std::exception& error) {
  ShowMessageBox(ExceptionMessageText(error), title_, MB_OK | MB_ICONERROR);
}

int TApplication::ShowMessageBox(const WideString& text, const WideString& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!owner && mainForm_ && mainForm_->HandleAllocated()) owner = mainForm_->WindowHandle();
  if (!owner) owner = window_.get();
  return MessageBoxW(owner, rt::AsWchar(text), rt::AsWchar(caption.empty() ? title_ : caption), flags);
}

void TApplication::ControlDestroying(TControl* control) {
  if (control == mainForm_) mainForm_ = nullptr;
}

WideString ExceptionMessageText(const std::exception& error) {
  WideString text;
  if (const auto* own = dynamic_cast<const rt::Exception*>(&error))
    text = own->Message();
  else
    text = rt::Utf8ToWide(error.what());
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

void HandleCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      if (gApplication)
        gApplication->HandleException(error);
      else if (!dynamic_cast<const rt::EAbort*>(&error))
        MessageBoxW(nullptr, rt::AsWchar(ExceptionMessageText(error)), L"", MB_OK | MB_ICONERROR);
    } catch (...) {
      const rt::Exception unknown(u"Exception inconnue");
      if (gApplication) gApplication->HandleException(unknown);
    }
  } catch (...) {
    // Showing the error failed too; nothing more can be done here.
  }
}

// ---- Screen ----

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

TForm* TScreen::FindForm(HWND window) const {
  for (TForm* form : forms_)
    if (form->HandleAllocated() && form->WindowHandle() == window) return form;
  return nullptr;
}

TForm* TScreen::ActiveForm() const { return FindForm(GetActiveWindow()); }

}  // namespace gui
