// Dialog templates built in memory: the header, then one item per control,
// laid out as DialogBoxIndirectParamW and CreateDialogIndirectParamW read
// them (words, strings of UTF-16 ending in a zero, every item on a
// four-byte boundary).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/strings.h"

namespace rt {

// The predefined classes a template can name by number.
enum class TDialogClass : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082, ListBox = 0x0083,
                                 ScrollBar = 0x0084, ComboBox = 0x0085 };

// A rectangle in dialog units. A dialog that places its controls itself,
// once it knows its font, leaves them all zero.
struct TDialogRect {
  int16_t X, Y, Width, Height;
};

class TDialogTemplate {
 public:
  // Positions and sizes are in dialog units. With DS_SETFONT in style the
  // font follows the caption.
  TDialogTemplate(DWORD style, TDialogRect bounds, WideStringView caption, WORD fontPoints = 8,
                  WideStringView fontFace = u"MS Shell Dlg");

  void AddItem(TDialogClass windowClass, WORD id, DWORD style, TDialogRect bounds, WideStringView text = {});

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  int ItemCount() const { return itemCount_; }
  // The template's size in bytes.
  size_t Size() const { return words_.size() * sizeof(WORD); }

 private:
  void Put(WORD word) { words_.push_back(word); }
  void PutDword(DWORD value);
  void PutText(WideStringView text);
  void PutBounds(const TDialogRect& bounds);
  void AlignToDword();

  // The buffer's start is aligned as operator new aligns, which is more
  // than the four bytes the template needs; offsets inside are kept so.
  std::vector<WORD> words_;
  int itemCount_ = 0;
};

}  // namespace rt
