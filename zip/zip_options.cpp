#include "zip/zip_options.h"

#include <algorithm>

namespace zip {

uint8_t CompressionLevelToMode(TZipCompressionLevel level) {
  switch (level) {
    case clNone: return 0;
    case clFastest: return 1;
    case clNormal: return 6;
    case clMax: return 9;
  }
  return 1;
}

TZipCompressionLevel CompressionModeToLevel(uint8_t mode) {
  if (mode == 0) return clNone;
  if (mode <= 3) return clFastest;
  if (mode <= 6) return clNormal;
  return clMax;
}

void TZipOptions::Assign(const rt::TPersistent& source) {
  const auto* other = dynamic_cast<const TZipOptions*>(&source);
  if (!other) {
    rt::TPersistent::Assign(source);
    return;
  }
  // ShareMode is left alone on purpose: each archiver keeps its own.
  storePath_ = other->storePath_;
  recurse_ = other->recurse_;
  overwriteMode_ = other->overwriteMode_;
  createDirs_ = other->createDirs_;
  replaceReadOnly_ = other->replaceReadOnly_;
  setAttributes_ = other->setAttributes_;
  searchAttr_ = other->searchAttr_;
  flushBuffers_ = other->flushBuffers_;
  oemFileNames_ = other->oemFileNames_;
}

void TZipSpanningOptions::SetCustomVolumeSize(int64_t value) {
  customVolumeSize_ = std::max(value, kMinCustomVolumeSize);
}

int64_t TZipSpanningOptions::VolumeSizeLimit(int32_t volumeNumber) const {
  if (volumeNumber == 0 && firstVolumeSize_ > 0) return firstVolumeSize_;
  switch (volumeSize_) {
    case vsAutoDetect: return kNoVolumeSizeLimit;
    case vsCustom: return customVolumeSize_;
    case vs1_44MB: return 1457664;
    case vs100MB: return 104857600;
    case vs200MB: return 209715200;
    case vs250MB: return 262144000;
    case vs600MB: return 629145600;
    case vs650MB: return 681574400;
    case vs700MB: return 734003200;
    case vs4700MB: return 4928307200;
  }
  return kNoVolumeSizeLimit;
}

void TZipSpanningOptions::Assign(const rt::TPersistent& source) {
  const auto* other = dynamic_cast<const TZipSpanningOptions*>(&source);
  if (!other) {
    rt::TPersistent::Assign(source);
    return;
  }
  advancedNaming_ = other->advancedNaming_;
  firstVolumeSize_ = other->firstVolumeSize_;
  volumeSize_ = other->volumeSize_;
  customVolumeSize_ = other->customVolumeSize_;
  saveDirToFirstVolume_ = other->saveDirToFirstVolume_;
}

}  // namespace zip
