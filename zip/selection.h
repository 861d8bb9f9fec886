// Choosing entries of the in-memory directory by mask and attributes.
#pragma once

#include <cstdint>

#include "zip/dir_array.h"
#include "zip/zip_types.h"

namespace zip {

inline constexpr int kMaxFileMask = 259;

struct TInternalSearchRec {
  int32_t ItemNo = 0;
  WideString FileMask;  // "\" turned into "/"; at most kMaxFileMask characters
  bool HasWildcards = false;
  int32_t SearchAttr = 0;
  WideString ExclusionMask;  // kept with the search; it excludes nothing
  bool UseMaskLists = false;
};

struct TZipArchiveItem {
  WideString FileName;    // last component of the name
  WideString StoredPath;  // folder part, "\" separated, ending in "\"
  int64_t CompressedSize = 0;
  int64_t UncompressedSize = 0;
  double CompressionRate = 0;
  bool Encrypted = false;
  uint16_t LastModDate = 0;
  uint16_t LastModTime = 0;
  uint32_t Crc32 = 0;
  uint32_t ExternalAttributes = 0;
  AnsiString Comment;
  TInternalSearchRec Handle;
};

// The options that steer a search.
struct TZipSearchOptions {
  TZipStorePathMode StorePath = spRelativePath;
  bool Recurse = true;
};

// Character-level matching of a name against a pattern of "*" and "?";
// "/" and "\" are ordinary characters.
bool WildcardMatch(WideStringView name, WideStringView pattern, bool ignoreCase);
// The mask test of one name: "*.*" and "*" match everything, a mask ending
// in "." matches names without an extension.
bool MatchesMask(WideStringView name, WideStringView mask);
// Only the hidden, system, volume-label and folder bits can exclude.
bool AttributesAllowed(uint32_t entryAttributes, uint32_t searchAttributes);

// A search over items in directory order. Raises error 36 for a mask
// longer than kMaxFileMask characters.
bool FindFirst(const TZipDirArray& items, const TZipSearchOptions& options, const WideString& mask,
               TZipArchiveItem& item, uint32_t searchAttributes, const WideString& exclusionMask);
bool FindNext(const TZipDirArray& items, const TZipSearchOptions& options, TZipArchiveItem& item);
// Sets Selected on exactly the entries the search finds.
void MarkSelection(TZipDirArray& items, const TZipSearchOptions& options, const WideString& mask,
                   uint32_t searchAttributes, const WideString& exclusionMask);

}  // namespace zip
