#include "runtime/dialog_template_win.h"

#include <cstddef>

namespace rt {

namespace {
// Where DLGTEMPLATE keeps its item count, in words from the start.
constexpr size_t kItemCountWord = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);
}  // namespace

TDialogTemplate::TDialogTemplate(DWORD style, TDialogRect bounds, WideStringView caption, WORD fontPoints,
                                 WideStringView fontFace) {
  PutDword(style);
  PutDword(0);  // extended style
  Put(0);       // item count, counted up by AddItem
  PutBounds(bounds);
  Put(0);  // no menu
  Put(0);  // the default dialog class
  PutText(caption);
  if (style & DS_SETFONT) {
    Put(fontPoints);
    PutText(fontFace);
  }
}

void TDialogTemplate::AddItem(TDialogClass windowClass, WORD id, DWORD style, TDialogRect bounds,
                              WideStringView text) {
  AlignToDword();
  PutDword(style | WS_CHILD | WS_VISIBLE);
  PutDword(0);  // extended style
  PutBounds(bounds);
  Put(id);
  Put(0xFFFF);  // a predefined class by number follows
  Put(static_cast<WORD>(windowClass));
  PutText(text);
  Put(0);  // no creation data
  ++itemCount_;
  words_[kItemCountWord] = static_cast<WORD>(itemCount_);
}

void TDialogTemplate::PutDword(DWORD value) {
  Put(LOWORD(value));
  Put(HIWORD(value));
}

void TDialogTemplate::PutText(WideStringView text) {
  // The string ends at its first zero: anything after one would be read
  // as the fields that follow.
  text = text.substr(0, text.find(u'\0'));
  for (char16_t c : text) Put(static_cast<WORD>(c));
  Put(0);
}

void TDialogTemplate::PutBounds(const TDialogRect& bounds) {
  Put(static_cast<WORD>(bounds.X));
  Put(static_cast<WORD>(bounds.Y));
  Put(static_cast<WORD>(bounds.Width));
  Put(static_cast<WORD>(bounds.Height));
}

void TDialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) Put(0);
}

}  // namespace rt
