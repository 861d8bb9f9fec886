// The archiver component: opens one ZIP archive at a time (a file or a
// memory stream), keeps its directory while it is open and reports
// progress, questions and failures through events.
//
// TZipBaseArchiver holds all behaviour; TZipArchiver is the concrete class
// placed on forms. Every published property is a getter named like the
// property with a matching Set... setter, so a property registry can bind
// them by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "runtime/classes.h"
#include "runtime/streams.h"
#include "runtime/strings.h"
#include "zip/decode_buffer.h"
#include "zip/read_spans.h"
#include "zip/selection.h"
#include "zip/whole_deflate.h"
#include "zip/wide_strings.h"
#include "zip/zip_options.h"
#include "zip/zip_types.h"

namespace zip {

using rt::AnsiString;
using rt::WideString;

class TZipDirManager;

// Event handler types. Sender is the archiver; reference parameters are the
// handler's answers.
using TZipNotifyEvent = std::function<void(rt::TObject* sender)>;
using TZipOverallProgressEvent =
    std::function<void(rt::TObject* sender, double progress, TZipProcessOperation operation,
                       TZipProgressPhase phase, bool& cancel)>;
using TZipFileProgressEvent =
    std::function<void(rt::TObject* sender, const WideString& fileName, double progress,
                       TZipProcessOperation operation, TZipProgressPhase phase, bool& cancel)>;
using TZipCopyTempFileProgressEvent = std::function<void(
    rt::TObject* sender, double progress, TZipProgressPhase phase, bool& cancel)>;
using TZipConfirmOverwriteEvent =
    std::function<void(rt::TObject* sender, const WideString& sourceFileName,
                       WideString& destFileName, bool& confirm)>;
using TZipConfirmProcessFileEvent =
    std::function<void(rt::TObject* sender, const WideString& fileName,
                       TZipProcessOperation operation, bool& confirm)>;
using TZipPasswordEvent = std::function<void(rt::TObject* sender, const WideString& fileName,
                                             AnsiString& newPassword, bool& skipFile)>;
using TZipProcessFileFailureEvent = std::function<void(
    rt::TObject* sender, const WideString& fileName, TZipProcessOperation operation,
    int32_t nativeError, int32_t errorCode, const WideString& errorMessage, TZipAction& action)>;
// volumeNumber is 1-based in the volume events.
using TZipRequestVolumeEvent = std::function<void(rt::TObject* sender, int32_t volumeNumber,
                                                  WideString& volumeFileName, bool& cancel)>;
using TZipRequestEndVolumeEvent =
    std::function<void(rt::TObject* sender, WideString& volumeFileName, bool& cancel)>;
using TZipDiskFullEvent = std::function<void(rt::TObject* sender, int32_t volumeNumber,
                                             const WideString& volumeFileName, bool& cancel)>;
using TZipStoreFileEvent =
    std::function<void(rt::TObject* sender, WideString& fileName, uint32_t& fileAttr,
                       AnsiString& comment, const WideString& originalFileName)>;
using TZipExtractFileEvent = std::function<void(rt::TObject* sender, WideString& fileName,
                                                uint32_t& fileAttr, const AnsiString& comment)>;

class TZipBaseArchiver : public rt::TComponent {
 public:
  // Open modes: create (file created or truncated; in memory a new
  // stream), read-only sharing with everyone, read-write denying writers.
  static constexpr uint16_t kOpenCreate = 0xFFFF;
  static constexpr uint16_t kOpenReadOnly = 0x40;
  static constexpr uint16_t kOpenReadWrite = 0x22;

  explicit TZipBaseArchiver(rt::TComponent* owner = nullptr);
  ~TZipBaseArchiver() override;

  WideString ClassName() const override { return u"TZipBaseArchiver"; }

