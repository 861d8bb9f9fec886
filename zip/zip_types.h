// Enumerations and small value types of the archive engine.
#pragma once

#include <cstdint>

namespace zip {

enum TZipCompressionLevel { clNone, clFastest, clNormal, clMax };
enum TZipProcessOperation {
  poAdd, poMove, poDelete, poUpdate, poExtract, poTest, poRename, poChangeAttr,
  poChangeComment, poMakeSFX
};
enum TZipProgressPhase { ppStart, ppProcess, ppEnd };
enum TZipAction { fxaRetry, fxaIgnore, fxaAbort };
enum TZipOverwriteMode { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TZipFileShareMode {
  smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone
};
enum TZipStorePathMode { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };
enum TZip64Mode { zmDisabled, zmAuto, zmAlways };
enum TZipSpanningMode { smNone, smSpanning, smSplitting };
enum TZipVolumeSize {
  vsAutoDetect, vsCustom, vs1_44MB, vs100MB, vs200MB, vs250MB, vs600MB, vs650MB, vs700MB,
  vs4700MB
};

// Which volume of a multi-volume archive is meant.
class TZipVolumeNumberInfo {
 public:
  enum TVolumeKind { FirstVolume, LastVolume, NumberedVolume, UndeterminedVolume };

  TZipVolumeNumberInfo() { Reset(); }

  int32_t VolumeNumber = -1;
  int32_t LastVolumeNumber = -1;
  TVolumeKind VolumeKind = UndeterminedVolume;

  void Reset() {
    VolumeKind = UndeterminedVolume;
    VolumeNumber = -1;
    LastVolumeNumber = -1;
  }
  void SetFirstVolume() {
    VolumeKind = FirstVolume;
    VolumeNumber = 0;
  }
  void SetLastVolume() {
    VolumeKind = LastVolume;
    VolumeNumber = LastVolumeNumber;
  }
  void SetVolumeNumber(int32_t number) {
    VolumeKind = NumberedVolume;
    VolumeNumber = number;
  }
  bool IsFirstVolume() const { return VolumeNumber == 0; }
  bool IsLastVolume() const {
    return (LastVolumeNumber == -1 && VolumeKind == LastVolume) ||
           VolumeNumber == LastVolumeNumber;
  }
  // Tested in this order on this info: both last, both first, (no number)
  // the same kind, the same number.
  bool SameVolume(const TZipVolumeNumberInfo& other) const {
    if (IsLastVolume()) return other.IsLastVolume();
    if (IsFirstVolume()) return other.IsFirstVolume();
    if (VolumeNumber < 0) return VolumeKind == other.VolumeKind;
    return VolumeNumber == other.VolumeNumber;
  }
};

}  // namespace zip
