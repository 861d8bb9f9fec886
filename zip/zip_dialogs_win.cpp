// The archiver's default dialogs as real Windows dialogs, built from an
// in-memory template. They are task-modal: every other top-level window of
// the thread is disabled while one is up.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/dialog_template_win.h"
#include "runtime/stock_texts.h"
#include "runtime/task_windows_disabler_win.h"
#include "runtime/wide_text_win.h"
#include "zip/zip_dialogs.h"

namespace zip {

namespace {

// Control ids of the message dialog's own controls, outside the range of
// the modal results that its buttons use as ids.
constexpr WORD kIconId = 100;
constexpr WORD kTextId = 101;
constexpr WORD kEditId = 102;

using rt::AsWchar;
using rt::TDialogClass;
using rt::TDialogTemplate;

// Positions and sizes in the templates are left at zero: the dialog
// procedures measure the texts and place everything.
constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_SETFOREGROUND;

// The dialog's DC with the dialog's font selected, for measuring texts.
class DialogDc {
 public:
  explicit DialogDc(HWND dialog) : dialog_(dialog), dc_(GetDC(dialog)) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dc_ && font) previous_ = SelectObject(dc_, font);
  }
  ~DialogDc() {
    if (previous_) SelectObject(dc_, previous_);
    if (dc_) ReleaseDC(dialog_, dc_);
  }
  DialogDc(const DialogDc&) = delete;
  DialogDc& operator=(const DialogDc&) = delete;

