// The bytes of an archive that decoded entries have read: each entry's
// local header and compressed data, per volume. An entry whose data lies
// in bytes that another entry already took has no data of its own; it
// shares it, which is how a few kilobytes of overlapping entries declare
// gigabytes of output.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace zip {

class TZipReadSpans {
 public:
  void Clear();
  // True when entry index has been recorded since the last Clear.
  bool Recorded(int index) const;
  // True when bytes [start, end) of the volume share at least one byte
  // with a recorded span.
  bool Overlaps(int32_t volume, uint64_t start, uint64_t end) const;
  // Records that entry index read bytes [start, end) of the volume.
  void Record(int index, int32_t volume, uint64_t start, uint64_t end);
  // Notes that entry index was refused for overlapping recorded bytes, and
  // asks whether it was since the last Clear.
  void Refuse(int index);
  bool Refused(int index) const;

 private:
  // (volume, start) -> end; disjoint, touching spans merged.
  std::map<std::pair<int32_t, uint64_t>, uint64_t> spans_;
  std::vector<bool> recorded_;
  std::vector<bool> refused_;
};

}  // namespace zip
