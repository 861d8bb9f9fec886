#include "zip/zip_dialogs.h"

#include "runtime/stock_texts.h"

namespace zip {

namespace {

constexpr const char16_t* kButtonCaptions[] = {
    rt::kSMsgDlgYes,   rt::kSMsgDlgNo,     rt::kSMsgDlgOK,  rt::kSMsgDlgCancel,
    rt::kSMsgDlgAbort, rt::kSMsgDlgRetry,  rt::kSMsgDlgIgnore, rt::kSMsgDlgAll,
    rt::kSMsgDlgNoToAll, rt::kSMsgDlgYesToAll,
};
constexpr const char16_t* kTitles[] = {
    rt::kSMsgDlgWarning, rt::kSMsgDlgError, rt::kSMsgDlgInformation, rt::kSMsgDlgConfirm,
};

}  // namespace

const char16_t* ButtonCaption(TZipMsgDlgBtn button) { return kButtonCaptions[button]; }

const char16_t* DialogTitle(TZipMsgDlgType type) { return kTitles[type]; }

std::vector<TZipMsgDlgBtn> OfferedButtons(TZipMsgDlgButtons buttons) {
  std::vector<TZipMsgDlgBtn> offered;
  for (unsigned b = mbYes; b <= mbYesToAll; ++b)
    if (HasButton(buttons, static_cast<TZipMsgDlgBtn>(b))) offered.push_back(static_cast<TZipMsgDlgBtn>(b));
  if (offered.empty()) offered.push_back(mbOK);
  return offered;
}

}  // namespace zip
