#include "tools/mkinstaller/stub_check.h"

#include "tools/mkinstaller/windows_names.h"

namespace mkinstaller {

namespace {

constexpr size_t kDosHeaderSize = 64;
constexpr size_t kPeOffsetField = 0x3C;

}  // namespace

void CheckStub(std::span<const uint8_t> stub, const std::string& typed) {
  if (stub.empty()) throw PayloadError(typed + ": the stub is empty");
  if (stub.size() < kDosHeaderSize || stub[0] != 'M' || stub[1] != 'Z')
    throw PayloadError(typed + ": the stub is not a Windows program (no MZ header)");
  const uint32_t pe = stub[kPeOffsetField] | stub[kPeOffsetField + 1] << 8 | stub[kPeOffsetField + 2] << 16 |
                      static_cast<uint32_t>(stub[kPeOffsetField + 3]) << 24;
  if (pe > stub.size() - 4 || stub[pe] != 'P' || stub[pe + 1] != 'E' || stub[pe + 2] != 0 || stub[pe + 3] != 0)
    throw PayloadError(typed + ": the stub is not a Windows program (no PE signature)");
}

}  // namespace mkinstaller
