// The archive engine's dialogs (confirmations, failure boxes, the password
// input box) shown with the framework's message dialog and input box, so
// that they look like the rest of the installer and are skinned with it.
// Installed as the engine's dialog provider for the object's lifetime. A
// silent run shows nothing: every question is answered Cancel at once.
#pragma once

#include "zip/zip_dialogs.h"

namespace installer {

class TArchiverDialogs : public zip::TZipDialogProvider {
 public:
  explicit TArchiverDialogs(bool silent = false) : silent_(silent), previous_(zip::SetDialogProvider(this)) {}
  ~TArchiverDialogs() override { zip::SetDialogProvider(previous_); }
  TArchiverDialogs(const TArchiverDialogs&) = delete;
  TArchiverDialogs& operator=(const TArchiverDialogs&) = delete;

  zip::TZipModalResult MessageDialog(const zip::WideString& text, zip::TZipMsgDlgType type,
                                     zip::TZipMsgDlgButtons buttons) override;
  bool InputQuery(const zip::WideString& caption, const zip::WideString& prompt,
                  zip::WideString& value) override;

 private:
  bool silent_;
  zip::TZipDialogProvider* previous_;
};

}  // namespace installer
