#include "skin/gallery/gallery_dialog_win.h"

#include <commctrl.h>

#include <array>

#include "runtime/dialog_template_win.h"
#include "runtime/exceptions.h"
#include "runtime/gui/application.h"
#include "runtime/gui/handles.h"
#include "runtime/gui/system_libraries.h"

namespace gallery {

namespace {

using rt::TDialogClass;
using rt::TDialogRect;
using rt::TDialogTemplate;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
// Where the nested dialog and the extended combo box go, in dialog units:
// they are made in code, not by the template.
constexpr TDialogRect kNestedBounds = {118, 76, 100, 26};
constexpr TDialogRect kComboExBounds = {118, 56, 100, 80};

TDialogTemplate ForeignTemplate() {
  TDialogTemplate dialog(kDialogStyle, {40, 30, 230, 124}, u"Diálogo ajeno");
  using enum TDialogClass;
  dialog.AddItem(Button, idFrame, BS_GROUPBOX, {7, 5, 100, 46}, u"Marco");
  dialog.AddItem(Button, idRadioA, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {15, 18, 80, 10}, u"Radio A");
  dialog.AddItem(Button, idRadioB, BS_AUTORADIOBUTTON, {15, 33, 80, 10}, u"Radio B");
  dialog.AddItem(Button, idCheck, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, {118, 9, 100, 10}, u"Casilla");
  dialog.AddItem(Button, idThreeState, BS_AUTO3STATE | WS_TABSTOP, {118, 23, 100, 10}, u"Tres estados");
  dialog.AddItem(ComboBox, idCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, {118, 37, 100, 80});
  dialog.AddItem(Edit, idEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {7, 58, 100, 14}, u"Texto ajeno");
  dialog.AddItem(Button, idOwnerDrawn, BS_OWNERDRAW | WS_TABSTOP, {7, 80, 100, 16}, u"Dibujado aparte");
  dialog.AddItem(Button, idAccept, BS_DEFPUSHBUTTON | WS_TABSTOP, {104, 102, 50, 14}, u"Aceptar");
  dialog.AddItem(Button, idCancel, BS_PUSHBUTTON | WS_TABSTOP, {160, 102, 50, 14}, u"Cancelar");
  dialog.AddItem(ScrollBar, idSizeGrip, SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, {218, 112, 12, 12});
  return dialog;
}

TDialogTemplate NestedTemplate() {
  TDialogTemplate dialog(WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT, {0, 0, kNestedBounds.Width,
                         kNestedBounds.Height}, u"");
  dialog.AddItem(TDialogClass::Button, idNestedButton, BS_PUSHBUTTON | WS_TABSTOP, {4, 6, 60, 14}, u"Anidado");
  return dialog;
}

// The nested dialog only holds its button; it leaves the focus where it is.
INT_PTR CALLBACK NestedDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

RECT PixelsOf(HWND dialog, const TDialogRect& units) {
  RECT r = {units.X, units.Y, units.X + units.Width, units.Y + units.Height};
  MapDialogRect(dialog, &r);
  return r;
}

// A push button face as the system draws one, with the caption centred;
// pressed, the caption moves a pixel down and right.
void DrawOwnerDrawnButton(const DRAWITEMSTRUCT& item) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  RECT face = item.rcItem;
  UINT frame = DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u);
  if (item.itemState & ODS_DISABLED) frame |= DFCS_INACTIVE;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, frame);

  std::array<wchar_t, 64> caption{};
  GetWindowTextW(item.hwndItem, caption.data(), static_cast<int>(caption.size()));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  gui::TSelectObject selectFont(item.hDC, font);
  RECT text = item.rcItem;
  if (pressed) OffsetRect(&text, 1, 1);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(item.itemState & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextW(item.hDC, caption.data(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item.hDC, &focus);
  }
}

bool IsClosingCommand(WORD id) { return id == IDOK || id == IDCANCEL || id == idAccept || id == idCancel; }

}  // namespace

TForeignDialog::~TForeignDialog() {
  // WM_DESTROY clears window_ while this body still runs.
  if (window_) DestroyWindow(window_);
}

HWND TForeignDialog::Open(HWND owner) {
  if (window_) return window_;
  const TDialogTemplate dialog = ForeignTemplate();
  const HWND made = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, DialogProc,
                                               reinterpret_cast<LPARAM>(this));
  if (!made) throw rt::Exception(u"No se pudo crear el diálogo ajeno");
  ShowWindow(made, SW_SHOW);
  return made;
}

INT_PTR CALLBACK TForeignDialog::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TForeignDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    try {
      self->Initialize(window);
    } catch (...) {
      gui::HandleCurrentException();
    }
    return TRUE;
  }
  auto* self = reinterpret_cast<TForeignDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      if (!IsClosingCommand(LOWORD(wParam))) return FALSE;
      // Modeless: EndDialog would only hide it.
      DestroyWindow(window);
      return TRUE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID != idOwnerDrawn) return FALSE;
      DrawOwnerDrawnButton(item);
      SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_DESTROY:
      self->window_ = nullptr;
      SetWindowLongPtrW(window, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

void TForeignDialog::Initialize(HWND window) {
  window_ = window;
  CheckDlgButton(window, idCheck, BST_CHECKED);
  CheckDlgButton(window, idThreeState, BST_INDETERMINATE);
  CheckRadioButton(window, idRadioA, idRadioB, idRadioA);
  for (const wchar_t* item : {L"Primero", L"Segundo", L"Tercero", L"Cuarto"})
    SendDlgItemMessageW(window, idCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendDlgItemMessageW(window, idCombo, CB_SETCURSEL, 0, 0);
  CreateComboBoxEx();
  CreateNestedDialog();
}

void TForeignDialog::CreateComboBoxEx() {
  const INITCOMMONCONTROLSEX classes = {sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
  gui::CommonControls().InitCommonControlsEx(&classes);
  const RECT r = PixelsOf(window_, kComboExBounds);
  const HWND combo = CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                     CBS_DROPDOWNLIST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idComboEx)),
                                     GetModuleHandleW(nullptr), nullptr);
  if (!combo) return;
  SendMessageW(combo, WM_SETFONT, SendMessageW(window_, WM_GETFONT, 0, 0), FALSE);
  for (const wchar_t* text : {L"Extendido uno", L"Extendido dos", L"Extendido tres"}) {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void TForeignDialog::CreateNestedDialog() {
  const TDialogTemplate nested = NestedTemplate();
  const HWND child = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), nested.Get(), window_,
                                                NestedDialogProc, 0);
  if (!child) return;
  SetWindowLongPtrW(child, GWLP_ID, idNested);
  const RECT r = PixelsOf(window_, kNestedBounds);
  SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace gallery
