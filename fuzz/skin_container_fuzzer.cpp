// Opens arbitrary bytes as a skin file and looks entries up. Open may
// refuse; when it accepts, every lookup must stay within the data. The
// unpacked size is held to 1 MiB and to 4 bytes per input byte, so that
// a run stays quick (unpacking costs about a microsecond per byte under the
// sanitizers): a larger size from a short input is mostly its missing
// bytes unpacked as zero bits, the LZHUF target's ground.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/streams.h"
#include "skin/container/skin_messages.h"
#include "skin/container/skin_reader.h"

namespace {

void Quiet(const rt::WideString&) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skin::SetSkinMessageSink(&Quiet);
  rt::TMemoryStream file(std::vector<uint8_t>(data, data + size));
  skin::TSkinReader reader(static_cast<uint32_t>(std::min<size_t>(size_t{1} << 20, 4 * size + 64)));
  if (!reader.Open(file)) return 0;
  if (reader.Count() > skin::kMaxSkinEntries || reader.Sizes().size() != reader.Count()) std::abort();
  rt::TMemoryStream entry;
  std::string found;
  const auto& names = reader.Names();
  if (reader.ExtractEntryContaining(".ini", entry, found) && found.find(".ini") == std::string::npos)
    std::abort();
  for (size_t i = 0; i < names.size() && i < 64; ++i) {
    reader.ExtractEntry(names[i], entry);
    // Equal names give the first entry of that name.
    const size_t first = static_cast<size_t>(std::find(names.begin(), names.end(), names[i]) - names.begin());
    if (entry.Size() > reader.Sizes()[first] || entry.Position() != 0) std::abort();
  }
  reader.ExtractEntry("missing.bmp", entry);
  return 0;
}
