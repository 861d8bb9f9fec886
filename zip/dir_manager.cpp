#include "zip/dir_manager.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/stock_texts.h"
#include "zip/directory_reader.h"
#include "zip/file_layer.h"
#include "zip/wide_file_stream.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace zip {

TZipDirManager::TZipDirManager(rt::TStream* stream, TZipBaseArchiver* archiver, bool createNew)
    : stream_(stream),
      archiver_(archiver),
      createNew_(createNew),
      isCustomStream_(stream != archiver->ArchiveStream()) {
  ResetDirectory();
  if (!createNew) return;
  archiver->VolumeInfo().SetFirstVolume();
  if (archiver->SFXStub().empty()) return;
  TWideFileStream stub(archiver->SFXStub(), kFmOpenRead | kFmShareDenyNone);
  const int64_t stubLength = stub.Size();
  if (MultiVolume()) {
    const int64_t limit = archiver->SpanningOptions().VolumeSizeLimit(0);
    if (limit >= 0 && limit < stubLength) throw EZipException(neStubLargerThanVolume, archiver);
  }
  stream_->SetSize(0);
  stream_->CopyFrom(stub, 0);
  stubSize_ = stubLength;
}

void TZipDirManager::ResetDirectory() {
  items_.SetCount(0);
  endRecord_ = TEndRecord();
}

bool TZipDirManager::MultiVolume() const { return archiver_->SpanningMode() != smNone; }
bool TZipDirManager::OemNames() const { return archiver_->Options().OEMFileNames(); }

bool TZipDirManager::IsArchiveValid(bool probing) {
  archiveComment_.clear();
  auto found = FindEndRecord(*stream_);
  if (found) {
    endRecord_ = found->Record;
    archiveComment_ = found->Comment;
  } else {
    endRecord_ = TEndRecord();
    endRecord_.Signature = 0;
  }
  return probing ? found.has_value() : true;
}

void TZipDirManager::Recover() {
  rebuilt_ = true;
  RecoverDirectory(*stream_, items_, OemNames(), MultiVolume(), archiver_);
  centralDirOffset_ = stream_->Size();
}

void TZipDirManager::LoadDirectory() {
  ResetDirectory();
  stubSize_ = 0;
  rebuilt_ = false;
  isZip64_ = false;
  archiveComment_.clear();

  auto found = FindEndRecord(*stream_);
  if (!found) {
    Recover();
    return;
  }
  endRecord_ = found->Record;
  archiveComment_ = found->Comment;
  int64_t p = found->Position;

  if (p > static_cast<int64_t>(TZip64Locator::kSize)) {
    uint8_t raw[TZip64Locator::kSize];
    stream_->SetPosition(p - TZip64Locator::kSize);
    stream_->ReadBuffer(raw, sizeof raw);
    zip64Locator_ = TZip64Locator::Read(raw);
    if (zip64Locator_.Signature == TZip64Locator::kSignature) {
      isZip64_ = true;
      p -= TZip64Locator::kSize;
    }
  }
  if (isZip64_) {
    // The record normally sits right before the locator; an archive moved
    // behind a host keeps a stale stored offset, so that place is tried too.
    auto readRecord = [&](uint64_t at) {
      const int64_t size = stream_->Size();
      if (size < static_cast<int64_t>(TZip64EndRecord::kSize) ||
          at > static_cast<uint64_t>(size) - TZip64EndRecord::kSize)
        return false;
      uint8_t raw[TZip64EndRecord::kSize];
      stream_->SetPosition(static_cast<int64_t>(at));
      if (stream_->Read(raw, sizeof raw) != static_cast<int64_t>(sizeof raw)) return false;
      zip64EndRecord_ = TZip64EndRecord::Read(raw);
      return zip64EndRecord_.Signature == TZip64EndRecord::kSignature;
    };
    const bool recordFound = p > static_cast<int64_t>(TZip64EndRecord::kSize) &&
                       (readRecord(zip64Locator_.EndRecordOffset) ||
                        readRecord(static_cast<uint64_t>(p - TZip64EndRecord::kSize)));
    if (recordFound) {
      p -= TZip64EndRecord::kSize;
    } else if (NeedsZip64(endRecord_)) {
      throw EZipException(neNoZip64EndRecord, archiver_);
    } else {
      // The end record holds every value itself: the locator's signature
      // is just bytes of the last name or comment that happen to match.
      isZip64_ = false;
      p += TZip64Locator::kSize;
      zip64Locator_ = TZip64Locator();
    }
  }
  if (!isZip64_ && endRecord_.TotalEntries == 0xFFFF) {
    Recover();
    return;
  }

  const uint32_t startDisk = endRecord_.StartDisk != 0xFFFF ? endRecord_.StartDisk
                             : isZip64_                     ? zip64EndRecord_.StartDisk
                                                            : 0;
  const uint32_t lastDisk = endRecord_.DiskNumber != 0xFFFF ? endRecord_.DiskNumber
                            : isZip64_                      ? zip64Locator_.TotalDisks - 1
                                                            : 0;
  const uint64_t count = isZip64_ ? zip64EndRecord_.TotalEntries : endRecord_.TotalEntries;
  int64_t start;
  if (MultiVolume()) {
    start = static_cast<int64_t>(isZip64_ ? zip64EndRecord_.DirectoryOffset : endRecord_.DirectoryOffset);
  } else if (!isZip64_) {
    start = p - static_cast<int32_t>(endRecord_.DirectorySize);
  } else {
    // A 64-bit size larger than the offset of the records after the
    // directory is damage: there is no directory start before them.
    const uint64_t size = zip64EndRecord_.DirectorySize;
    start = size <= static_cast<uint64_t>(p) ? p - static_cast<int64_t>(size) : -1;
  }

  try {
    ReadDirectory(start, count, startDisk, lastDisk);
  } catch (const std::exception&) {
    // A directory that cannot be read whole is rebuilt from local headers.
    Recover();
    return;
  }
  if (lastDisk == 0) stubSize_ = DetectStubSize(*stream_, items_, p, endRecord_.TotalEntries);
  ApplyStubOffset(items_, stubSize_);
}

