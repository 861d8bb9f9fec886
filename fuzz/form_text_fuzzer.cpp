// Parses arbitrary bytes as a form description. A description that does
// not parse must be refused with EFormTextError; one that parses must make
// a tree that the resource writer accepts and that reads back equal.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/form_resource.h"
#include "runtime/form_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // File references read as three fixed bytes: the fuzzer has no files.
  const rt::FormFileLoader loader = [](const std::string&) { return std::vector<uint8_t>{1, 2, 3}; };
  rt::TFormObject form;
  try {
    form = rt::ParseFormText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", loader);
  } catch (const rt::EFormTextError&) {
    return 0;
  }
  std::vector<uint8_t> bytes;
  try {
    bytes = rt::WriteFormResource(form);
  } catch (const rt::EFormResourceError&) {
    // More properties, children or members than a resource holds: the
    // text has no limit of its own on counts.
    return 0;
  }
  if (!(rt::ReadFormResource(bytes) == form)) __builtin_trap();
  return 0;
}
