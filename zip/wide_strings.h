// Ordered lists of wide strings: the archiver's mask lists.
#pragma once

#include <vector>

#include "runtime/classes.h"
#include "runtime/strings.h"

namespace zip {

using rt::WideString;

class TWideStrings : public rt::TPersistent {
 public:
  WideString ClassName() const override { return u"TWideStrings"; }

  virtual int Count() const = 0;
  virtual const WideString& Get(int index) const = 0;
  virtual void Put(int index, const WideString& s) = 0;
  virtual int Add(const WideString& s) = 0;
  virtual void Insert(int index, const WideString& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int IndexOf(const WideString& s) const;

  // Whole-list assignment from another wide string list.
  void Assign(const rt::TPersistent& source) override;
};

class TWideStringList : public TWideStrings {
 public:
  WideString ClassName() const override { return u"TWideStringList"; }

  int Count() const override { return static_cast<int>(items_.size()); }
  const WideString& Get(int index) const override;
  void Put(int index, const WideString& s) override;
  int Add(const WideString& s) override;
  void Insert(int index, const WideString& s) override;
  void Delete(int index) override;
  void Clear() override { items_.clear(); }

  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value) { caseSensitive_ = value; }
  int IndexOf(const WideString& s) const override;

 private:
  std::vector<WideString> items_;
  bool caseSensitive_ = false;
};

}  // namespace zip
