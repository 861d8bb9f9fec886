#include "tools/qzip/entry_check.h"

#include <algorithm>

#include "runtime/streams.h"
#include "zip/crc32.h"
#include "zip/dir_manager.h"

namespace qzip {

namespace {

// Keeps the CRC and the length of what is written to it, and nothing else.
class CrcStream : public rt::TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* data, int64_t count) override {
    if (count <= 0) return 0;
    crc_ = zip::UpdateCrc32(crc_, data, static_cast<size_t>(count));
    position_ += count;
    size_ = std::max(size_, position_);
    return count;
  }
  int64_t Seek(int64_t offset, rt::SeekOrigin origin) override {
    const int64_t base = origin == rt::SeekOrigin::soBeginning ? 0
                         : origin == rt::SeekOrigin::soCurrent ? position_
                                                               : size_;
    position_ = std::max<int64_t>(base + offset, 0);
    return position_;
  }
  void SetSize(int64_t size) override { size_ = std::max<int64_t>(size, 0); }
  uint32_t Crc() const { return crc_; }
  uint64_t Length() const { return static_cast<uint64_t>(size_); }

 private:
  uint32_t crc_ = 0;
  int64_t position_ = 0;
  int64_t size_ = 0;
};

}  // namespace

std::optional<EntryProblem> CheckEntry(zip::TZipArchiver& archiver, int index) {
  const zip::TDirItem item = archiver.DirManager()->Items().Item(index);
  if (auto unsupported = UnsupportedEntry(item)) return unsupported;
  CrcStream sink;
  try {
    archiver.DecodeEntry(index, sink);
    return std::nullopt;
  } catch (const std::exception& e) {
    if (sink.Crc() != item.Crc32 || sink.Length() != item.TrueUncompressedSize())
      return BadData(item, sink.Crc(), sink.Length());
    // rt::Exception's what() is its message as UTF-8.
    return EntryProblem{2, "damaged entry: " + EngineText(e.what())};
  }
}

}  // namespace qzip
