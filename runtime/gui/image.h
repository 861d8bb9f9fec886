// Pictures: a bitmap painted by the parent. AutoSize fits the control to
// the picture; Transparent leaves out the colour of the picture's
// bottom-left pixel; Stretch and Center place it in larger bounds.
#pragma once

#include "runtime/gui/control.h"

namespace gui {

class TImage : public TGraphicControl {
 public:
  explicit TImage(rt::TComponent* owner);
  WideString ClassName() const override { return u"TImage"; }

  TPicture& Picture() { return picture_; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);

  void Paint(HDC dc) override;

 private:
  void PictureChanged();

  TPicture picture_;
  bool autoSize_ = false;
  bool transparent_ = false;
  bool stretch_ = false;
  bool center_ = false;
};

}  // namespace gui
