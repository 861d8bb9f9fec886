// Labels: text painted by the parent, opaque in the label's colour (the
// parent's, by default) unless Transparent, wrapped at the label's width
// with WordWrap. AutoSize fits the label to its text: the height alone
// when the text wraps.
#pragma once

#include "runtime/gui/control.h"

namespace gui {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(rt::TComponent* owner);
  WideString ClassName() const override { return u"TLabel"; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // "&" marks an accelerator, as in buttons, unless switched off.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  void Paint(HDC dc) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;

 private:
  UINT TextFlags() const;
  void AdjustBounds();

  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool showAccelChar_ = true;
  TAlignment alignment_ = taLeftJustify;
};

}  // namespace gui
