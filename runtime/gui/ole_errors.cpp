#include "runtime/gui/ole_errors.h"

#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/wide_text_win.h"

namespace gui {
namespace {

rt::WideString SystemText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  rt::WideString text;
  if (length && buffer) text.assign(rt::AsChar16(buffer), length);
  LocalFree(buffer);
  // System texts end with a line break and often a full stop.
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                           text.back() == u'.'))
    text.pop_back();
  return text;
}

rt::WideString OleErrorMessage(HRESULT code) {
  rt::WideString text = SystemText(code);
  if (!text.empty()) return text;
  return rt::Format(rt::kSOleError, {static_cast<unsigned>(code)});
}

}  // namespace

EOleSysError::EOleSysError(HRESULT code) : rt::Exception(OleErrorMessage(code)), code_(code) {}

EIntfCastError::EIntfCastError() : rt::Exception(rt::kSIntfNotSupported) {}

HRESULT OleCheck(HRESULT result) {
  if (FAILED(result)) throw EOleSysError(result);
  return result;
}

}  // namespace gui
