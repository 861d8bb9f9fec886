// The in-memory central directory: an array of directory items with an
// index of their lower-cased names.
#pragma once

#include <cstdint>
#include <vector>

#include "zip/dir_item.h"
#include "zip/hashed_string_list.h"
#include "zip/zip_exception.h"

namespace zip {

class TZipDirArray {
 public:
  TZipDirArray();
  TZipDirArray(const TZipDirArray&) = delete;
  TZipDirArray& operator=(const TZipDirArray&) = delete;
  ~TZipDirArray();

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  int GrowBy() const { return growBy_; }

  // Grows geometrically (1,000, 2,000, 4,000, 8,000, then 10,000 at a
  // time); a count of 0 releases the storage and empties the name index.
  void SetCount(int n);
  TDirItem GetItem(int index) const;
  TDirItem& ItemPtr(int index);
  const TDirItem& Item(int index) const;
  void SetItem(int index, const TDirItem& item);
  // Renames item index, keeping the name index in step.
  void Rename(int index, WideString name);
  void Delete(int index);
  void Assign(const TZipDirArray& other);
  void Clear();
  void ClearSelection();

  // Index of the entry with this name, letter case ignored; the most
  // recently added of equal names; -1 when none.
  int IndexOfName(const WideString& name) const;
  const TZipHashedStringList& NameIndex() const { return nameIndex_; }

 private:
  void CheckIndex(int index, TZipNativeError native) const;
  static void FreeSource(TDirItem& item);

  std::vector<TDirItem> records_;  // the items counted so far, at most capacity_
  int capacity_ = 0;
  int count_ = 0;
  int growBy_ = 500;
  int maxGrowBy_ = 10000;
  TZipHashedStringList nameIndex_;
};

}  // namespace zip
