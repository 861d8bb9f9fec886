#include "zip/zip_archiver.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include "zip/dir_manager.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/wide_file_stream.h"
#include "zip/zip_dialogs.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

// Created when the engine's module initialises, destroyed when it ends.
std::recursive_mutex gProcessLock;

constexpr double kVersion = 3.02;

bool ModeAllowsWriting(uint16_t mode) {
  const unsigned access = mode & 3u;
  return mode == TZipBaseArchiver::kOpenCreate || access == 1 || access == 2;
}

// The bytes still free on the drive that holds name, 0 when unknown.
int64_t FreeSpaceOf(const WideString& name) {
  WideString folder = WithSlashes(PathOf(name));
  if (folder.empty()) folder = u".";
  std::error_code error;
  const auto space = std::filesystem::space(std::filesystem::path(folder), error);
  return error ? 0 : static_cast<int64_t>(space.available);
}

TZipModalResult Ask(const WideString& text, TZipMsgDlgButtons buttons) {
  return Dialogs().MessageDialog(text, mtConfirmation, buttons);
}

bool AskOkCancel(const WideString& text) {
  return Ask(text, ButtonSet({mbOK, mbCancel})) == mrOk;
}

}  // namespace

std::recursive_mutex& ZipProcessLock() { return gProcessLock; }

// ---------------------------------------------------------------------------
// Construction and properties

TZipBaseArchiver::TZipBaseArchiver(rt::TComponent* owner) : rt::TComponent(owner) {
  UpdateNewEntryMethod();
}

TZipBaseArchiver::~TZipBaseArchiver() { CloseArchive(); }

void TZipBaseArchiver::SetCompressionLevel(TZipCompressionLevel value) {
  compressionLevel_ = value;
  compressionMode_ = CompressionLevelToMode(value);
  UpdateNewEntryMethod();
}

void TZipBaseArchiver::SetCompressionMode(uint8_t value) {
  if (value > 9) throw EZipException(neCompressionMode, this);
  compressionMode_ = value;
  compressionLevel_ = CompressionModeToLevel(value);
  UpdateNewEntryMethod();
}

WideString TZipBaseArchiver::CurrentVersion() const {
  // rt::Format always writes "." as the decimal separator.
  return rt::Format(u"%.2f", {kVersion}) + u" ";
}

void TZipBaseArchiver::SetSpanningMode(TZipSpanningMode value) {
  if (open_) throw rt::Exception(u"Cannot set spanning mode on open archive");
  spanningMode_ = value;
}

void TZipBaseArchiver::SetInMemory(bool value) {
  if (value == inMemory_) return;
  if (!open_) {
    inMemory_ = value;
    return;
  }
  if (inMemory_) {
    // Memory to file: the archive built so far becomes the file's content.
    if (fileName_.empty()) throw EZipException(neInMemoryBlankName, this);
    {
      TWideFileStream file(fileName_, kFmCreate);
      if (archiveStream_) file.CopyFrom(*archiveStream_, 0);
    }
    CloseArchive();
    inMemory_ = false;
    OpenArchive();
  } else {
    // File to memory: the file stays as it is and a new, empty archive is
    // started in memory.
    CloseArchive();
    inMemory_ = true;
    OpenArchive();
  }
}

void TZipBaseArchiver::UpdateNewEntryMethod() { newEntryMethod_ = 0xFFFF; }

TZipArchiver::TZipArchiver(rt::TComponent* owner) : TZipBaseArchiver(owner) {
  SetZip64Mode(zmDisabled);
  // The base constructor could only run its own version.
  UpdateNewEntryMethod();
}

void TZipArchiver::UpdateNewEntryMethod() {
  constexpr uint16_t kStored = 0;
  constexpr uint16_t kDeflated = 8;
  newEntryMethod_ = CompressionMode() == 0 ? kStored : kDeflated;
}

// ---------------------------------------------------------------------------
// Opening and closing

void TZipBaseArchiver::OpenArchive() {
  if (!inMemory_ && NameOf(fileName_).empty()) throw EZipException(neOpenBlankName, this);
  uint16_t mode = kOpenCreate;
  if (!inMemory_) {
    const WideString systemName = rt::ThroughAnsi(fileName_);
    if (FsFileExists(systemName)) {
      // A trial open tells whether the file may be written.
      try {
        TWideFileStream trial(systemName, kOpenReadWrite);
        mode = kOpenReadWrite;
      } catch (const rt::Exception&) {
        mode = kOpenReadOnly;
      }
    }
  }
  OpenArchive(mode);
}

