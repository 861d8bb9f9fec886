#include "zip/zip_archiver.h"

#include <algorithm>
#include <memory>

#include "zip/dir_manager.h"
#include "zip/entry_decoder.h"
#include "zip/whole_deflate.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

// The volume that holds the entry's local header, in the numbering of
// the end records.
TZipVolumeNumberInfo VolumeOf(const TDirItem& item, const TZipDirManager& manager) {
  uint32_t disk = item.DiskNumberStart;
  if (disk == 0xFFFF) disk = manager.IsZip64() ? item.Zip64DiskNumberStart : 0;
  const TEndRecord& end = manager.EndRecord();
  const uint32_t last = end.DiskNumber != 0xFFFF ? end.DiskNumber
                        : manager.IsZip64()      ? manager.Zip64Locator().TotalDisks - 1
                                                 : 0;
  TZipVolumeNumberInfo info;
  info.LastVolumeNumber = static_cast<int32_t>(last);
  info.SetVolumeNumber(static_cast<int32_t>(disk));
  return info;
}

}  // namespace

void TZipBaseArchiver::ReserveDecodeBuffers() {
  decodeMemoryCeiling_ = DecodeMemoryCeiling();
  if (!dirManager_) return;
  uint64_t input = 0;
  uint64_t output = 0;
  const TZipDirArray& items = dirManager_->Items();
  for (int i = 0; i < items.Count(); ++i) {
    const TDirItem& item = items.Item(i);
    if (!item.Selected || !IsWholeEntryCandidate(item, *this)) continue;
    input = std::max(input, item.TrueCompressedSize());
    output = std::max(output, item.TrueUncompressedSize());
  }
  decodeInput_.Reserve(static_cast<size_t>(input));
  decodeOutput_.Reserve(static_cast<size_t>(output));
}

void TZipBaseArchiver::ReleaseDecodeBuffers() {
  decodeMemoryCeiling_.reset();
  decodeInput_ = TDecodeBuffer();
  decodeOutput_ = TDecodeBuffer();
}

TWholeDeflateDecoder& TZipBaseArchiver::WholeDecoder() {
  if (!wholeDecoder_) wholeDecoder_ = std::make_unique<TWholeDeflateDecoder>();
  return *wholeDecoder_;
}

void TZipBaseArchiver::DecodeEntry(int index, rt::TStream& output) {
  if (!dirManager_ || index < 0 || index >= dirManager_->Items().Count())
    throw EZipException(neDecodeIndex, this);
  // A copy: event handlers run while the entry is decoded.
  const TDirItem item = dirManager_->Items().GetItem(index);
  OpenVolume(VolumeOf(item, *dirManager_));
  // An offset past the signed range fails the seek with the stream's error.
  archiveStream_->SetPosition(static_cast<int64_t>(item.TrueLocalHeaderOffset()));
  const bool ok = DecodeEntryData(*this, index, item, output);
  if (!ok && !cancelled_ && !extractCorruptedFiles_ && !skipCurrent_)
    throw EZipException(neEntryData, this);
}

}  // namespace zip