  SIZE Measure(const wchar_t* text, int maxWidth, UINT flags) const {
    RECT r = {0, 0, maxWidth, 0};
    if (dc_) DrawTextW(dc_, text, -1, &r, flags | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
  }

 private:
  HWND dialog_;
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Dialog units to pixels for this dialog's font.
SIZE Dlu(HWND dialog, int x, int y) {
  RECT r = {0, 0, x, y};
  MapDialogRect(dialog, &r);
  return {r.right, r.bottom};
}

void Place(HWND dialog, int id, int x, int y, int width, int height) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives the dialog this client size and centres it on the owner's monitor.
void SizeAndCenter(HWND dialog, int clientWidth, int clientHeight) {
  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HWND owner = GetWindow(dialog, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  const int x = area.left + std::max<long>(0, (area.right - area.left - width) / 2);
  const int y = area.top + std::max<long>(0, (area.bottom - area.top - height) / 3);
  SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// What a dialog procedure works with; handed over at WM_INITDIALOG.
struct DialogState {
  rt::TTaskWindowsDisabler* disabler = nullptr;
  // Message dialog
  const WideString* text = nullptr;
  TZipMsgDlgType type = mtConfirmation;
  std::vector<TZipMsgDlgBtn> buttons;
  // Input box
  const WideString* prompt = nullptr;
  WideString* value = nullptr;
};

DialogState* StateOf(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void Finish(HWND dialog, INT_PTR result) {
  StateOf(dialog)->disabler->Restore();
  EndDialog(dialog, result);
}

// Buttons of a row share one width: the widest caption's, at least the
// standard button width.
int ButtonWidth(HWND dialog, const DialogDc& dc, const std::vector<const char16_t*>& captions) {
  const int padding = Dlu(dialog, 6, 0).cx;
  int width = Dlu(dialog, 50, 0).cx;
  for (const char16_t* caption : captions)
    width = std::max<int>(width, dc.Measure(AsWchar(caption), 0, DT_SINGLELINE).cx + 2 * padding);
  return width;
}

int ButtonGap(HWND dialog) { return Dlu(dialog, 4, 0).cx; }
int ButtonHeight(HWND dialog) { return Dlu(dialog, 0, 14).cy; }

int ButtonRowWidth(HWND dialog, const DialogDc& dc, const std::vector<const char16_t*>& captions) {
  const int count = static_cast<int>(captions.size());
  return count * ButtonWidth(dialog, dc, captions) + (count - 1) * ButtonGap(dialog);
}

// Places the buttons ids with these captions in a row starting at left.
void PlaceButtons(HWND dialog, const DialogDc& dc, const std::vector<WORD>& ids,
                  const std::vector<const char16_t*>& captions, int left, int top) {
  const int width = ButtonWidth(dialog, dc, captions);
  for (WORD id : ids) {
    Place(dialog, id, left, top, width, ButtonHeight(dialog));
    left += width + ButtonGap(dialog);
  }
}

constexpr UINT kTextFlags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

void LayOutMessageDialog(HWND dialog, const DialogState& state) {
  const LPCWSTR icons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION};
  SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconW(nullptr, icons[state.type])), 0);

  const DialogDc dc(dialog);
  const SIZE margin = Dlu(dialog, 8, 8);
  const int iconSize = GetSystemMetrics(SM_CXICON);
  const int textLeft = margin.cx + iconSize + margin.cx;
  const int maxTextWidth = std::max(200, GetSystemMetrics(SM_CXSCREEN) / 2);
  const SIZE text = dc.Measure(AsWchar(*state.text), maxTextWidth, kTextFlags);

  std::vector<WORD> ids;
  std::vector<const char16_t*> captions;
  for (TZipMsgDlgBtn b : state.buttons) {
    ids.push_back(static_cast<WORD>(ModalResultOf(b)));
    captions.push_back(ButtonCaption(b));
  }
  const int clientWidth = std::max<int>(textLeft + text.cx + margin.cx,
                                        ButtonRowWidth(dialog, dc, captions) + 2 * margin.cx);
  const int bodyHeight = std::max<int>(iconSize, text.cy);
  Place(dialog, kIconId, margin.cx, margin.cy, iconSize, iconSize);
  // A one-line text sits level with the middle of the icon.
  const int textTop = margin.cy + (bodyHeight - text.cy) / 2;
  Place(dialog, kTextId, textLeft, textTop, text.cx, text.cy);
  const int buttonsTop = margin.cy + bodyHeight + margin.cy;
  PlaceButtons(dialog, dc, ids, captions,
               (clientWidth - ButtonRowWidth(dialog, dc, captions)) / 2, buttonsTop);
  SizeAndCenter(dialog, clientWidth, buttonsTop + ButtonHeight(dialog) + margin.cy);
}

void LayOutInputBox(HWND dialog, const DialogState& state) {
  const DialogDc dc(dialog);
  const SIZE margin = Dlu(dialog, 8, 8);
  const SIZE edit = Dlu(dialog, 180, 12);
  const int gap = Dlu(dialog, 0, 4).cy;
  const SIZE prompt = dc.Measure(AsWchar(*state.prompt), edit.cx, kTextFlags);
  const int clientWidth = std::max<int>(edit.cx, prompt.cx) + 2 * margin.cx;

  Place(dialog, kTextId, margin.cx, margin.cy, prompt.cx, prompt.cy);
  const int editTop = margin.cy + prompt.cy + gap;
  Place(dialog, kEditId, margin.cx, editTop, clientWidth - 2 * margin.cx, edit.cy);
  const int buttonsTop = editTop + edit.cy + margin.cy;
  const std::vector<const char16_t*> captions = {rt::kSMsgDlgOK, rt::kSMsgDlgCancel};
  PlaceButtons(dialog, dc, {IDOK, IDCANCEL}, captions,
               clientWidth - margin.cx - ButtonRowWidth(dialog, dc, captions), buttonsTop);
  SizeAndCenter(dialog, clientWidth, buttonsTop + ButtonHeight(dialog) + margin.cy);

  SetDlgItemTextW(dialog, kEditId, AsWchar(*state.value));
  SendDlgItemMessageW(dialog, kEditId, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      LayOutMessageDialog(dialog, *StateOf(dialog));
      return TRUE;  // focus goes to the first button
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const auto& buttons = StateOf(dialog)->buttons;
      const bool offered = std::any_of(buttons.begin(), buttons.end(), [id](TZipMsgDlgBtn b) {
        return static_cast<int>(ModalResultOf(b)) == id;
      });
      if (offered || id == IDCANCEL) Finish(dialog, offered ? id : mrCancel);
      return TRUE;
    }
    case WM_CLOSE:
      Finish(dialog, mrCancel);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      LayOutInputBox(dialog, *StateOf(dialog));
      SetFocus(GetDlgItem(dialog, kEditId));
      return FALSE;  // focus set here
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const HWND edit = GetDlgItem(dialog, kEditId);
        WideString text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(edit, AsWchar(text.data()), static_cast<int>(text.size()))));
        *StateOf(dialog)->value = text;
        Finish(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        Finish(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_CLOSE:
      Finish(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

// Shows a dialog task-modally; -1 when it could not be shown.
INT_PTR ShowTaskModal(const TDialogTemplate& dialog, DLGPROC procedure, DialogState& state) {
  const HWND owner = GetActiveWindow();
  INT_PTR result;
  {
    rt::TTaskWindowsDisabler disabler;
    state.disabler = &disabler;
    result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, procedure,
                                     reinterpret_cast<LPARAM>(&state));
  }
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  return result;
}

class WindowsDialogs : public TZipDialogProvider {
 public:
  TZipModalResult MessageDialog(const WideString& text, TZipMsgDlgType type,
                                TZipMsgDlgButtons buttons) override {
    DialogState state;
    state.text = &text;
    state.type = type;
    state.buttons = OfferedButtons(buttons);

    TDialogTemplate dialog(kDialogStyle, {}, DialogTitle(type));
    dialog.AddItem(TDialogClass::Static, kIconId, SS_ICON, {});
    dialog.AddItem(TDialogClass::Static, kTextId, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, {}, text);
    bool first = true;
    for (TZipMsgDlgBtn b : state.buttons) {
      const DWORD style = (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
      dialog.AddItem(TDialogClass::Button, static_cast<WORD>(ModalResultOf(b)), style, {}, ButtonCaption(b));
      first = false;
    }
    const INT_PTR result = ShowTaskModal(dialog, &MessageDialogProc, state);
    return result > 0 ? static_cast<TZipModalResult>(result) : mrCancel;
  }

  bool InputQuery(const WideString& caption, const WideString& prompt,
                  WideString& value) override {
    WideString entered = value;
    DialogState state;
    state.prompt = &prompt;
    state.value = &entered;

    TDialogTemplate dialog(kDialogStyle, {}, caption);
    dialog.AddItem(TDialogClass::Static, kTextId, SS_LEFT | SS_NOPREFIX, {}, prompt);
    dialog.AddItem(TDialogClass::Edit, kEditId, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {});
    dialog.AddItem(TDialogClass::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, {}, rt::kSMsgDlgOK);
    dialog.AddItem(TDialogClass::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, {}, rt::kSMsgDlgCancel);
    if (ShowTaskModal(dialog, &InputBoxProc, state) != IDOK) return false;
    value = entered;
    return true;
  }
};

}  // namespace

TZipDialogProvider& PlatformDialogs() {
  static WindowsDialogs dialogs;
  return dialogs;
}

}  // namespace zip