void TZipBaseArchiver::OpenArchive(uint16_t mode) {
  if (!inMemory_ && NameOf(fileName_).empty()) throw EZipException(neOpenModeBlankName, this);
  // The file name means nothing to an in-memory archive; refusing its
  // mode below is the error that applies.
  if (!inMemory_ && mode != kOpenCreate && spanningMode_ != smSpanning &&
      !FsFileExists(rt::ThroughAnsi(fileName_)) && !IsRemovablePath(fileName_))
    throw EZipException(neArchiveNotFound, this, {fileName_});
  if (inMemory_ && mode != kOpenCreate) throw EZipException(neInMemoryOpen, this);
  CloseArchive();
  openMode_ = mode;
  try {
    if (mode == kOpenCreate || inMemory_) {
      CreateArchive();
    } else {
      spanningMode_ = smNone;
      volumeInfo_.Reset();
      if (rt::LowerText(ExtOf(fileName_)).find(u".exe") != WideString::npos)
        ProbeHostArchive();
      else
        ProbeArchive();
      dirManager_->LoadDirectory();
    }
  } catch (...) {
    // A failed open holds no file open: the archive is closed.
    CloseArchive();
    throw;
  }
  open_ = true;
  DoAfterOpen();
}

void TZipBaseArchiver::CloseArchive() {
  if (open_) {
    try {
      // A new archive that never received an entry still gets a directory,
      // so that what is left behind is a valid (empty) archive.
      if (archiveStream_ && dirManager_ && ModeAllowsWriting(openMode_) &&
          archiveStream_->Size() == 0)
        dirManager_->SaveDirectory();
    } catch (...) {
      // Closing always succeeds; the archive is closed regardless.
    }
  }
  // Also after a failed open, which may leave a stream and a manager behind.
  // The manager reads through the stream, so it goes first.
  open_ = false;
  dirManager_.reset();
  archiveStream_.reset();
  currentVolumeFileName_.clear();
}

void TZipBaseArchiver::ExtractMatching(const WideString& mask, uint32_t searchAttr,
                                       const WideString& exclusionMask) {
  if (!open_) throw EZipException(neNotOpen, this);
  if (updateDepth_ > 0) throw EZipException(neUpdateNotEnded, this);
  MarkSelection(mask, searchAttr, exclusionMask);
  ProcessSelected(poExtract);
}

// ---------------------------------------------------------------------------
// Volumes

void TZipBaseArchiver::OpenVolume(const TZipVolumeNumberInfo& info) {
  if (spanningMode_ == smNone) {
    if (!archiveStream_) OpenVolumeFile(fileName_, info);
    volumeInfo_ = info;
    return;
  }
  // A recorded volume counts only while its stream is open: a reset info
  // looks like the last volume without any volume being open.
  if (archiveStream_ && volumeInfo_.SameVolume(info)) return;
  OpenVolumeFile(RequestVolume(info), info);
}

WideString TZipBaseArchiver::RequestVolume(const TZipVolumeNumberInfo& info) {
  WideString name;
  for (;;) {
    bool cancel = false;
    if (openMode_ == kOpenCreate) {
      DoRequestBlankVolume(info.VolumeNumber + 1, name, cancel);
      if (cancel) throw EZipException(neVolumeRequestCancelled, this);
      return name;
    }
    if (info.IsFirstVolume())
      DoRequestFirstVolume(name, cancel);
    else if (info.IsLastVolume())
      DoRequestLastVolume(name, cancel);
    else
      DoRequestMiddleVolume(info.VolumeNumber + 1, name, cancel);
    if (cancel) throw EZipException(neVolumeRequestCancelled, this);
    if (FsFileExists(name)) return name;
  }
}

void TZipBaseArchiver::OpenVolumeFile(const WideString& name, const TZipVolumeNumberInfo& info) {
  archiveStream_.reset();
  currentVolumeFileName_.clear();
  archiveStream_ = std::make_unique<TWideFileStream>(name, openMode_);
  currentVolumeFileName_ = name;
  volumeInfo_ = info;
}

