#include "zip/dir_array.h"

#include <algorithm>

#include "runtime/text.h"
#include "zip/zip_exception.h"

namespace zip {

// Every key is lower-cased before it reaches the index, so the index need
// not fold case again on each lookup.
TZipDirArray::TZipDirArray() { nameIndex_.SetCaseSensitive(true); }

TZipDirArray::~TZipDirArray() {
  for (int i = 0; i < count_; ++i) FreeSource(records_[i]);
}

void TZipDirArray::FreeSource(TDirItem& item) {
  if (item.OwnsSourceStream) delete item.SourceStream;
  item.SourceStream = nullptr;
  item.OwnsSourceStream = 0;
}

void TZipDirArray::CheckIndex(int index, TZipNativeError native) const {
  if (index < 0 || index >= count_) throw EZipException(native);
}

void TZipDirArray::SetCount(int n) {
  if (n < 0) throw EZipException(neItemIndex);
  if (capacity_ < n) {
    growBy_ = std::min(2 * growBy_, maxGrowBy_);
    capacity_ = std::max(capacity_ + growBy_, n);
  } else if (n == 0) {
    for (int i = 0; i < count_; ++i) FreeSource(records_[i]);
    records_.clear();
    records_.shrink_to_fit();
    capacity_ = 0;
    nameIndex_.Clear();
  }
  // The capacity is the room the growth steps give; an item itself is made
  // only when the count first reaches it, so that a directory of a few
  // entries does not build a thousand. Items beyond a smaller count stay
  // as they were.
  if (static_cast<size_t>(n) > records_.size()) records_.resize(static_cast<size_t>(n));
  count_ = n;
}

TDirItem TZipDirArray::GetItem(int index) const {
  CheckIndex(index, neGetItemIndex);
  return records_[index];
}

TDirItem& TZipDirArray::ItemPtr(int index) {
  CheckIndex(index, neItemRefIndex);
  return records_[index];
}

const TDirItem& TZipDirArray::Item(int index) const {
  CheckIndex(index, neItemRefIndex);
  return records_[index];
}

void TZipDirArray::SetItem(int index, const TDirItem& item) {
  CheckIndex(index, neItemIndex);
  const WideString key = rt::LowerText(item.Name);
  if (index < nameIndex_.Count())
    nameIndex_.Put(index, key);
  else if (index == nameIndex_.Count())
    nameIndex_.Add(key);
  else
    throw EZipException(neNameIndexSet);
  records_[index] = item;
}

void TZipDirArray::Rename(int index, WideString name) {
  TDirItem& item = ItemPtr(index);
  const int found = nameIndex_.IndexOf(rt::LowerText(item.Name));
  if (found < 0)
    nameIndex_.Add(rt::LowerText(name));
  else if (found == index)
    nameIndex_.Put(index, rt::LowerText(name));
  else
    throw EZipException(neNameIndexRename);
  item.Name = std::move(name);
}

void TZipDirArray::Delete(int index) {
  CheckIndex(index, neDeleteIndex);
  TDirItem& item = records_[index];
  FreeSource(item);
  const int named = nameIndex_.IndexOf(rt::LowerText(item.Name));
  if (named >= 0) nameIndex_.Delete(named);
  std::move(records_.begin() + index + 1, records_.begin() + count_, records_.begin() + index);
  records_[count_ - 1] = TDirItem();
  --count_;
}

void TZipDirArray::Assign(const TZipDirArray& other) {
  Clear();
  SetCount(other.Count());
  for (int i = 0; i < other.Count(); ++i) SetItem(i, other.GetItem(i));
}

void TZipDirArray::Clear() {
  for (int i = 0; i < count_; ++i) records_[i].ExtraFields.clear();
  count_ = 0;
  nameIndex_.Clear();
}

void TZipDirArray::ClearSelection() {
  for (int i = 0; i < count_; ++i) records_[i].Selected = 0;
}

int TZipDirArray::IndexOfName(const WideString& name) const {
  return nameIndex_.IndexOf(rt::LowerText(name));
}

}  // namespace zip
