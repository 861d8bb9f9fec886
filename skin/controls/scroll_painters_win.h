// Skinned scroll bars. A control with system scroll bars keeps them; the
// painter places a small window of its own (TWScrollbar) over each one in
// the control's parent, draws it from the skin and turns mouse input on
// it into the control's scroll messages. Scroll-bar controls are painted
// whole instead.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/gui/timer.h"
#include "runtime/gui/win_control.h"
#include "skin/controls/scroll_geometry_win.h"
#include "skin/controls/skin_control_win.h"

namespace skin {

// Draws a scroll bar from the skin: HorzScroll / VertScroll for the track,
// the Scrollbar object's arrow frames, HorzScrollThumb / VertScrollThumb.
void DrawSkinScrollBar(HDC dc, const TSkinModel& model, const TSkinData& data, const RECT& bar, bool vertical,
                       const SCROLLINFO& info, bool enabled, TScrollPart hot, TScrollPart pressed);

class TWScrollbar : public gui::TWinControl {
 public:
  // A bar for the target's horizontal or vertical system scroll bar.
  TWScrollbar(rt::TComponent* owner, TSkinData* data, HWND target, bool vertical);
  ~TWScrollbar() override;
  rt::WideString ClassName() const override { return u"TWScrollbar"; }

  // Moves the window over the target's scroll bar, or hides it when the
  // target shows none or is hidden. Nothing is done when the bar is
  // where it should be.
  void Place();
  // Repaints the bar when what it shows (the target's scroll state) has
  // changed since it was last painted.
  void RefreshIfChanged();
  void Paint(HDC dc) override;
  void WndProc(gui::TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  void Scroll(int code, int64_t position = 0);
  void ScrollToThumb(int code, int64_t position);
  void StartRepeat();
  void Repeat();
  void Press(POINT p);
  void Drag(POINT p);
  void Release();
  void SetHot(TScrollPart part);
  void Redraw();
  int Bar() const { return vertical_ ? SB_VERT : SB_HORZ; }
  // The target's scroll info as the bar shows it (the dragged position
  // while the thumb is held).
  SCROLLINFO Info() const;
  bool BarEnabled() const;
  TScrollGeometry Geometry() const;

  TSkinData* data_;
  HWND target_;
  bool vertical_;
  TScrollPart hot_ = spNone;
  TScrollPart pressed_ = spNone;
  int dragOffset_ = 0;
  int64_t dragPosition_ = 0;
  bool trackingLeave_ = false;
  gui::TTimer repeat_;
  // What the bar showed at its last paint.
  SCROLLINFO shown_{};
  bool shownEnabled_ = false;
};

// A control with system scroll bars: two TWScrollbar windows kept over
// them on size, paint, scroll and wheel messages.
class TSkinScrollbar : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  ~TSkinScrollbar() override;
  rt::WideString ClassName() const override { return u"TSkinScrollbar"; }

  // Hooks the control's WindowProc (or, for a bare window, its procedure).
  virtual void AttachScrollbar(gui::TControl* control, TSkinData* data, TSkinFormFrame* skinForm);
  void AfterMessage(gui::TMessage& message) override;
  void Unskin() override;

  void UpdateBars();
  TWScrollbar* HorizontalBar() const { return horizontal_.get(); }
  TWScrollbar* VerticalBar() const { return vertical_.get(); }

 protected:
  void MakeBars();

 private:
  void DestroyBars();
  std::unique_ptr<TWScrollbar> horizontal_;
  std::unique_ptr<TWScrollbar> vertical_;
  bool addedClipSiblings_ = false;
};

// List views: as TSkinScrollbar; a report view's header gets its own
// painter.
class TSkinListView : public TSkinScrollbar {
 public:
  using TSkinScrollbar::TSkinScrollbar;
  rt::WideString ClassName() const override { return u"TSkinListView"; }
  void AttachScrollbar(gui::TControl* control, TSkinData* data, TSkinFormFrame* skinForm) override;
};

// One bar for a bare window (the list of a combo box).
class TSkinScrollbarH : public TSkinScrollbar {
 public:
  using TSkinScrollbar::TSkinScrollbar;
  rt::WideString ClassName() const override { return u"TSkinScrollbarH"; }
  void AttachWindow(HWND window, TSkinData* data, TSkinFormFrame* skinForm) override;
};

// Scroll-bar controls: painted whole by the painter; the control keeps
// its own mouse and keyboard handling.
class TSkinScControl : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinScControl"; }
  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

 private:
  TScrollGeometry Geometry() const;
  void SetHot(TScrollPart part);
  TScrollPart hot_ = spNone;
  TScrollPart pressed_ = spNone;
};

}  // namespace skin
