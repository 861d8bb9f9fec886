// The directory manager of an open archive: reads the central directory
// from the archive stream into memory, wherever the archive sits inside
// the stream, and rebuilds it from local headers when it cannot be read.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/streams.h"
#include "zip/archive_format.h"
#include "zip/dir_array.h"

namespace zip {

class TDirectoryReader;
class TZipBaseArchiver;

class TZipDirManager {
 public:
  // stream is the archive's stream, archiver the owning archiver (neither
  // owned). createNew starts a new archive.
  TZipDirManager(rt::TStream* stream, TZipBaseArchiver* archiver, bool createNew);
  virtual ~TZipDirManager() = default;

  void ResetDirectory();
  // Whether an end record exists. Only while an open probes the stream is
  // the answer real; at any other time it is true.
  bool IsArchiveValid(bool probing = false);
  // Reads the directory into Items.
  void LoadDirectory();
  // Writes an empty directory: what a new archive without entries holds.
  void SaveDirectory();

  TZipDirArray& Items() { return items_; }
  const TZipDirArray& Items() const { return items_; }
  TZipDirArray& BackupItems() { return backupItems_; }
  rt::TStream* Stream() const { return stream_; }
  bool CreateNew() const { return createNew_; }
  bool IsCustomStream() const { return isCustomStream_; }
  const AnsiString& ArchiveComment() const { return archiveComment_; }
  const TEndRecord& EndRecord() const { return endRecord_; }
  const TZip64Locator& Zip64Locator() const { return zip64Locator_; }
  const TZip64EndRecord& Zip64EndRecord() const { return zip64EndRecord_; }
  int64_t StubSize() const { return stubSize_; }
  bool IsZip64() const { return isZip64_; }
  bool Aborted() const { return aborted_; }
  int64_t CentralDirOffset() const { return centralDirOffset_; }
  // The directory was rebuilt from local headers.
  bool Rebuilt() const { return rebuilt_; }

 private:
  void Recover();
  void ReadDirectory(int64_t start, uint64_t count, uint32_t startDisk, uint32_t lastDisk);
  void ReadEntry(int index, TDirectoryReader& reader);
  bool MultiVolume() const;
  bool OemNames() const;

  rt::TStream* stream_;
  TZipBaseArchiver* archiver_;
  bool createNew_;
  bool isCustomStream_;
  TZipDirArray backupItems_;
  TZipDirArray items_;
  AnsiString archiveComment_;
  TZip64Locator zip64Locator_;
  TZip64EndRecord zip64EndRecord_;
  TEndRecord endRecord_;
  int64_t stubSize_ = 0;
  bool isZip64_ = false;
  bool aborted_ = false;
  int64_t centralDirOffset_ = 0;
  bool rebuilt_ = false;
  // Scratch space for the entry being read.
  std::vector<uint8_t> nameBuffer_;
  std::vector<uint8_t> extraBuffer_;
};

}  // namespace zip
