#include "zip/read_spans.h"

#include <algorithm>
#include <iterator>

namespace zip {

namespace {

bool IsMarked(const std::vector<bool>& marks, int index) {
  return index >= 0 && static_cast<size_t>(index) < marks.size() && marks[index];
}

void Mark(std::vector<bool>& marks, int index) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= marks.size()) marks.resize(index + size_t{1});
  marks[index] = true;
}

}  // namespace

void TZipReadSpans::Clear() {
  spans_.clear();
  recorded_.clear();
  refused_.clear();
}

bool TZipReadSpans::Recorded(int index) const { return IsMarked(recorded_, index); }

void TZipReadSpans::Refuse(int index) { Mark(refused_, index); }

bool TZipReadSpans::Refused(int index) const { return IsMarked(refused_, index); }

bool TZipReadSpans::Overlaps(int32_t volume, uint64_t start, uint64_t end) const {
  if (start >= end) return false;
  // The spans are disjoint, so only the last one starting at or before
  // start and the first one starting after it can reach [start, end).
  const auto after = spans_.upper_bound({volume, start});
  if (after != spans_.begin()) {
    const auto before = std::prev(after);
    if (before->first.first == volume && before->second > start) return true;
  }
  return after != spans_.end() && after->first.first == volume && after->first.second < end;
}

void TZipReadSpans::Record(int index, int32_t volume, uint64_t start, uint64_t end) {
  Mark(recorded_, index);
  if (start >= end) return;
  auto at = spans_.lower_bound({volume, start});
  if (at != spans_.begin()) {
    const auto before = std::prev(at);
    if (before->first.first == volume && before->second >= start) {
      start = before->first.second;
      end = std::max(end, before->second);
      spans_.erase(before);
    }
  }
  while (at != spans_.end() && at->first.first == volume && at->first.second <= end) {
    end = std::max(end, at->second);
    at = spans_.erase(at);
  }
  spans_.emplace_hint(at, std::make_pair(volume, start), end);
}

}  // namespace zip
