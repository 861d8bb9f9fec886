// The archiver's option objects: processing options and multi-volume
// options, plus the two views of the compression setting.
#pragma once

#include <cstdint>

#include "runtime/classes.h"
#include "zip/zip_types.h"

namespace zip {

// The search attributes that select every entry: read-only, hidden, system,
// volume label, folder, archive, normal, compressed and not content-indexed
// all allowed. The default of SearchAttr, and what the installer extracts.
inline constexpr uint32_t kEverySearchAttr = 0x28BF;

// Level to the numeric mode 0..9 and back.
uint8_t CompressionLevelToMode(TZipCompressionLevel level);
TZipCompressionLevel CompressionModeToLevel(uint8_t mode);

class TZipOptions : public rt::TPersistent {
 public:
  rt::WideString ClassName() const override { return u"TZipOptions"; }

  TZipStorePathMode StorePath() const { return storePath_; }
  void SetStorePath(TZipStorePathMode value) { storePath_ = value; }
  bool Recurse() const { return recurse_; }
  void SetRecurse(bool value) { recurse_ = value; }
  TZipFileShareMode ShareMode() const { return shareMode_; }
  void SetShareMode(TZipFileShareMode value) { shareMode_ = value; }
  TZipOverwriteMode OverwriteMode() const { return overwriteMode_; }
  void SetOverwriteMode(TZipOverwriteMode value) { overwriteMode_ = value; }
  bool CreateDirs() const { return createDirs_; }
  void SetCreateDirs(bool value) { createDirs_ = value; }
  bool ReplaceReadOnly() const { return replaceReadOnly_; }
  void SetReplaceReadOnly(bool value) { replaceReadOnly_ = value; }
  bool SetAttributes() const { return setAttributes_; }
  void SetSetAttributes(bool value) { setAttributes_ = value; }
  int32_t SearchAttr() const { return searchAttr_; }
  void SetSearchAttr(int32_t value) { searchAttr_ = value; }
  bool FlushBuffers() const { return flushBuffers_; }
  void SetFlushBuffers(bool value) { flushBuffers_ = value; }
  bool OEMFileNames() const { return oemFileNames_; }
  void SetOEMFileNames(bool value) { oemFileNames_ = value; }

  // From another TZipOptions every field but ShareMode is copied.
  void Assign(const rt::TPersistent& source) override;

 private:
  TZipStorePathMode storePath_ = spRelativePath;
  bool recurse_ = true;
  TZipFileShareMode shareMode_ = smShareDenyNone;
  TZipOverwriteMode overwriteMode_ = omAlways;
  bool createDirs_ = true;
  bool replaceReadOnly_ = true;
  bool setAttributes_ = true;
  int32_t searchAttr_ = static_cast<int32_t>(kEverySearchAttr);
  bool flushBuffers_ = true;
  bool oemFileNames_ = true;
};

class TZipSpanningOptions : public rt::TPersistent {
 public:
  // The smallest custom volume size; smaller values are raised to it.
  static constexpr int64_t kMinCustomVolumeSize = 65536;
  // VolumeSizeLimit when a volume has no fixed size.
  static constexpr int64_t kNoVolumeSizeLimit = -1;

  rt::WideString ClassName() const override { return u"TZipSpanningOptions"; }

  bool AdvancedNaming() const { return advancedNaming_; }
  void SetAdvancedNaming(bool value) { advancedNaming_ = value; }
  int64_t FirstVolumeSize() const { return firstVolumeSize_; }
  void SetFirstVolumeSize(int64_t value) { firstVolumeSize_ = value; }
  TZipVolumeSize VolumeSize() const { return volumeSize_; }
  void SetVolumeSize(TZipVolumeSize value) { volumeSize_ = value; }
  int64_t CustomVolumeSize() const { return customVolumeSize_; }
  void SetCustomVolumeSize(int64_t value);
  bool SaveDirToFirstVolume() const { return saveDirToFirstVolume_; }
  void SetSaveDirToFirstVolume(bool value) { saveDirToFirstVolume_ = value; }

  // The size limit of the volume with this 0-based number, or
  // kNoVolumeSizeLimit.
  int64_t VolumeSizeLimit(int32_t volumeNumber) const;

  void Assign(const rt::TPersistent& source) override;

 private:
  bool advancedNaming_ = true;
  int64_t firstVolumeSize_ = 0;
  TZipVolumeSize volumeSize_ = vsAutoDetect;
  int64_t customVolumeSize_ = 0;
  bool saveDirToFirstVolume_ = false;
};

}  // namespace zip
