// The dialogs the archiver shows when an event has no handler: a message
// dialog with a set of buttons and a one-line input box.
//
// The engine knows no GUI toolkit. It asks whichever provider is installed;
// without one it uses the platform's: real task-modal dialogs on Windows, a
// question on the terminal elsewhere. A GUI framework (or a test) installs
// its own provider with SetDialogProvider.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "runtime/strings.h"

namespace zip {

using rt::WideString;
using rt::WideStringView;

enum TZipMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// The buttons, in the order in which a dialog shows them.
enum TZipMsgDlgBtn : unsigned {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll
};
using TZipMsgDlgButtons = unsigned;  // a set of TZipMsgDlgBtn, one bit each
constexpr TZipMsgDlgButtons ButtonSet(std::initializer_list<TZipMsgDlgBtn> buttons) {
  TZipMsgDlgButtons set = 0;
  for (auto b : buttons) set |= 1u << b;
  return set;
}
constexpr bool HasButton(TZipMsgDlgButtons set, TZipMsgDlgBtn button) {
  return (set >> button) & 1u;
}

// What a dialog answers: the button pressed, mrCancel when it was closed
// without one.
enum TZipModalResult {
  mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll
};
constexpr TZipModalResult ModalResultOf(TZipMsgDlgBtn button) {
  constexpr TZipModalResult kResults[] = {mrYes,   mrNo,     mrOk,  mrCancel,  mrAbort,
                                          mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll};
  return kResults[button];
}

class TZipDialogProvider {
 public:
  virtual ~TZipDialogProvider() = default;
  virtual TZipModalResult MessageDialog(const WideString& text, TZipMsgDlgType type,
                                        TZipMsgDlgButtons buttons) = 0;
  // True for OK, with value holding the text entered; false for Cancel,
  // with value untouched.
  virtual bool InputQuery(const WideString& caption, const WideString& prompt,
                          WideString& value) = 0;
};

// The platform's own dialogs.
TZipDialogProvider& PlatformDialogs();

// What the platform's dialogs show: a button's caption (with its "&"
// accelerator mark), a message dialog's title, and the buttons of a set in
// their order, OK alone for an empty set.
const char16_t* ButtonCaption(TZipMsgDlgBtn button);
const char16_t* DialogTitle(TZipMsgDlgType type);
std::vector<TZipMsgDlgBtn> OfferedButtons(TZipMsgDlgButtons buttons);

namespace detail {
inline TZipDialogProvider* gInstalledDialogs = nullptr;
}

// Installs provider (nullptr: the platform's again) and returns the one it
// replaces (nullptr for the platform's).
inline TZipDialogProvider* SetDialogProvider(TZipDialogProvider* provider) {
  return std::exchange(detail::gInstalledDialogs, provider);
}

// The provider the archiver asks.
inline TZipDialogProvider& Dialogs() {
  return detail::gInstalledDialogs ? *detail::gInstalledDialogs : PlatformDialogs();
}

}  // namespace zip