void TZipDirManager::ReadDirectory(int64_t start, uint64_t count, uint32_t startDisk,
                                   uint32_t lastDisk) {
  if (MultiVolume() && !isCustomStream_) {
    TZipVolumeNumberInfo info;
    info.LastVolumeNumber = static_cast<int32_t>(lastDisk);
    info.SetVolumeNumber(static_cast<int32_t>(startDisk));
    archiver_->OpenVolume(info);
    stream_ = archiver_->ArchiveStream();
  }
  TDirectoryReader reader(stream_);
  if (start < 0 || start > reader.Remaining()) throw rt::EReadError(rt::kSReadError);
  reader.Reset(stream_, start);
  // Every entry takes at least its fixed header: a count the stream cannot
  // hold is damage, not a reason to reserve memory for it.
  if (!MultiVolume() && count > static_cast<uint64_t>(reader.Remaining()) / TCentralHeader::kSize)
    throw rt::EReadError(rt::kSReadError);
  if (count > static_cast<uint64_t>(INT32_MAX)) throw rt::EReadError(rt::kSReadError);
  items_.SetCount(static_cast<int>(count));
  for (int i = 0; i < static_cast<int>(count); ++i) {
    if (reader.Remaining() < static_cast<int64_t>(TCentralHeader::kSize) && MultiVolume() &&
        !isCustomStream_) {
      TZipVolumeNumberInfo info = archiver_->VolumeInfo();
      info.SetVolumeNumber(info.VolumeNumber + 1);
      archiver_->OpenVolume(info);
      stream_ = archiver_->ArchiveStream();
      reader.Reset(stream_, 0);
    }
    if (i == 0) centralDirOffset_ = reader.Position();
    ReadEntry(i, reader);
  }
}

void TZipDirManager::ReadEntry(int index, TDirectoryReader& reader) {
  uint8_t fixed[TCentralHeader::kSize];
  reader.Read(fixed, sizeof fixed);
  TDirItem& item = items_.ItemPtr(index);
  static_cast<TCentralHeader&>(item) = TCentralHeader::Read(fixed);

  std::vector<uint8_t>& name = nameBuffer_;
  name.resize(item.NameLength);
  reader.Read(name.data(), name.size());
  const auto* text = reinterpret_cast<const char*>(name.data());
  // Names flagged as UTF-8 are what current tools write for anything
  // outside ASCII; reading them as OEM text would garble them.
  const WideString headerName =
      (item.Flags & kFlagUtf8)
          ? rt::Utf8ToWide(std::string_view(text, std::find(text, text + name.size(), '\0') - text))
          : DecodeEntryName(name.data(), name.size(), OemNames());
  items_.Rename(index, headerName);

  std::vector<uint8_t>& extra = extraBuffer_;
  extra.resize(item.ExtraLength);
  reader.Read(extra.data(), extra.size());
  const TExtraNames names =
      ParseExtraField(extra.data(), extra.size(), name.data(), name.size(), items_.ItemPtr(index));
  if (names.UnicodeName)
    items_.Rename(index, *names.UnicodeName);
  else if (names.UnicodePath)
    items_.Rename(index, *names.UnicodePath);

  TDirItem& entry = items_.ItemPtr(index);
  entry.Comment.resize(entry.CommentLength);
  reader.Read(reinterpret_cast<uint8_t*>(entry.Comment.data()), entry.Comment.size());
}

void TZipDirManager::SaveDirectory() {
  std::vector<uint8_t> record;
  TEndRecord().Write(record);
  stream_->SetPosition(stream_->Size());
  stream_->WriteBuffer(record.data(), static_cast<int64_t>(record.size()));
}

}  // namespace zip
