// The framework's message dialog (window class "TMessageForm": an icon by
// kind, the text, any set of buttons with the runtime's stock captions)
// and its input box. Both are task-modal forms; their caption is the
// application's title unless one is given.
#pragma once

#include <initializer_list>
#include <memory>

#include "runtime/gui/form.h"

namespace gui {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// The buttons, in the order in which a dialog shows them.
enum TMsgDlgBtn : unsigned { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll };
using TMsgDlgButtons = unsigned;  // a set of TMsgDlgBtn, one bit each
constexpr TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (auto b : buttons) set |= 1u << b;
  return set;
}

// The modal result of each button.
TModalResult ButtonResult(TMsgDlgBtn button);

// A message dialog ready for ShowModal. The first button is the default
// one; Cancel (else No, else a lone button) answers Escape. Without
// buttons it has OK.
std::unique_ptr<TForm> CreateMessageDialog(const WideString& text, TMsgDlgType type,
                                           TMsgDlgButtons buttons, const WideString& caption = {});
// Shows it and returns the button's result, mrCancel when closed without.
TModalResult MessageDlg(const WideString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        const WideString& caption = {});
// The text with an OK button, no icon.
void ShowMessage(const WideString& text);

// A one-line input box: true for OK with value holding the text entered,
// false for Cancel with value untouched.
bool InputQuery(const WideString& caption, const WideString& prompt, WideString& value);
WideString InputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue);

}  // namespace gui
