// Forms: top-level windows whose window class is the form's class name
// ("TfmMain"). A form knows which of its controls has the focus, moves it
// with Tab, hands Enter and Escape to its buttons and can run modally.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "runtime/gui/win_control.h"

namespace gui {

class TMainMenu;
class TPopupMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint32_t;  // a set of TBorderIcon
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                 poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// What a modal form answers; the button values match the message box ids.
using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = std::function<void(rt::TObject* sender, TCloseAction& action)>;

class TForm : public TWinControl {
 public:
  explicit TForm(rt::TComponent* owner);
  ~TForm() override;
  WideString ClassName() const override { return u"TForm"; }

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  // poDesigned keeps Left and Top as stored; the centring kinds place the
  // form when it is first shown.
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  // The client area's size; setting it sizes the window around it.
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  void SetClientWidth(int32_t value);
  void SetClientHeight(int32_t value);
  RECT ClientRect() const override;
  // Accepted from stored forms; the framework does not rescale.
  int32_t PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int32_t value) { pixelsPerInch_ = value; }
  int32_t TextHeight() const { return textHeight_; }
  void SetTextHeight(int32_t value) { textHeight_ = value; }
  // The window that owns this one (set before the window exists).
  void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }

  void Show();
  void Hide();
  void SetVisible(bool visible) override;
  // Runs OnClose and then, by its answer, hides the form, frees it later
  // or does nothing. Closing the main form ends the application; closing
  // a modal form ends ShowModal with mrCancel.
  void Close();
  // Frees the form once the handler that calls this has returned.
  void Release();

  // Shows the form task-modally: every other window of the thread is
  // disabled until ModalResult is set. Returns ModalResult.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Modal() const { return modal_; }

  // The control that has, or gets when the form is active, the focus.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // The first control of the tab order that can take the focus.
  TWinControl* FindFirstFocusable() const;
  // The next (or previous) focusable control after current, wrapping.
  TWinControl* FindNextControl(TWinControl* current, bool forward) const;
  void SelectNext(TWinControl* current, bool forward);

  // The menu bar. Setting it shows it on the window at once and sends the
  // form CM_MENUCHANGED, as does any change of its items.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Stored forms name the menu; the name is looked up once the form is read.
  rt::WideString MenuName() const;
  void SetMenuName(const rt::WideString& name);
  // Opened at the cursor on WM_CONTEXTMENU.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  void Loaded() override;

  // Every control of the form, windowed or not, depth first.
  std::vector<TControl*> AllControls() const;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  friend class TWinControl;
  // Called by a control of this form whose window received the focus.
  void FocusChanged(TWinControl* control);
  // A control of this form is being destroyed.
  void ForgetControl(TWinControl* control);
  // CM_DIALOGKEY and CM_DIALOGCHAR: Tab here, the rest by the controls.
  bool DialogKey(WPARAM key);
  // WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM and WM_CONTEXTMENU for the
  // form's menus; true when one of them took the message.
  bool MenuMessage(TMessage& message);
  bool Broadcast(UINT msg, WPARAM wParam, LPARAM lParam, bool untilHandled);
  void PlaceForShowing();
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = 1u << biSystemMenu | 1u << biMinimize | 1u << biMaximize;
  TPosition position_ = poDesigned;
  int32_t pixelsPerInch_ = 96;
  int32_t textHeight_ = 13;
  HWND ownerWindow_ = nullptr;
  TMainMenu* menu_ = nullptr;
  rt::WideString menuName_;
  TPopupMenu* popupMenu_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  // The control last told CM_ENTER; it keeps that until another gets the
  // focus inside the form.
  TWinControl* focused_ = nullptr;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
  bool shownOnce_ = false;
};

}  // namespace gui
