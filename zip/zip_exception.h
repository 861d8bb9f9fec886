// The archive engine's exception: a numbered error whose message comes from
// a fixed table of texts, chosen through the number of the raising site.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/classes.h"
#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/strings.h"

namespace zip {

using rt::WideString;
using rt::WideStringView;

// The error codes: the index of an error's text in the message table.
enum TZipErrorCode : int32_t {
  zeUnknown = 0,
  zeIndexOutOfBounds = 1,
  zeInvalidCompressionMode = 2,
  zeNilPointer = 3,
  zeInvalidSizeOrCrc = 4,
  zeBlankFileName = 5,
  zeFileNotFound = 6,
  zeArchiveNotOpen = 7,
  zeNoSfxStub = 8,
  zeCannotCreateFile = 9,
  zeCannotCreateDirectory = 10,
  zeUpdateNotStarted = 11,
  zeCannotOpenFile = 12,
  zeUpdateNotEnded = 13,
  zeCannotDeleteFile = 14,
  zeInMemoryCreateOnly = 15,
  zeReadOnly = 16,
  zeInvalidCompressedSize = 17,
  zeInvalidArchive = 18,
  zeCannotCreateOutputFile = 19,
  zeArchiveIsOpen = 20,
  zeUnableToCreateDirectory = 21,
  zeNoZip64EndRecord = 22,
  zeZip64NotEnabled = 23,
  zeOpenAborted = 24,
  zeStreamWriteError = 25,
  zeStubTooLargeForVolume = 26,
  zeArchiveDamaged = 27,
  zeMakeSfxNotAllowed = 28,
  zeHasSfxStub = 29,
  zeMultiVolumeCustomStream = 30,
  zeMultiSpannedModification = 31,
  zeDeflate64 = 32,
  zeMakeSfxError = 33,
  zeHashedListInvalid = 34,
  zeCannotDeleteFolder = 35,
  zeFileNameTooLong = 36,
  zeMultipleTransactions = 37,
};

// The raising sites ("native errors") of the errors this engine raises;
// each site's number ends its message and decides its error code.
enum TZipNativeError : int32_t {
  neItemIndex = 1,             // setting an entry, or a negative count
  neGetItemIndex = 2,          // copying an entry
  neItemRefIndex = 3,          // reaching an entry
  neDeleteIndex = 4,           // deleting an entry
  neCompressionMode = 5,       // a compression mode above 9
  neEntryData = 8,             // an entry's data: size, CRC, method or overlap
  neOpenBlankName = 9,         // opening without a file name
  neOpenModeBlankName = 10,    // opening in a given mode without a file name
  neArchiveNotFound = 12,      // opening a file that does not exist
  neNotOpen = 13,              // extracting from a closed archive
  neDecodeIndex = 16,          // decoding an entry that does not exist
  neCannotCreateFile = 19,     // an output file
  neCannotCreateFolder = 20,   // an output folder
  neUpdateNotEnded = 26,       // extracting inside an update
  neInMemoryOpen = 28,         // opening an in-memory archive otherwise than new
  neInMemoryBlankName = 29,    // leaving memory for a file without a name
  neNoLocalHeaders = 35,       // rebuilding a directory that finds no entry
  neNoZip64EndRecord = 40,     // a Zip64 directory whose record is missing
  neRebuildMultiVolume = 44,   // rebuilding the directory of a multi-volume archive
  neVolumeRequestCancelled = 45,
  neStubLargerThanVolume = 47,
  neDeflate64 = 55,
  neNameIndexSet = 58,         // the name index out of step when setting an entry
  neNameIndexRename = 59,      // the name index out of step when renaming one
  neFileMaskTooLong = 61,
};

class EZipException : public rt::Exception {
 public:
  // nativeError names the raising site. When archiver is given and has a
  // component name, the message starts with that name; args fill the
  // table text's directives.
  explicit EZipException(TZipNativeError nativeError, const rt::TComponent* archiver = nullptr,
                         std::initializer_list<rt::FormatArg> args = {});

  // Index into the message table, 0 for a site the table does not know.
  int32_t ErrorCode() const { return errorCode_; }
  int32_t NativeError() const { return nativeError_; }

  static int32_t ErrorCodeOf(int32_t nativeError);
  // The table text for an error code; empty for a slot without text.
  static WideStringView MessageText(int32_t errorCode);

 private:
  int32_t errorCode_;
  int32_t nativeError_;
};

}  // namespace zip
