#include "zip/entry_names.h"

#include <algorithm>

#include "zip/file_layer.h"

namespace zip {

namespace {

// "..", "...", ".. " and the like: Windows drops trailing dots and blanks
// from a name, so all of them may come out as the parent folder.
bool IsParentLike(WideStringView component) {
  const auto dots = std::count(component.begin(), component.end(), u'.');
  return dots >= 2 && component.find_first_not_of(u". ") == WideStringView::npos;
}

}  // namespace

// Writers on Windows sometimes end a folder's name with "\" instead of
// "/"; a name that ends with a separator cannot be a file either way.
bool IsFolderEntry(const TDirItem& item) {
  return (item.ExternalAttributes & kFaDirectory) != 0 ||
         (!item.Name.empty() && (item.Name.back() == u'/' || item.Name.back() == u'\\'));
}

bool LeavesDestination(WideStringView name) {
  if (!name.empty() && name.front() == u'\\') return true;
  if (name.find(u':') != WideStringView::npos) return true;
  if (name.find(u"\\\\") != WideStringView::npos) return true;
  if (name.find(u'\0') != WideStringView::npos) return true;
  size_t start = 0;
  for (;;) {
    const size_t end = name.find(u'\\', start);
    if (IsParentLike(name.substr(start, end - start))) return true;
    if (end == WideStringView::npos) return false;
    start = end + 1;
  }
}

}  // namespace zip