WideString TZipBaseArchiver::MakeVolumeName(const WideString& name, int32_t volumeNumber,
                                            bool tryOther) const {
  const WideString path = PathOf(name);
  const WideString ext = ExtOf(name);
  const WideString fileName = NameOf(name);
  const WideString base = fileName.substr(0, fileName.size() - ext.size());
  const bool advanced = spanningOptions_.AdvancedNaming();
  // A self-extracting host keeps its ".exe" on the volumes that carry it.
  const bool hostLike = (dirManager_ && dirManager_->StubSize() != 0) || !sfxStub_.empty() ||
                        rt::LowerText(ext).find(u".exe") != WideString::npos;
  const auto numbered = [&](int32_t n, const WideString& extension) {
    return path + base + u"_" + rt::Format(u"%.3u", {n}) + extension;
  };

  if (volumeNumber < 0) {
    if (spanningMode_ == smSplitting && hostLike) return path + base + u".ZIP";
    return name;
  }
  switch (spanningMode_) {
    case smSpanning: {
      const WideString extension = hostLike ? WideString(u".exe") : ext;
      const WideString plain = path + base + extension;
      const WideString first = advanced ? numbered(volumeNumber + 1, extension) : plain;
      if (tryOther && !FsFileExists(first)) {
        const WideString other = advanced ? plain : numbered(volumeNumber + 1, extension);
        if (FsFileExists(other)) return other;
      }
      return first;
    }
    case smSplitting:
      if (volumeNumber == 0 && hostLike) return path + base + u".exe";
      if (advanced) return numbered(volumeNumber + 1, ext);
      return path + base + u".Z" + rt::Format(u"%.2d", {volumeNumber + 1});
    case smNone:
      break;
  }
  return name;
}

// ---------------------------------------------------------------------------
// Event dispatchers

void TZipBaseArchiver::DoOverallProgress(double progress, TZipProcessOperation operation,
                                         TZipProgressPhase phase, bool& cancel) {
  if (OnOverallProgress)
    OnOverallProgress(this, progress, operation, phase, cancel);
  else
    cancel = false;
}

void TZipBaseArchiver::DoFileProgress(const WideString& fileName, double progress,
                                      TZipProcessOperation operation, TZipProgressPhase phase,
                                      bool& cancel) {
  if (OnFileProgress)
    OnFileProgress(this, WithBackslashes(fileName), progress, operation, phase, cancel);
  else
    cancel = false;
}

void TZipBaseArchiver::DoCopyTempFileProgress(double progress, TZipProgressPhase phase,
                                              bool& cancel) {
  if (OnCopyTempFileProgress)
    OnCopyTempFileProgress(this, progress, phase, cancel);
  else
    cancel = false;
}

void TZipBaseArchiver::DoConfirmOverwrite(const WideString& sourceFileName,
                                          WideString& destFileName, bool& confirm) {
  if (OnConfirmOverwrite) {
    OnConfirmOverwrite(this, sourceFileName, destFileName, confirm);
    return;
  }
  const WideString text =
      rt::Format(u"Overwrite file \"%s\" with \"%s\"", {destFileName, sourceFileName});
  switch (Ask(text, ButtonSet({mbYes, mbNo, mbNoToAll, mbYesToAll}))) {
    case mrYes:
      confirm = true;
      break;
    case mrYesToAll:
      confirm = true;
      options_.SetOverwriteMode(omAlways);
      break;
    case mrNoToAll:
      confirm = false;
      options_.SetOverwriteMode(omNever);
      break;
    default:  // No, or the box closed without an answer
      confirm = false;
      break;
  }
}

void TZipBaseArchiver::DoConfirmProcessFile(const WideString& fileName,
                                            TZipProcessOperation operation, bool& confirm) {
  if (OnConfirmProcessFile)
    OnConfirmProcessFile(this, fileName, operation, confirm);
  else
    confirm = true;
}

void TZipBaseArchiver::DoPassword(const WideString& fileName, AnsiString& newPassword,
                                  bool& skipFile) {
  if (OnPassword) {
    OnPassword(this, fileName, newPassword, skipFile);
    return;
  }
  WideString entered;
  if (Dialogs().InputQuery(rt::Format(u"Password for \"%s\"", {fileName}), u"Enter password: ",
                           entered)) {
    newPassword = rt::WideToAnsi(entered);
    skipFile = false;
  } else {
    skipFile = true;
  }
}

void TZipBaseArchiver::DoProcessFileFailure(const WideString& fileName,
                                            TZipProcessOperation operation, int32_t nativeError,
                                            int32_t errorCode, const WideString& errorMessage,
                                            TZipAction& action) {
  action = fxaIgnore;
  if (OnProcessFileFailure) {
    OnProcessFileFailure(this, fileName, operation, nativeError, errorCode, errorMessage, action);
    return;
  }
  action = AskAboutFileFailure(nativeError, errorMessage);
}

