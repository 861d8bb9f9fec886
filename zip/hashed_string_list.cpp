#include "zip/hashed_string_list.h"

#include <algorithm>

#include "runtime/text.h"

namespace zip {

namespace {
constexpr uint32_t kNameHashBuckets = 256;
constexpr uint32_t kMinValueHashBuckets = 1000;
constexpr int kMaxPerBucket = 5;
}  // namespace

TZipStringHash::TZipStringHash(uint32_t bucketCount)
    : buckets_(std::max<uint32_t>(bucketCount, 1), kEnd) {}

uint32_t TZipStringHash::HashOf(const WideString& key) const {
  // ASCII is the same bytes in every ANSI code page: only a key with other
  // characters needs the conversion.
  uint32_t h = 0;
  char16_t seen = 0;
  for (char16_t c : key) {
    h = ((h << 2) | (h >> 30)) ^ c;
    seen |= c;
  }
  if (seen < 0x80) return h;
  h = 0;
  for (unsigned char b : rt::WideToAnsi(key)) h = ((h << 2) | (h >> 30)) ^ b;
  return h;
}

void TZipStringHash::Add(const WideString& key, int32_t value) {
  int32_t& head = buckets_[HashOf(key) % buckets_.size()];
  nodes_.push_back({key, value, head});
  head = static_cast<int32_t>(nodes_.size() - 1);
}

int32_t TZipStringHash::ValueOf(const WideString& key) const {
  for (int32_t n = buckets_[HashOf(key) % buckets_.size()]; n != kEnd; n = nodes_[n].Next)
    if (nodes_[n].Key == key) return nodes_[n].Value;
  return -1;
}

void TZipStringHash::Remove(const WideString& key) {
  for (int32_t* link = &buckets_[HashOf(key) % buckets_.size()]; *link != kEnd;
       link = &nodes_[*link].Next) {
    if (nodes_[*link].Key == key) {
      THashItem& node = nodes_[*link];
      *link = node.Next;
      node.Key.clear();
      node.Key.shrink_to_fit();
      return;
    }
  }
}

void TZipStringHash::Clear() {
  std::fill(buckets_.begin(), buckets_.end(), kEnd);
  nodes_.clear();
}

WideString TZipHashedStringList::KeyOf(const WideString& s) const {
  return CaseSensitive() ? s : rt::LowerText(s);
}

void TZipHashedStringList::Invalidate() {
  valueHashValid_ = false;
  nameHashValid_ = false;
}

int TZipHashedStringList::Add(const WideString& s) {
  const int index = TWideStringList::Add(s);
  if (valueHash_ && valueHashValid_) {
    if (CaseSensitive())
      valueHash_->Add(s, index);
    else
      valueHash_->Add(rt::LowerText(s), index);
    // Past five strings a bucket the hash is rebuilt larger on next use.
    if (static_cast<uint64_t>(Count()) > uint64_t{kMaxPerBucket} * valueHash_->BucketCount()) {
      valueHash_.reset();
      valueHashValid_ = false;
    }
  }
  nameHashValid_ = false;
  return index;
}

void TZipHashedStringList::Put(int index, const WideString& s) {
  const WideString old = Get(index);
  TWideStringList::Put(index, s);
  if (valueHash_ && valueHashValid_) {
    valueHash_->Remove(KeyOf(old));
    valueHash_->Add(KeyOf(s), index);
  }
  nameHashValid_ = false;
}

void TZipHashedStringList::Insert(int index, const WideString& s) {
  TWideStringList::Insert(index, s);
  Invalidate();
}

void TZipHashedStringList::Delete(int index) {
  TWideStringList::Delete(index);
  Invalidate();
}

void TZipHashedStringList::Clear() {
  TWideStringList::Clear();
  if (valueHash_) valueHash_->Clear();
  nameHashValid_ = false;
}

int TZipHashedStringList::IndexOf(const WideString& s) const {
  if (!valueHash_) {
    valueHash_ = std::make_unique<TZipStringHash>(
        std::max<uint32_t>(static_cast<uint32_t>(Count()), kMinValueHashBuckets));
    valueHashValid_ = false;
  }
  if (!valueHashValid_) {
    valueHash_->Clear();
    for (int i = 0; i < Count(); ++i) valueHash_->Add(KeyOf(Get(i)), i);
    valueHashValid_ = true;
  }
  return CaseSensitive() ? valueHash_->ValueOf(s) : valueHash_->ValueOf(rt::LowerText(s));
}

int TZipHashedStringList::IndexOfName(const WideString& name) const {
  if (!nameHash_) {
    nameHash_ = std::make_unique<TZipStringHash>(kNameHashBuckets);
    nameHashValid_ = false;
  }
  if (!nameHashValid_) {
    nameHash_->Clear();
    for (int i = 0; i < Count(); ++i) {
      const WideString& s = Get(i);
      const size_t eq = s.find(u'=');
      if (eq != WideString::npos) nameHash_->Add(KeyOf(s.substr(0, eq)), i);
    }
    nameHashValid_ = true;
  }
  return nameHash_->ValueOf(KeyOf(name));
}

}  // namespace zip