  // Published properties.
  bool ExtractCorruptedFiles() const { return extractCorruptedFiles_; }
  void SetExtractCorruptedFiles(bool value) { extractCorruptedFiles_ = value; }
  TZipCompressionLevel CompressionLevel() const { return compressionLevel_; }
  void SetCompressionLevel(TZipCompressionLevel value);
  uint8_t CompressionMode() const { return compressionMode_; }
  // Raises error 2 above 9, changing nothing.
  void SetCompressionMode(uint8_t value);
  WideString CurrentVersion() const;
  void SetCurrentVersion(const WideString&) {}  // read-only: ignored
  const AnsiString& Password() const { return password_; }
  void SetPassword(AnsiString value) { password_ = std::move(value); }
  const WideString& FileName() const { return fileName_; }
  void SetFileName(WideString value) { fileName_ = std::move(value); }
  const WideString& BaseDir() const { return baseDir_; }
  void SetBaseDir(WideString value) { baseDir_ = std::move(value); }
  const WideString& TempDir() const { return tempDir_; }
  void SetTempDir(WideString value) { tempDir_ = std::move(value); }
  TZipSpanningMode SpanningMode() const { return spanningMode_; }
  // Raises rt::Exception while the archive is open.
  void SetSpanningMode(TZipSpanningMode value);
  TZipSpanningOptions& SpanningOptions() { return spanningOptions_; }
  const TZipSpanningOptions& SpanningOptions() const { return spanningOptions_; }
  void SetSpanningOptions(const TZipSpanningOptions& value) { spanningOptions_.Assign(value); }
  const WideString& SFXStub() const { return sfxStub_; }
  void SetSFXStub(WideString value) { sfxStub_ = std::move(value); }
  TZipOptions& Options() { return options_; }
  const TZipOptions& Options() const { return options_; }
  void SetOptions(const TZipOptions& value) { options_.Assign(value); }
  TWideStrings& FileMasks() { return fileMasks_; }
  void SetFileMasks(const TWideStrings& value) { fileMasks_.Assign(value); }
  TWideStrings& ExclusionMasks() { return exclusionMasks_; }
  void SetExclusionMasks(const TWideStrings& value) { exclusionMasks_.Assign(value); }
  TWideStrings& NoCompressionMasks() { return noCompressionMasks_; }
  void SetNoCompressionMasks(const TWideStrings& value) { noCompressionMasks_.Assign(value); }
  bool InMemory() const { return inMemory_; }
  // While open, moves the archive between memory and the file FileName.
  void SetInMemory(bool value);

  // Opening and closing.
  // Chooses the mode: create for a missing file or in memory, else
  // read-write when the file can be opened so, else read-only.
  void OpenArchive();
  void OpenArchive(uint16_t mode);
  // Never raises: a failure while finishing the archive is swallowed and
  // the archive is closed regardless.
  void CloseArchive();

  // Marks the entries that the mask, attribute set and exclusion mask
  // select and writes them under BaseDir. Per-entry failures are settled
  // through OnProcessFileFailure; only the state errors (no archive open,
  // an update open) and exceptions that are not archive errors reach the
  // caller.
  void ExtractMatching(const WideString& mask, uint32_t searchAttr,
                       const WideString& exclusionMask);

  // Decodes entry index's data into output and checks its size and CRC.
  // Returns normally also when the data was bad but the run is cancelled,
  // the entry was skipped at the password request or ExtractCorruptedFiles
  // is set; raises error 4 otherwise. The output keeps what was written.
  void DecodeEntry(int index, rt::TStream& output);

  // What the failure event does without a handler: asks through the
  // dialog provider (Abort, Retry, Ignore) and answers as the user did. A
  // handler that only wants to note the failure passes it on here.
  TZipAction AskAboutFileFailure(int32_t nativeError, const WideString& errorMessage);

  // State of the current (or last) processing run.
  bool Cancelled() const { return cancelled_; }
  int32_t ProcessedCount() const { return processedCount_; }
  int32_t SelectedCount() const { return selectedCount_; }
  // The entry being decoded was skipped at the password request.
  bool SkipCurrent() const { return skipCurrent_; }
  // Entry index was refused in this run, before anything was decoded,
  // because its data lies in bytes that an entry decoded before it read.
  bool RefusedForSharedData(int index) const { return readSpans_.Refused(index); }
  // Compressed bytes of the entry being decoded: taken so far, and all.
  int64_t EntryBytesDone() const { return entryBytesDone_; }
  int64_t EntryBytesTotal() const { return entryBytesTotal_; }
  // The current folder when the first entry was processed; the
  // destination while BaseDir is empty.
  const WideString& DefaultBaseDir() const { return defaultBaseDir_; }

  // Searches the open archive's directory in directory order.
  bool FindFirst(const WideString& mask, TZipArchiveItem& item, uint32_t searchAttr,
                 const WideString& exclusionMask);
  bool FindNext(TZipArchiveItem& item);
  // Marks exactly the entries that FindFirst and FindNext find.
  void MarkSelection(const WideString& mask, uint32_t searchAttr, const WideString& exclusionMask);

