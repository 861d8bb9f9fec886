#include "zip/wide_file_stream.h"

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"

namespace zip {

namespace {

FileHandle CreateOrOpen(const WideString& name, uint16_t mode) {
  return mode == kFmCreate ? FsCreateFile(name) : FsOpenFile(name, mode);
}

}  // namespace

// A file just opened or created is read and written from its start.
TWideFileStream::TWideFileStream(const WideString& name, uint16_t mode)
    : rt::THandleStream(CreateOrOpen(name, mode), 0) {
  if (handle_ != rt::kInvalidFileHandle) return;
  // Taken first: working out the full name is itself a system call that
  // may overwrite the error of the failed open.
  const int error = FsLastError();
  const WideString fullName = FsFullPath(name);
  const WideString reason = FsSysErrorMessage(error);
  if (mode == kFmCreate) throw rt::EFCreateError(rt::Format(rt::kSFCreateErrorEx, {fullName, reason}));
  throw rt::EFOpenError(rt::Format(rt::kSFOpenErrorEx, {fullName, reason}));
}

TWideFileStream::~TWideFileStream() {
  if (handle_ != rt::kInvalidFileHandle) rt::HandleClose(handle_);
}

}  // namespace zip
