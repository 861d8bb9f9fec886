// The archiver's run over the selected entries: the events around each,
// where each entry's file goes, and extracting it there.
#include "zip/wide_file_stream.h"
#include "zip/zip_archiver.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "runtime/text.h"
#include "zip/dir_manager.h"
#include "zip/entry_names.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

int32_t EntryAge(const TDirItem& item) {
  return static_cast<int32_t>(static_cast<uint32_t>(item.LastModDate) << 16 | item.LastModTime);
}

// The folders an entry's file needs; a folder entry is one of them itself,
// also when its name has no trailing separator.
WideString FoldersOf(const WideString& fileName, bool folderEntry) {
  if (folderEntry && !fileName.empty()) return WithTrailingBackslash(fileName);
  return PathOf(fileName);
}

}  // namespace

bool TZipBaseArchiver::NotifyOverallProgress(double progress, TZipProcessOperation operation,
                                             TZipProgressPhase phase) {
  bool cancel = cancelled_;
  DoOverallProgress(progress, operation, phase, cancel);
  cancelled_ = cancelled_ || cancel;
  return cancelled_;
}

bool TZipBaseArchiver::NotifyFileProgress(const WideString& entryName, double progress,
                                          TZipProcessOperation operation,
                                          TZipProgressPhase phase) {
  bool cancel = cancelled_;
  DoFileProgress(entryName, progress, operation, phase, cancel);
  cancelled_ = cancelled_ || cancel;
  return cancelled_;
}

void TZipBaseArchiver::ProcessSelected(TZipProcessOperation operation) {
  const TZipProcessGuard guard;
  processedCount_ = 0;
  selectedCount_ = 0;
  cancelled_ = false;
  readSpans_.Clear();
  const TZipDirArray& items = dirManager_->Items();
  for (int i = 0; i < items.Count(); ++i)
    if (items.Item(i).Selected) ++selectedCount_;

  ReserveDecodeBuffers();
  bool aborted = false;
  if (!NotifyOverallProgress(0.0, operation, ppStart)) {
    // Handlers may change the directory: its size is read on every pass.
    for (int i = 0; i < dirManager_->Items().Count(); ++i) {
      TDirItem& item = dirManager_->Items().ItemPtr(i);
      if (!item.Selected) continue;
      item.PendingOperation = static_cast<uint8_t>(operation);
      if (ProcessEntry(i, operation, aborted)) break;
    }
    NotifyOverallProgress(100.0, operation, ppEnd);
  }
  ReleaseDecodeBuffers();
  if ((cancelled_ || aborted) && updateDepth_ > 0) updateDepth_ = 0;
}

bool TZipBaseArchiver::ProcessEntry(int index, TZipProcessOperation operation, bool& aborted) {
  for (;;) {
    const WideString entryName = dirManager_->Items().Item(index).Name;
    const WideString name = WithBackslashes(entryName);
    try {
      bool confirm = true;
      DoConfirmProcessFile(name, operation, confirm);
      if (!confirm) return false;
      if (defaultBaseDir_.empty()) defaultBaseDir_ = FsCurrentDir();
      const WideString destination =
          WithTrailingBackslash(baseDir_.empty() ? defaultBaseDir_ : baseDir_);
      if (NotifyFileProgress(entryName, 0.0, operation, ppStart)) return true;
      ExtractEntry(index, name, destination);
      NotifyFileProgress(entryName, 100.0, operation, ppEnd);
    } catch (const EZipException& e) {
      TZipAction action = fxaIgnore;
      DoProcessFileFailure(name, operation, e.NativeError(), e.ErrorCode(), e.Message(), action);
      if (action == fxaRetry) continue;
      if (action == fxaAbort) {
        aborted = true;
        return true;
      }
      return cancelled_;
    }
    if (cancelled_) return true;
    ++processedCount_;
    return false;
  }
}

void TZipBaseArchiver::ExtractEntry(int index, const WideString& name,
                                    const WideString& destination) {
  const TDirItem item = dirManager_->Items().GetItem(index);
  WideString fileName = name;
  uint32_t attributes = item.ExternalAttributes;
  DoExtractFile(fileName, attributes, item.Comment);
  // A name from the archive may not leave the destination; one that the
  // application's handler chose is taken as the application meant it.
  if (fileName == name && LeavesDestination(fileName))
    throw EZipException(neCannotCreateFile, this, {fileName});

  WideString folder = destination;
  if (fileName.find(u':') != WideString::npos || fileName.find(u"\\\\") != WideString::npos)
    folder.clear();
  const bool folderEntry = IsFolderEntry(item);
  if (!options_.CreateDirs()) {
    fileName = NameOf(fileName);
  } else {
    bool made = false;
    try {
      made = FsForceDirectories(folder + FoldersOf(fileName, folderEntry));
    } catch (const rt::Exception&) {
    }
    if (!made)
      throw EZipException(neCannotCreateFolder, this,
                          {folder + FoldersOf(rt::ThroughAnsi(fileName), folderEntry)});
  }
  if (folderEntry) return;

  WideString fullName = folder + fileName;
  const bool exists = FsFileExists(fullName);
  if (exists) {
    const uint32_t existing = FsGetAttributes(fullName);
    if (!options_.ReplaceReadOnly() && existing != kInvalidAttributes &&
        (existing & kFaReadOnly) != 0)
      return;
    switch (options_.OverwriteMode()) {
      case omPrompt: {
        bool confirm = true;
        DoConfirmOverwrite(fileName, fullName, confirm);
        if (!confirm) return;
        break;
      }
      case omAlways:
        break;
      case omNever:
        return;
      case omIfNewer:
        if (!(FsFileAge(fullName) < EntryAge(item))) return;
        break;
      case omIfOlder:
        if (!(FsFileAge(fullName) > EntryAge(item))) return;
        break;
    }
  }

  std::unique_ptr<TWideFileStream> stream;
  try {
    if (exists) {
      FsSetAttributes(fullName, 0);
      FsDeleteFile(fullName);
    }
    stream = std::make_unique<TWideFileStream>(fullName, kFmCreate);
  } catch (const rt::Exception&) {
    throw EZipException(neCannotCreateFile, this, {fullName});
  }

  std::exception_ptr failure;
  try {
    DecodeEntry(index, *stream);
  } catch (...) {
    failure = std::current_exception();
  }
  FsSetFileTime(stream->Handle(), EntryAge(item));
  // Other drives are left to the system's own write-back.
  if (options_.FlushBuffers() && IsRemovablePath(fullName)) rt::HandleFlush(stream->Handle());
  stream.reset();
  if (skipCurrent_ || cancelled_ || failure)
    FsDeleteFile(fullName);
  else if (options_.SetAttributes())
    FsSetAttributes(fullName, attributes);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace zip