  // State of the open archive, for the directory manager and the
  // processing code.
  bool IsOpen() const { return open_; }
  uint16_t OpenMode() const { return openMode_; }
  rt::TStream* ArchiveStream() const { return archiveStream_.get(); }
  TZipDirManager* DirManager() const { return dirManager_.get(); }
  TZipVolumeNumberInfo& VolumeInfo() { return volumeInfo_; }
  int32_t UpdateDepth() const { return updateDepth_; }
  uint16_t NewEntryMethod() const { return newEntryMethod_; }
  const WideString& CurrentVolumeFileName() const { return currentVolumeFileName_; }

  // Makes the volume that info denotes the archive stream. A single-file archive
  // keeps the stream that is open; a multi-volume one asks for the volume
  // through the volume events and raises error 24 when that is cancelled.
  virtual void OpenVolume(const TZipVolumeNumberInfo& info);
  // The file name of volume k (0-based; -1 for the last volume) of the
  // archive called name. With tryOther the other naming scheme is tried
  // when the first one names no file.
  WideString MakeVolumeName(const WideString& name, int32_t volumeNumber, bool tryOther) const;

  // Events.
  TZipOverallProgressEvent OnOverallProgress;
  TZipFileProgressEvent OnFileProgress;
  TZipCopyTempFileProgressEvent OnCopyTempFileProgress;
  TZipConfirmOverwriteEvent OnConfirmOverwrite;
  TZipConfirmProcessFileEvent OnConfirmProcessFile;
  TZipPasswordEvent OnPassword;
  TZipProcessFileFailureEvent OnProcessFileFailure;
  TZipRequestVolumeEvent OnRequestBlankVolume;
  TZipRequestEndVolumeEvent OnRequestFirstVolume;
  TZipRequestEndVolumeEvent OnRequestLastVolume;
  TZipRequestVolumeEvent OnRequestMiddleVolume;
  TZipDiskFullEvent OnDiskFull;
  TZipStoreFileEvent OnStoreFile;
  TZipExtractFileEvent OnExtractFile;
  TZipNotifyEvent AfterOpen;

  // Event dispatchers: each calls its handler when one is assigned and
  // otherwise gives the built-in answer, which for questions is one of the
  // default dialogs (zip_dialogs.h).
  //
  // Without a handler the progress dispatchers answer cancel = false.
  virtual void DoOverallProgress(double progress, TZipProcessOperation operation,
                                 TZipProgressPhase phase, bool& cancel);
  // fileName is the entry name; the handler sees it with "\" separators.
  virtual void DoFileProgress(const WideString& fileName, double progress,
                              TZipProcessOperation operation, TZipProgressPhase phase,
                              bool& cancel);
  virtual void DoCopyTempFileProgress(double progress, TZipProgressPhase phase, bool& cancel);
  virtual void DoConfirmOverwrite(const WideString& sourceFileName, WideString& destFileName,
                                  bool& confirm);
  virtual void DoConfirmProcessFile(const WideString& fileName, TZipProcessOperation operation,
                                    bool& confirm);
  virtual void DoPassword(const WideString& fileName, AnsiString& newPassword, bool& skipFile);
  // action starts as fxaIgnore.
  virtual void DoProcessFileFailure(const WideString& fileName, TZipProcessOperation operation,
                                    int32_t nativeError, int32_t errorCode,
                                    const WideString& errorMessage, TZipAction& action);
  // The volume requests fill volumeFileName with the expected name of the
  // volume before asking; cancel starts false.
  virtual void DoRequestBlankVolume(int32_t volumeNumber, WideString& volumeFileName,
                                    bool& cancel);
  virtual void DoRequestFirstVolume(WideString& volumeFileName, bool& cancel);
  virtual void DoRequestLastVolume(WideString& volumeFileName, bool& cancel);
  virtual void DoRequestMiddleVolume(int32_t volumeNumber, WideString& volumeFileName,
                                     bool& cancel);
  virtual void DoDiskFull(int32_t volumeNumber, const WideString& volumeFileName, bool& cancel);
  // The handler sees fileName with "\" separators; it goes back to "/".
  virtual void DoStoreFile(WideString& fileName, uint32_t& fileAttr, AnsiString& comment,
                           const WideString& originalFileName);
  // fileName leaves with "\" separators, handler or not.
  virtual void DoExtractFile(WideString& fileName, uint32_t& fileAttr,
                             const AnsiString& comment);
  void DoAfterOpen();

 protected:
  // Sets NewEntryMethod, the ZIP method of entries added from now on, from
  // the compression settings.
  virtual void UpdateNewEntryMethod();

  // Published by TZipArchiver only.
  TZip64Mode Zip64Mode() const { return zip64Mode_; }
  void SetZip64Mode(TZip64Mode value) { zip64Mode_ = value; }
  bool UnicodeFilenames() const { return unicodeFilenames_; }
  void SetUnicodeFilenames(bool value) { unicodeFilenames_ = value; }

