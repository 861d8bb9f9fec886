// A wide string list with lazily built hashes of its strings, so that a
// directory of n names costs O(n) lookups while it is read.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "zip/wide_strings.h"

namespace zip {

struct THashItem {
  WideString Key;
  int32_t Value;
  int32_t Next;  // the next node of the chain, -1 at its end
};

class TZipStringHash {
 public:
  explicit TZipStringHash(uint32_t bucketCount);
  virtual ~TZipStringHash() = default;

  // The key in the system's ANSI code page, each byte folded in after a
  // 2-bit left rotation.
  virtual uint32_t HashOf(const WideString& key) const;

  // The newest node of equal keys is found first.
  void Add(const WideString& key, int32_t value);
  // -1 when absent. Keys compare code unit by code unit.
  int32_t ValueOf(const WideString& key) const;
  void Remove(const WideString& key);
  void Clear();
  uint32_t BucketCount() const { return static_cast<uint32_t>(buckets_.size()); }

 private:
  static constexpr int32_t kEnd = -1;

  // Chains are linked through one node array: a bucket holds the index of
  // its newest node. Removed nodes stay unused until Clear.
  std::vector<int32_t> buckets_;
  std::vector<THashItem> nodes_;
};

class TZipHashedStringList : public TWideStringList {
 public:
  WideString ClassName() const override { return u"TZipHashedStringList"; }

  int Add(const WideString& s) override;
  void Put(int index, const WideString& s) override;
  void Insert(int index, const WideString& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const WideString& s) const override;
  // The index of the first string whose part before "=" is name, or -1.
  int IndexOfName(const WideString& name) const;

  bool ValueHashValid() const { return valueHashValid_; }

 private:
  WideString KeyOf(const WideString& s) const;
  void Invalidate();

  // The hashes are caches: lookups on a const list may build them.
  mutable std::unique_ptr<TZipStringHash> valueHash_;
  mutable bool valueHashValid_ = false;
  mutable std::unique_ptr<TZipStringHash> nameHash_;
  mutable bool nameHashValid_ = false;
};

}  // namespace zip
