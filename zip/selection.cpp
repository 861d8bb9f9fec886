#include "zip/selection.h"

#include <algorithm>
#include <vector>

#include "runtime/text.h"
#include "zip/path_functions.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

// The recursive matcher. A "*" tries every split of the rest of the name;
// failed (name, pattern) positions are remembered so that patterns with
// many stars stay polynomial without changing any result.
class TWildcardMatcher {
 public:
  TWildcardMatcher(WideStringView name, WideStringView pattern, bool ignoreCase)
      : name_(ignoreCase ? rt::UpperText(name) : WideString(name)),
        pattern_(ignoreCase ? rt::UpperText(pattern) : WideString(pattern)) {}

  bool Match(size_t n, size_t p) {
    while (true) {
      if (pattern_.compare(p, WideString::npos, u"*") == 0) return true;
      if (n == name_.size()) return p == pattern_.size();
      if (p == pattern_.size()) return false;
      if (pattern_[p] == u'*') {
        if (Failed(n, p)) return false;
        for (size_t k = 0; k < name_.size() - n; ++k)
          if (Match(n + k, p + 1)) return true;
        MarkFailed(n, p);
        return false;
      }
      if (pattern_[p] != u'?' && !SameCharacter(name_[n], pattern_[p])) return false;
      ++n;
      ++p;
    }
  }

 private:
  // Code units that differ may still collate as equal in the user's locale.
  static bool SameCharacter(char16_t a, char16_t b) {
    return a == b || rt::CompareWide(WideStringView(&a, 1), WideStringView(&b, 1), false) == 0;
  }

  bool Failed(size_t n, size_t p) const {
    return !failed_.empty() && failed_[n * (pattern_.size() + 1) + p];
  }
  void MarkFailed(size_t n, size_t p) {
    if (failed_.empty()) failed_.resize((name_.size() + 1) * (pattern_.size() + 1));
    failed_[n * (pattern_.size() + 1) + p] = true;
  }

  WideString name_;
  WideString pattern_;
  std::vector<bool> failed_;
};

// The folder part of a "\" or ":" separated name, lower-cased.
WideString FolderKey(WideStringView name) { return rt::LowerText(PathOf(name)); }

bool EntryMatches(const TDirItem& entry, const TInternalSearchRec& search) {
  WideStringView n = entry.Name;
  if (!n.empty() && (n.back() == u'\\' || n.back() == u'/')) n.remove_suffix(1);
  return MatchesMask(n, search.FileMask) ||
         MatchesMask(NameOf(WithBackslashes(WideString(n))), search.FileMask);
}

void FillResult(const TDirItem& entry, TZipArchiveItem& item) {
  WideString name = WithBackslashes(entry.Name);
  if (!name.empty() && name.back() == u'\\') name.pop_back();
  item.FileName = NameOf(name);
  item.StoredPath = PathOf(name);
  item.CompressedSize = static_cast<int64_t>(entry.TrueCompressedSize());
  item.UncompressedSize = static_cast<int64_t>(entry.TrueUncompressedSize());
  item.CompressionRate =
      item.UncompressedSize > 0
          ? std::max(0.0, (1.0 - static_cast<double>(item.CompressedSize) /
                                     static_cast<double>(item.UncompressedSize)) * 100.0)
          : 100.0;
  item.Encrypted = entry.Flags & kFlagEncrypted;
  item.LastModDate = entry.LastModDate;
  item.LastModTime = entry.LastModTime;
  item.Crc32 = entry.Crc32;
  item.ExternalAttributes = entry.ExternalAttributes;
  item.Comment = entry.Comment;
}

bool SearchStep(const TZipDirArray& items, const TZipSearchOptions& options, TZipArchiveItem& item) {
  TInternalSearchRec& search = item.Handle;
  const WideString maskFolder =
      options.Recurse ? WideString() : FolderKey(rt::ThroughAnsi(WithBackslashes(search.FileMask)));
  for (int i = std::max(search.ItemNo, 0); i < items.Count(); ++i) {
    const TDirItem& entry = items.Item(i);
    if (!options.Recurse) {
      WideString name = entry.Name;
      if (!name.empty() && name.back() == u'/') name.pop_back();
      if (FolderKey(WithBackslashes(name)) != maskFolder) continue;
    }
    if (EntryMatches(entry, search) &&
        AttributesAllowed(entry.ExternalAttributes, static_cast<uint32_t>(search.SearchAttr))) {
      search.ItemNo = i;
      FillResult(entry, item);
      return true;
    }
  }
  return false;
}

}  // namespace

bool WildcardMatch(WideStringView name, WideStringView pattern, bool ignoreCase) {
  if (pattern == u"*.*") return true;
  return TWildcardMatcher(name, pattern, ignoreCase).Match(0, 0);
}

bool MatchesMask(WideStringView name, WideStringView mask) {
  if (mask.empty()) return false;
  WideString p(mask);
  if (const size_t star = p.find(u"*.*"); star != WideString::npos) p.erase(star + 1, 2);
  const bool noExtension = mask.back() == u'.';
  if (noExtension) p.pop_back();
  WideStringView compared = name;
  if (!compared.empty() && compared.back() == u'.') compared.remove_suffix(1);
  bool r = WildcardMatch(compared, p, true);
  if (r && noExtension) {
    const WideString ext = ExtOf(rt::ThroughAnsi(name));
    r = ext.empty() || ext == u".";
  }
  return r;
}

bool AttributesAllowed(uint32_t entryAttributes, uint32_t searchAttributes) {
  return (entryAttributes & 0x1E & ~searchAttributes) == 0;
}

bool FindFirst(const TZipDirArray& items, const TZipSearchOptions& options, const WideString& mask,
               TZipArchiveItem& item, uint32_t searchAttributes, const WideString& exclusionMask) {
  WideString fileMask = mask;
  const WideString drive = DriveOf(rt::ThroughAnsi(mask));
  if (!drive.empty() && options.StorePath != spFullPathWithDrive)
    fileMask.erase(0, std::min(drive.size(), fileMask.size()));
  std::replace(fileMask.begin(), fileMask.end(), u'\\', u'/');
  // A longer mask cannot be held by the search; cutting it would select
  // entries the caller did not ask for.
  if (fileMask.size() > kMaxFileMask) throw EZipException(neFileMaskTooLong, nullptr, {fileMask});
  TInternalSearchRec& search = item.Handle;
  search.FileMask = fileMask;
  search.ExclusionMask = exclusionMask;
  search.UseMaskLists = false;
  search.HasWildcards = fileMask.find_first_of(u"*?") != WideString::npos;
  search.SearchAttr = static_cast<int32_t>(searchAttributes);
  search.ItemNo = 0;
  return SearchStep(items, options, item);
}

bool FindNext(const TZipDirArray& items, const TZipSearchOptions& options, TZipArchiveItem& item) {
  ++item.Handle.ItemNo;
  return SearchStep(items, options, item);
}

void MarkSelection(TZipDirArray& items, const TZipSearchOptions& options, const WideString& mask,
                   uint32_t searchAttributes, const WideString& exclusionMask) {
  items.ClearSelection();
  TZipArchiveItem work;
  for (bool found = FindFirst(items, options, mask, work, searchAttributes, exclusionMask); found;
       found = FindNext(items, options, work))
    items.ItemPtr(work.Handle.ItemNo).Selected = 1;
}

}  // namespace zip
