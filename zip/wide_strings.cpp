#include "zip/wide_strings.h"

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/text.h"

namespace zip {

namespace {

[[noreturn]] void IndexError(int index) {
  throw rt::EListError(rt::Format(rt::kSListIndexError, {index}));
}

}  // namespace

int TWideStrings::IndexOf(const WideString& s) const {
  const WideString wanted = rt::LowerText(s);
  for (int i = 0; i < Count(); ++i)
    if (rt::LowerText(Get(i)) == wanted) return i;
  return -1;
}

void TWideStrings::Assign(const rt::TPersistent& source) {
  const auto* list = dynamic_cast<const TWideStrings*>(&source);
  if (!list) {
    rt::TPersistent::Assign(source);
    return;
  }
  if (list == this) return;
  Clear();
  for (int i = 0; i < list->Count(); ++i) Add(list->Get(i));
}

const WideString& TWideStringList::Get(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<size_t>(index)];
}

void TWideStringList::Put(int index, const WideString& s) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_[static_cast<size_t>(index)] = s;
}

int TWideStringList::Add(const WideString& s) {
  items_.push_back(s);
  return Count() - 1;
}

void TWideStringList::Insert(int index, const WideString& s) {
  if (index < 0 || index > Count()) IndexError(index);
  items_.insert(items_.begin() + index, s);
}

void TWideStringList::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  items_.erase(items_.begin() + index);
}

int TWideStringList::IndexOf(const WideString& s) const {
  if (!caseSensitive_) return TWideStrings::IndexOf(s);
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)] == s) return i;
  return -1;
}

}  // namespace zip
