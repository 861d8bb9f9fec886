// Reads arbitrary bytes as a form resource. A malformed resource must be
// refused with EFormResourceError; anything else escaping is a finding.
// A resource that reads must write back to the very same bytes, since
// every tree has exactly one encoding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/form_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<rt::TFormObject> form;
  try {
    form = rt::ReadFormResource({data, size});
  } catch (const rt::EFormResourceError&) {
    return 0;
  }
  const std::vector<uint8_t> written = rt::WriteFormResource(*form);
  if (written.size() != size || !std::equal(written.begin(), written.end(), data)) __builtin_trap();
  return 0;
}