  // What an open builds up and CloseArchive releases.
  bool open_ = false;
  uint16_t openMode_ = 0;
  std::unique_ptr<rt::TStream> archiveStream_;
  std::unique_ptr<TZipDirManager> dirManager_;
  TZipVolumeNumberInfo volumeInfo_;
  int32_t updateDepth_ = 0;
  uint16_t newEntryMethod_ = 0xFFFF;
  WideString currentVolumeFileName_;

  // State of a processing run.
  bool cancelled_ = false;
  int32_t processedCount_ = 0;
  int32_t selectedCount_ = 0;
  bool skipCurrent_ = false;
  int64_t entryBytesDone_ = 0;
  int64_t entryBytesTotal_ = 0;
  WideString defaultBaseDir_;
  // What the entries decoded since the run began (or the archive was
  // opened) have read; data that overlaps it is refused.
  TZipReadSpans readSpans_;

 private:
  friend class TZipEntryDecoder;

  // The run over the selected entries, under the process-wide lock.
  void ProcessSelected(TZipProcessOperation operation);
  // One attempt loop for entry index; true when the run must stop.
  bool ProcessEntry(int index, TZipProcessOperation operation, bool& aborted);
  // Entry index to one file (or folder) under destination.
  void ExtractEntry(int index, const WideString& name, const WideString& destination);
  // Progress notifications that never undo a cancel: a dispatcher without
  // a handler answers "go on" whatever the run decided before. Both
  // return Cancelled afterwards.
  bool NotifyOverallProgress(double progress, TZipProcessOperation operation,
                             TZipProgressPhase phase);
  bool NotifyFileProgress(const WideString& entryName, double progress,
                          TZipProcessOperation operation, TZipProgressPhase phase);

  // The open sequence past its argument checks.
  void CreateArchive();
  void ProbeArchive();
  void ProbeHostArchive();
  // A new manager on the archive stream; the previous one is freed first.
  void MakeManager(bool createNew);
  bool ProbeLastVolume();
  void DecideSpanningMode();
  void OpenVolumeFile(const WideString& name, const TZipVolumeNumberInfo& info);
  WideString RequestVolume(const TZipVolumeNumberInfo& info);

  // Decoding buffers kept from one entry to the next (TZipEntryDecoder),
  // sized at the start of a run for the largest entry decoded whole and
  // released at its end; the whole-stream decoder, made on first use.
  void ReserveDecodeBuffers();
  void ReleaseDecodeBuffers();
  TWholeDeflateDecoder& WholeDecoder();
  // A twentieth of the free memory, learnt once per run (outside one, for
  // each entry): the most a chunk's output, or an entry decoded whole, may
  // take.
  std::optional<uint64_t> decodeMemoryCeiling_;
  TDecodeBuffer decodeInput_;
  TDecodeBuffer decodeOutput_;
  std::unique_ptr<TWholeDeflateDecoder> wholeDecoder_;

  bool extractCorruptedFiles_ = false;
  TZipCompressionLevel compressionLevel_ = clFastest;
  uint8_t compressionMode_ = 1;
  AnsiString password_;
  WideString fileName_;
  WideString baseDir_;
  WideString tempDir_;
  TZipSpanningMode spanningMode_ = smNone;
  TZipSpanningOptions spanningOptions_;
  WideString sfxStub_;
  TZipOptions options_;
  TWideStringList fileMasks_;
  TWideStringList exclusionMasks_;
  TWideStringList noCompressionMasks_;
  bool inMemory_ = false;
  TZip64Mode zip64Mode_ = zmAuto;
  bool unicodeFilenames_ = true;
};

class TZipArchiver : public TZipBaseArchiver {
 public:
  explicit TZipArchiver(rt::TComponent* owner = nullptr);

  WideString ClassName() const override { return u"TZipArchiver"; }

  using TZipBaseArchiver::SetUnicodeFilenames;
  using TZipBaseArchiver::SetZip64Mode;
  using TZipBaseArchiver::UnicodeFilenames;
  using TZipBaseArchiver::Zip64Mode;

 protected:
  // Deflate, or stored for compression mode 0.
  void UpdateNewEntryMethod() override;
};

// The engine's one process-wide lock. A processing run holds it from start
// to end, so runs of different archivers are serialised; the thread that
// holds it may enter it again.
std::recursive_mutex& ZipProcessLock();

class TZipProcessGuard {
 public:
  TZipProcessGuard() : lock_(ZipProcessLock()) {}

 private:
  std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace zip
