// Without a window system the archiver asks its questions on the terminal:
// the text and the numbered buttons go to stderr, the answer comes from
// stdin. When input has ended, the most cautious button is the answer.
#include <iostream>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "zip/zip_dialogs.h"

namespace zip {

namespace {

// A caption as shown on a terminal: without its "&" accelerator mark.
WideString PlainCaption(TZipMsgDlgBtn button) {
  WideString caption;
  for (char16_t c : WideStringView(ButtonCaption(button)))
    if (c != u'&') caption.push_back(c);
  return caption;
}

std::string Utf8(WideStringView text) { return rt::WideToUtf8(text); }

bool ReadAnswer(WideString& line) {
  std::string input;
  if (!std::getline(std::cin, input)) return false;
  if (!input.empty() && input.back() == '\r') input.pop_back();
  line = rt::Utf8ToWide(input);
  return true;
}

TZipMsgDlgBtn MostCautious(const std::vector<TZipMsgDlgBtn>& offered) {
  for (TZipMsgDlgBtn preferred : {mbCancel, mbAbort, mbNoToAll, mbNo})
    for (TZipMsgDlgBtn b : offered)
      if (b == preferred) return b;
  return offered.back();
}

// The offered button that the answer names: its number or its caption.
bool ButtonOfAnswer(const WideString& answer, const std::vector<TZipMsgDlgBtn>& offered,
                    TZipMsgDlgBtn& chosen) {
  const std::string digits = Utf8(answer);
  if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos &&
      digits.size() < 4) {
    const size_t n = std::stoul(digits);
    if (n < 1 || n > offered.size()) return false;
    chosen = offered[n - 1];
    return true;
  }
  const WideString wanted = rt::LowerText(answer);
  for (TZipMsgDlgBtn b : offered)
    if (rt::LowerText(PlainCaption(b)) == wanted) {
      chosen = b;
      return true;
    }
  return false;
}

class TerminalDialogs : public TZipDialogProvider {
 public:
  TZipModalResult MessageDialog(const WideString& text, TZipMsgDlgType type,
                                TZipMsgDlgButtons buttons) override {
    const std::vector<TZipMsgDlgBtn> offered = OfferedButtons(buttons);
    std::cerr << Utf8(DialogTitle(type)) << ": " << Utf8(text) << '\n';
    for (size_t i = 0; i < offered.size(); ++i)
      std::cerr << "  " << i + 1 << ") " << Utf8(PlainCaption(offered[i])) << '\n';
    for (;;) {
      std::cerr << "? " << std::flush;
      WideString answer;
      if (!ReadAnswer(answer)) {
        std::cerr << '\n';
        return ModalResultOf(MostCautious(offered));
      }
      TZipMsgDlgBtn chosen;
      if (ButtonOfAnswer(answer, offered, chosen)) return ModalResultOf(chosen);
      std::cerr << "Answer with a number from 1 to " << offered.size() << ".\n";
    }
  }

  bool InputQuery(const WideString& caption, const WideString& prompt,
                  WideString& value) override {
    std::cerr << Utf8(caption) << '\n' << Utf8(prompt) << std::flush;
    WideString answer;
    if (!ReadAnswer(answer)) {
      std::cerr << '\n';
      return false;
    }
    value = answer;
    return true;
  }
};

}  // namespace

TZipDialogProvider& PlatformDialogs() {
  static TerminalDialogs dialogs;
  return dialogs;
}

}  // namespace zip
