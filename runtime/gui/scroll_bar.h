// Scroll bar controls. Position stays within Min .. Max - PageSize + 1 (the
// last page shows the end); the framework moves it for the scroll
// notifications the bar sends and fires OnChange whenever it changes.
#pragma once

#include "runtime/gui/system_control.h"

namespace gui {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TSystemControl {
 public:
  explicit TScrollBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TScrollBar"; }

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int32_t Min() const { return min_; }
  void SetMin(int32_t value) { SetParams(position_, value, max_); }
  int32_t Max() const { return max_; }
  void SetMax(int32_t value) { SetParams(position_, min_, value); }
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value) { SetParams(value, min_, max_); }
  // Sets the three at once, so that no intermediate range clips the
  // position.
  void SetParams(int32_t position, int32_t min, int32_t max);
  int32_t SmallChange() const { return smallChange_; }
  void SetSmallChange(int32_t value) { smallChange_ = value; }
  int32_t LargeChange() const { return largeChange_; }
  void SetLargeChange(int32_t value) { largeChange_ = value; }
  int32_t PageSize() const { return pageSize_; }
  void SetPageSize(int32_t value);

  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  int32_t LastPosition() const;
  void PushScrollInfo();
  void Scroll(WORD code);

  TScrollBarKind kind_ = sbHorizontal;
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t position_ = 0;
  int32_t smallChange_ = 1;
  int32_t largeChange_ = 1;
  int32_t pageSize_ = 0;
};

}  // namespace gui
