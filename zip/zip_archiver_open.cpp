// How an archive is found when it is opened: a plain archive, an archive
// behind a self-extracting host, or one volume of a multi-volume set.
#include "runtime/text.h"
#include "zip/dir_manager.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/zip_archiver.h"

namespace zip {

namespace {

TZipVolumeNumberInfo LastVolume() {
  TZipVolumeNumberInfo info;
  info.SetLastVolume();
  return info;
}

bool ExistsInSystemCodePage(const WideString& name) {
  return FsFileExists(rt::ThroughAnsi(name));
}

TZipSearchOptions SearchOptionsOf(const TZipOptions& options) {
  return {options.StorePath(), options.Recurse()};
}

}  // namespace

void TZipBaseArchiver::CreateArchive() {
  if (inMemory_) {
    archiveStream_ = std::make_unique<rt::TMemoryStream>();
  } else {
    TZipVolumeNumberInfo first;
    first.SetFirstVolume();
    OpenVolume(first);
  }
  MakeManager(true);
}

void TZipBaseArchiver::MakeManager(bool createNew) {
  dirManager_.reset();
  readSpans_.Clear();
  dirManager_ = std::make_unique<TZipDirManager>(archiveStream_.get(), this, createNew);
}

bool TZipBaseArchiver::ProbeLastVolume() {
  dirManager_.reset();
  volumeInfo_.Reset();
  OpenVolume(LastVolume());
  MakeManager(false);
  const bool valid = dirManager_->IsArchiveValid(true);
  DecideSpanningMode();
  return valid;
}

void TZipBaseArchiver::ProbeArchive() {
  bool valid;
  do {
    if (!FsFileExists(fileName_) && IsRemovablePath(fileName_)) spanningMode_ = smSpanning;
    valid = ProbeLastVolume();
  } while (!valid && spanningMode_ != smNone);
}

void TZipBaseArchiver::ProbeHostArchive() {
  OpenVolume(LastVolume());
  MakeManager(false);
  if (dirManager_->IsArchiveValid(true)) {
    DecideSpanningMode();
    return;
  }
  // A host without an end record may be the first part of a split archive
  // whose last part sits beside it.
  dirManager_.reset();
  spanningMode_ = smSplitting;
  if (FsFileExists(MakeVolumeName(fileName_, -1, false))) {
    volumeInfo_.Reset();
    OpenVolume(LastVolume());
  }
  spanningMode_ = smNone;
  MakeManager(false);
  bool valid;
  do {
    valid = ProbeLastVolume();
  } while (!valid && spanningMode_ != smNone);
}

void TZipBaseArchiver::DecideSpanningMode() {
  const TEndRecord& end = dirManager_->EndRecord();
  const bool removable = IsRemovablePath(fileName_);
  if (end.Signature == 0) {
    spanningMode_ = removable ? smSpanning : smNone;
    return;
  }
  if (end.DiskNumber == 0) {
    spanningMode_ = smNone;
    return;
  }
  // A multi-volume archive: which naming scheme finds its other volumes?
  spanningMode_ = smSplitting;
  const int32_t previous = static_cast<int32_t>(end.DiskNumber) - 1;
  if (ExistsInSystemCodePage(MakeVolumeName(fileName_, previous, false))) return;
  spanningOptions_.SetAdvancedNaming(!spanningOptions_.AdvancedNaming());
  if (ExistsInSystemCodePage(MakeVolumeName(fileName_, previous, false))) return;
  spanningOptions_.SetAdvancedNaming(!spanningOptions_.AdvancedNaming());
  // Neither naming finds the previous volume: the volumes are disks
  // asked for one by one, unless the file is a program carrying its
  // archive.
  const bool host = rt::LowerText(fileName_).find(u".exe") != WideString::npos;
  spanningMode_ = host ? smNone : smSpanning;
}

bool TZipBaseArchiver::FindFirst(const WideString& mask, TZipArchiveItem& item, uint32_t searchAttr,
                                 const WideString& exclusionMask) {
  return zip::FindFirst(dirManager_->Items(), SearchOptionsOf(options_), mask, item, searchAttr,
                        exclusionMask);
}

bool TZipBaseArchiver::FindNext(TZipArchiveItem& item) {
  return zip::FindNext(dirManager_->Items(), SearchOptionsOf(options_), item);
}

void TZipBaseArchiver::MarkSelection(const WideString& mask, uint32_t searchAttr,
                                     const WideString& exclusionMask) {
  zip::MarkSelection(dirManager_->Items(), SearchOptionsOf(options_), mask, searchAttr,
                     exclusionMask);
}

}  // namespace zip
