// How the engine finds and takes apart an archive's records: the searches
// that locate an archive inside a larger stream (a host executable, a
// self-extractor stub), the decoding of entry names and extra fields, and
// the rebuilding of a directory from local headers.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/classes.h"
#include "runtime/streams.h"
#include "zip/archive_records.h"
#include "zip/dir_item.h"

namespace zip {

class TZipDirArray;

// Where the end record was found and what it said.
struct TEndRecordLocation {
  int64_t Position = 0;
  TEndRecord Record;
  AnsiString Comment;
};

// The end record whose comment ends exactly at the end of the stream,
// searched backwards through the last 65,600 bytes. In a signed PE image
// the certificate table that ends the file is not part of the archive, so
// the search ends where that table begins.
std::optional<TEndRecordLocation> FindEndRecord(rt::TStream& stream);

// The certificate table that a signing tool appends to a PE image, as the
// image's security directory names it.
struct TCertificateTable {
  int64_t Offset = 0;
  int64_t Size = 0;
  // Where the security directory's 8 bytes lie in the file.
  int64_t DirectoryEntry = 0;
};

// The certificate table, when the stream starts with a well-formed PE
// header that names one.
std::optional<TCertificateTable> CertificateTable(rt::TStream& stream);

// Where the stream's archive data ends: the stream size, or the start of a
// PE image's trailing certificate table.
int64_t ArchiveDataEnd(rt::TStream& stream);

// Forward search for a 4-byte signature through fixed windows of the
// stream. Successive searches reuse the window they have and remember the
// last answer, so walking every hit of a stream reads it about once.
class TSignatureScanner {
 public:
  TSignatureScanner(rt::TStream& stream, uint32_t signature, int32_t window);
  // The position of the first hit at or after from, or -1.
  int64_t Next(int64_t from);

 private:
  rt::TStream& stream_;
  uint8_t signature_[4];
  int64_t size_;
  std::vector<uint8_t> buffer_;
  int64_t bufferStart_ = 0;
  int64_t bufferLength_ = 0;
  int64_t lastFrom_ = -1;
  int64_t lastHit_ = -1;
};

int64_t SearchForward(rt::TStream& stream, int64_t from, uint32_t signature, int32_t window);

// The entry name from its stored bytes: cut at the first zero byte, then
// from the OEM code page (when oemNames) or the ANSI code page to UTF-16.
WideString DecodeEntryName(const uint8_t* bytes, size_t length, bool oemNames);

// The names an entry's extra field may carry instead of its header name.
struct TExtraNames {
  std::optional<WideString> UnicodeName;  // "NU"/"NUCX" block
  std::optional<WideString> UnicodePath;  // 0x7075 block whose CRC fits
};

// Parses an extra field into item.ExtraFields (blocks truncated to what is
// left), reads the Zip64 block into the item and returns the alternative
// names. headerName is the stored name, whose CRC the 0x7075 block cites.
TExtraNames ParseExtraField(const uint8_t* extra, size_t length, const uint8_t* headerName,
                            size_t headerNameLength, TDirItem& item);

// Where the archive really begins: the position of item 0's local header,
// found by a forward search from its stored offset and checked against the
// central header; 0 when it cannot be found.
int64_t DetectStubSize(rt::TStream& stream, const TZipDirArray& items, int64_t endRecordPosition,
                       uint16_t totalEntries);

// Adds stubSize to the stored offsets when they count from the start of
// the archive rather than from the start of the stream.
void ApplyStubOffset(TZipDirArray& items, int64_t stubSize);

// Rebuilds the directory from the local headers of the stream. Raises
// error 24 for a multi-volume archive and error 18 when no local header
// exists, naming archiver in the message.
void RecoverDirectory(rt::TStream& stream, TZipDirArray& items, bool oemNames, bool multiVolume,
                      const rt::TComponent* archiver = nullptr);

}  // namespace zip
