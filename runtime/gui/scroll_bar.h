// Scroll bar controls. Position stays within Min .. Max - PageSize + 1 (the
// last page shows the end); the framework moves it for the scroll
// notifications the bar sends and fires OnChange whenever it changes.
#pragma once

#include "runtime/gui/range_control.h"

namespace gui {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TRangeControl {
 public:
  explicit TScrollBar(rt::TComponent* owner);
  WideString ClassName() const override { return u"TScrollBar"; }

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  // Min, Max and Position at once.
  using TRangeControl::SetParams;
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
  int32_t LastPosition() const override;
  void PushRange() override;
  void PositionSet(int32_t previous) override;
  void RangeSet(int32_t previous) override;

 private:
  void Changed(int32_t previous);
  void Scroll(WORD code);

  TScrollBarKind kind_ = sbHorizontal;
  int32_t smallChange_ = 1;
  int32_t largeChange_ = 1;
  int32_t pageSize_ = 0;
};

}  // namespace gui
