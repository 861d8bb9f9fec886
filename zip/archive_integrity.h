// Whether a stream holds one whole archive, checked before anything is
// extracted from it. Opening an archive salvages what it can (a directory
// rebuilt from the local headers that remain); a program that carries its
// own payload must instead refuse a copy that a download cut short, so this
// check answers yes or no, with the first defect found.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/streams.h"

namespace zip {

enum TArchiveDefect {
  adNone,
  adNoEndRecord,         // no end record ends the stream (or its data before a signature)
  adCertificateCut,      // a PE image's certificate table is not what ends the stream
  adMultiVolume,         // the archive says it is one volume of several
  adZip64RecordMissing,  // a Zip64 locator without its record
  adDirectoryOutside,    // the directory's size reaches before the start of the stream
  adOffsetMismatch,      // the stored directory offset lies after where the directory is
  adBadCentralHeader,    // a directory record is not one, or runs past the directory
  adCountMismatch,       // the records do not fill the directory's size as counted
  adLocalHeaderOutside,  // a local header lies outside the entries' part of the stream
  adBadLocalHeader,      // no local header signature where an entry's header is
  adDataOutside,         // an entry's data runs into the directory or past the stream
  adOverlap,             // two entries share bytes
};

struct TArchiveIntegrity {
  TArchiveDefect Defect = adNone;
  // Which record, and the numbers that disagree, in English.
  std::string Detail;
  // What a whole archive holds: its entries, the files among them (not
  // folders) and their uncompressed bytes.
  uint64_t EntryCount = 0;
  uint64_t FileCount = 0;
  uint64_t UncompressedSize = 0;
  // Where the archive's first record begins: the end of what the archive
  // was appended to.
  uint64_t ArchiveStart = 0;

  bool Whole() const { return Defect == adNone; }
};

// Checks that the stream ends with an end record (before a PE image's
// certificate table, if it has one), that its central directory reads as
// stored, with the count, size and offset that the end record gives, and
// that every entry's local header and data lie whole and apart before the
// directory. Never raises for what the stream holds.
TArchiveIntegrity CheckArchiveIntegrity(rt::TStream& stream);

}  // namespace zip
