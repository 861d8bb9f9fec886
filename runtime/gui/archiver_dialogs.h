// The archive engine's default dialogs (confirmations, failure boxes, the
// password input box) shown with the framework's message dialog and input
// box. The application installs it as the engine's dialog provider.
#pragma once

#include "zip/zip_dialogs.h"

namespace gui {

class TArchiverDialogs : public zip::TZipDialogProvider {
 public:
  zip::TZipModalResult MessageDialog(const zip::WideString& text, zip::TZipMsgDlgType type,
                                     zip::TZipMsgDlgButtons buttons) override;
  bool InputQuery(const zip::WideString& caption, const zip::WideString& prompt,
                  zip::WideString& value) override;
};

}  // namespace gui
