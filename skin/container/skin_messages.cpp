#include "skin/container/skin_messages.h"

#include <cstdio>
#include <string>

namespace skin {

namespace {

void WriteToStandardError(const rt::WideString& message) {
  std::string text = rt::WideToUtf8(message);
  // A message box breaks lines at a lone carriage return; a terminal does not.
  for (char& c : text)
    if (c == '\r') c = '\n';
  std::fprintf(stderr, "%s\n", text.c_str());
}

TSkinMessageSink currentSink = &WriteToStandardError;

}  // namespace

TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink) {
  const TSkinMessageSink previous = currentSink;
  currentSink = sink ? sink : &WriteToStandardError;
  return previous;
}

void ShowSkinMessage(const rt::WideString& message) { currentSink(message); }

}  // namespace skin
