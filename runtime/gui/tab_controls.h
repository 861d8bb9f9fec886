// Tabs, on the common tab control. A tab control and a tab set show a row
// of tabs named by Tabs (a tab set along its bottom edge); a page control
// makes one tab per tab sheet placed in it, in creation order, puts the
// sheets in the area inside the tabs' frame and shows only the active one.
#pragma once

#include <vector>

#include "runtime/gui/system_control.h"

namespace gui {

class TCustomTabControl : public TSystemControl {
 public:
  explicit TCustomTabControl(rt::TComponent* owner);
  WideString ClassName() const override { return u"TCustomTabControl"; }

  // The selected tab, -1 for none.
  int32_t TabIndex() const;
  void SetTabIndex(int32_t value);
  // The area inside the tabs' frame, in the control's coordinates.
  RECT DisplayRect() const;

  // The user selected another tab.
  TNotifyEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  const std::vector<WideString>& TabCaptions() const { return tabs_; }
  void SetTabCaptions(const std::vector<WideString>& tabs);
  virtual void Change();

 private:
  void PushTabs();

  std::vector<WideString> tabs_;
  int32_t tabIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
 public:
  explicit TTabControl(rt::TComponent* owner) : TCustomTabControl(owner) {}
  WideString ClassName() const override { return u"TTabControl"; }

  const std::vector<WideString>& Tabs() const { return TabCaptions(); }
  void SetTabs(const std::vector<WideString>& tabs) { SetTabCaptions(tabs); }
};

class TTabSet : public TCustomTabControl {
 public:
  explicit TTabSet(rt::TComponent* owner);
  WideString ClassName() const override { return u"TTabSet"; }

  const std::vector<WideString>& Tabs() const { return TabCaptions(); }
  void SetTabs(const std::vector<WideString>& tabs) { SetTabCaptions(tabs); }

 protected:
  void CreateParams(TCreateParams& params) override;
};

class TPageControl;

// A page of a page control: a container painted in the page control's
// colour; its caption is its tab's.
class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(rt::TComponent* owner);
  ~TTabSheet() override;
  WideString ClassName() const override { return u"TTabSheet"; }

  void SetParent(TWinControl* parent) override;
  // The page control it sits in, or nullptr.
  TPageControl* PageControl() const;
  // Its place among the page control's sheets, -1 outside one.
  int32_t PageIndex() const;

  void WndProc(TMessage& message) override;
};

class TPageControl : public TCustomTabControl {
 public:
  explicit TPageControl(rt::TComponent* owner);
  WideString ClassName() const override { return u"TPageControl"; }

  int PageCount() const { return static_cast<int>(Sheets().size()); }
  TTabSheet* Pages(int index) const { return Sheets().at(static_cast<size_t>(index)); }
  int32_t ActivePageIndex() const { return TabIndex(); }
  void SetActivePageIndex(int32_t value);
  TTabSheet* ActivePage() const;

  void WndProc(TMessage& message) override;

 protected:
  void HandleCreated() override;
  void BoundsChanged(const RECT& previous) override;
  void Change() override;

 private:
  friend class TTabSheet;
  std::vector<TTabSheet*> Sheets() const;
  // A sheet came, went or changed its caption.
  void PagesChanged();
  void ShowActivePage();
};

}  // namespace gui
