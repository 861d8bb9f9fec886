#include "zip/hashed_string_list.h"

#include <algorithm>

#include "runtime/text.h"

namespace zip {

namespace {
constexpr uint32_t kNameHashBuckets = 256;
constexpr uint32_t kMinValueHashBuckets = 1000;
constexpr int kMaxPerBucket = 5;
}  // namespace

TZipStringHash::TZipStringHash(uint32_t bucketCount) : buckets_(std::max<uint32_t>(bucketCount, 1)) {}

uint32_t TZipStringHash::HashOf(const WideString& key) const {
  uint32_t h = 0;
  for (unsigned char b : rt::WideToAnsi(key)) h = ((h << 2) | (h >> 30)) ^ b;
  return h;
}

void TZipStringHash::Add(const WideString& key, int32_t value) {
  buckets_[HashOf(key) % buckets_.size()].push_back({key, value});
}

int32_t TZipStringHash::ValueOf(const WideString& key) const {
  const auto& chain = buckets_[HashOf(key) % buckets_.size()];
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if (it->Key == key) return it->Value;
  return -1;
}

void TZipStringHash::Remove(const WideString& key) {
  auto& chain = buckets_[HashOf(key) % buckets_.size()];
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if (it->Key == key) {
      chain.erase(std::next(it).base());
      return;
    }
}

void TZipStringHash::Clear() {
  for (auto& chain : buckets_) chain.clear();
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
    valueHash_->Add(KeyOf(s), index);
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
  return valueHash_->ValueOf(KeyOf(s));
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
