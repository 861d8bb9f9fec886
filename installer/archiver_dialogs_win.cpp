#include "installer/archiver_dialogs_win.h"

#include "runtime/gui/dialogs.h"

namespace installer {

using namespace gui;

namespace {

TMsgDlgType DialogType(zip::TZipMsgDlgType type) {
  switch (type) {
    case zip::mtWarning: return mtWarning;
    case zip::mtError: return mtError;
    case zip::mtInformation: return mtInformation;
    case zip::mtConfirmation: return mtConfirmation;
  }
  return mtConfirmation;
}

constexpr struct {
  zip::TZipMsgDlgBtn engine;
  TMsgDlgBtn dialog;
} kButtons[] = {
    {zip::mbYes, mbYes},       {zip::mbNo, mbNo},         {zip::mbOK, mbOK},
    {zip::mbCancel, mbCancel}, {zip::mbAbort, mbAbort},   {zip::mbRetry, mbRetry},
    {zip::mbIgnore, mbIgnore}, {zip::mbAll, mbAll},       {zip::mbNoToAll, mbNoToAll},
    {zip::mbYesToAll, mbYesToAll},
};

zip::TZipModalResult EngineResult(TModalResult result) {
  switch (result) {
    case mrOk: return zip::mrOk;
    case mrAbort: return zip::mrAbort;
    case mrRetry: return zip::mrRetry;
    case mrIgnore: return zip::mrIgnore;
    case mrYes: return zip::mrYes;
    case mrNo: return zip::mrNo;
    case mrAll: return zip::mrAll;
    case mrNoToAll: return zip::mrNoToAll;
    case mrYesToAll: return zip::mrYesToAll;
    default: return zip::mrCancel;
  }
}

}  // namespace

zip::TZipModalResult TArchiverDialogs::MessageDialog(const zip::WideString& text,
                                                     zip::TZipMsgDlgType type,
                                                     zip::TZipMsgDlgButtons buttons) {
  if (silent_) return zip::mrCancel;
  TMsgDlgButtons shown = 0;
  for (const auto& b : kButtons)
    if (zip::HasButton(buttons, b.engine)) shown |= 1u << b.dialog;
  return EngineResult(MessageDlg(text, DialogType(type), shown));
}

bool TArchiverDialogs::InputQuery(const zip::WideString& caption, const zip::WideString& prompt,
                                  zip::WideString& value) {
  return !silent_ && gui::InputQuery(caption, prompt, value);
}

}  // namespace installer