TZipAction TZipBaseArchiver::AskAboutFileFailure(int32_t nativeError, const WideString& errorMessage) {
  TZipModalResult answer;
  if (nativeError == neVolumeRequestCancelled) {
    // The user has already said no when asked for the volume.
    answer = mrAbort;
  } else if (nativeError == neFileMaskTooLong) {
    answer = Ask(errorMessage, ButtonSet({mbAbort, mbIgnore}));
  } else {
    answer = Ask(rt::Format(u"%s. File processing error, possibly disk is full", {errorMessage}),
                 ButtonSet({mbAbort, mbRetry, mbIgnore}));
  }
  switch (answer) {
    case mrRetry: return fxaRetry;
    case mrIgnore: return fxaIgnore;
    default: return fxaAbort;
  }
}

void TZipBaseArchiver::DoRequestBlankVolume(int32_t volumeNumber, WideString& volumeFileName,
                                            bool& cancel) {
  cancel = false;
  volumeFileName = MakeVolumeName(fileName_, volumeNumber - 1, !OnRequestBlankVolume);
  if (OnRequestBlankVolume) {
    OnRequestBlankVolume(this, volumeNumber, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ == smSpanning)
    cancel = !AskOkCancel(rt::Format(u"Please insert a blank disk #%d", {volumeNumber}));
}

void TZipBaseArchiver::DoRequestFirstVolume(WideString& volumeFileName, bool& cancel) {
  cancel = false;
  volumeFileName = MakeVolumeName(fileName_, 0, !OnRequestFirstVolume);
  if (OnRequestFirstVolume) {
    OnRequestFirstVolume(this, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ == smSpanning)
    cancel = !AskOkCancel(u"Please insert the first disk");
  else
    cancel = !FsFileExists(volumeFileName) && openMode_ != kOpenCreate;
}

void TZipBaseArchiver::DoRequestLastVolume(WideString& volumeFileName, bool& cancel) {
  cancel = false;
  volumeFileName = MakeVolumeName(fileName_, -1, !OnRequestLastVolume);
  if (OnRequestLastVolume) {
    OnRequestLastVolume(this, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ != smSpanning) {
    cancel = !FsFileExists(volumeFileName);
    return;
  }
  cancel = !AskOkCancel(u"Please insert the last disk");
  while (!cancel && !FsFileExists(volumeFileName))
    cancel = !AskOkCancel(rt::Format(
        u"File '%s' not found on inserted disk. Please insert last disk with required file",
        {volumeFileName}));
}

void TZipBaseArchiver::DoRequestMiddleVolume(int32_t volumeNumber, WideString& volumeFileName,
                                             bool& cancel) {
  cancel = false;
  volumeFileName = MakeVolumeName(fileName_, volumeNumber - 1, !OnRequestMiddleVolume);
  if (OnRequestMiddleVolume) {
    OnRequestMiddleVolume(this, volumeNumber, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ == smSpanning)
    cancel = !AskOkCancel(rt::Format(u"Please insert disk #%d", {volumeNumber}));
  else
    cancel = !FsFileExists(volumeFileName);
}

void TZipBaseArchiver::DoDiskFull(int32_t volumeNumber, const WideString& volumeFileName,
                                  bool& cancel) {
  if (OnDiskFull) {
    OnDiskFull(this, volumeNumber, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ != smSpanning) {
    cancel = true;
    return;
  }
  const int64_t required = spanningOptions_.VolumeSizeLimit(volumeNumber - 1);
  cancel = !AskOkCancel(rt::Format(u"Disk is full. Required free space: %d bytes, but available "
                                   u"only: %d bytes. Clean the disk or find another blank disk",
                                   {required, FreeSpaceOf(volumeFileName)}));
}

void TZipBaseArchiver::DoStoreFile(WideString& fileName, uint32_t& fileAttr, AnsiString& comment,
                                   const WideString& originalFileName) {
  if (!OnStoreFile) return;
  fileName = WithBackslashes(std::move(fileName));
  OnStoreFile(this, fileName, fileAttr, comment, originalFileName);
  fileName = WithSlashes(std::move(fileName));
}

void TZipBaseArchiver::DoExtractFile(WideString& fileName, uint32_t& fileAttr,
                                     const AnsiString& comment) {
  fileName = WithBackslashes(std::move(fileName));
  if (OnExtractFile) OnExtractFile(this, fileName, fileAttr, comment);
}

void TZipBaseArchiver::DoAfterOpen() {
  if (AfterOpen) AfterOpen(this);
}

}  // namespace zip
