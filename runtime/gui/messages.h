// The framework's messages: what a control's WindowProc receives besides
// the window messages, and the numbers of the framework's notifications.
// The numbers are fixed here once; they lie in the application range
// (WM_APP 0x8000 .. 0xBFFF), clear of the skin engine's 0x34xx and 0x35xx.
#pragma once

#include <windows.h>

#include <functional>

namespace gui {

// One message on its way through a control. Handlers set Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A control's message handler; whoever replaces a control's WindowProc
// keeps the previous one, calls it for what it does not handle itself and
// puts it back when it lets go.
using TWndMethod = std::function<void(TMessage&)>;

// Framework notifications, sent to a control through its WindowProc.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;  // Enabled changed
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2;  // Visible changed
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 3;    // Color changed
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 4;     // Font changed
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 5;     // Caption / Text changed
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 7;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 8;  // the mouse came over the control
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 9;  // the mouse left it
inline constexpr UINT CM_ENTER = CM_BASE + 10;      // the control received the focus
inline constexpr UINT CM_EXIT = CM_BASE + 11;       // the control lost the focus
// Sent to every control of a form when the focus moved; LParam is the
// newly focused TWinControl* (0 for none).
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 12;
// A dialog key (Tab, Enter, Escape) pressed in a form: WParam is the
// virtual key. Result 1 when a control acted on it.
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 13;
// Alt + character in a form: WParam is the character; a control whose
// accelerator it is acts and answers 1.
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 14;
// The form's menu changed.
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 15;
// Posted to a form that is to free itself once its handlers have returned.
inline constexpr UINT CM_RELEASE = CM_BASE + 16;
// A check box or radio button changed its state (by a click or by code);
// painters repaint on it.
inline constexpr UINT CM_CHECKSTATECHANGED = 0xB0D0;

// Notifications reflected from the parent window to the control they are
// about: WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* ... arrive at the
// child as CN_BASE + the message, with the parent's parameters.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

constexpr bool IsReflected(UINT msg) { return msg > CN_BASE && msg <= CN_BASE + 0x3FF; }

}  // namespace gui
