// The application: one per process. It initialises COM for the GUI
// thread, owns the hidden main window (class "TApplication") and the forms,
// runs the message loop with the dialog-key handling of the forms, and
// shows every exception that escapes an event handler.
//
//   gui::TApplication application;           // COM, classes, dialogs
//   application.SetTitle(u"Instala el Quimora");
//   auto* form = application.CreateForm<TfmMain>(storedForm);
//   application.Run();
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/classes.h"
#include "runtime/form_binder.h"
#include "runtime/form_data.h"
#include "runtime/gui/form.h"
#include "runtime/gui/handles.h"

namespace gui {

using TExceptionEvent = std::function<void(rt::TObject* sender, const std::exception& error)>;

class TApplication : public rt::TComponent {
 public:
  TApplication();
  ~TApplication() override;
  WideString ClassName() const override { return u"TApplication"; }

  // The caption of every message box of the program.
  const WideString& Title() const { return title_; }
  void SetTitle(const WideString& title);
  HWND Handle() const { return window_.get(); }
  // How COM initialisation went (S_OK, S_FALSE, or the failure).
  HRESULT ComResult() const { return com_.Result(); }

  // Creates a form of class T owned by the application and configures it
  // from its stored form; the first form created so becomes the main form.
  template <class T>
  T* CreateForm(const rt::TFormObject& data) {
    auto form = std::make_unique<T>(this);
    rt::CreateFormFromData(data, *form);
    if (!mainForm_) mainForm_ = form.get();
    return form.release();
  }
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }

  // Shows the main form and handles messages until Terminate.
  void Run();
  // Ends Run once the current handler has returned.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();

  // The default exception handler: OnException when assigned, otherwise a
  // message box with the title as caption, an error icon and OK. A silent
  // abort (rt::EAbort) shows nothing.
  void HandleException(const std::exception& error);
  void ShowException(const std::exception& error);
  TExceptionEvent OnException;

  // A system message box owned by the active window, with the title as
  // caption unless one is given.
  int ShowMessageBox(const WideString& text, const WideString& caption, UINT flags);

  void ControlDestroying(TControl* control);

 private:
  friend class TForm;
  bool ProcessMessage();
  bool HandleDialogKeys(MSG& msg);

  TComInitialization com_;
  UniqueWindow window_;
  WideString title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

// The application of the process; it must exist.
TApplication& Application();
bool ApplicationExists();

// The message of an exception as the default handler shows it: a "." is
// appended when the last character sorts after ".".
WideString ExceptionMessageText(const std::exception& error);

// Handles the exception being caught right now (from inside a catch
// block): what a window procedure, timer or hook callback does with an
// exception that must not travel back into Windows.
void HandleCurrentException() noexcept;

// The forms of the process, in creation order.
class TScreen {
 public:
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  // The form whose window this is, or nullptr.
  TForm* FindForm(HWND window) const;
  // The form of the active window, or nullptr.
  TForm* ActiveForm() const;

 private:
  friend class TForm;
  std::vector<TForm*> forms_;
};

TScreen& Screen();

}  // namespace gui
