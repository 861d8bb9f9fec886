// Tab strips (page controls, tab controls, old-style tab sets) and header
// controls: each tab or section drawn from its skin object, the strip's
// background in the face colour.
#pragma once

#include "skin/controls/skin_control_win.h"

namespace skin {

class TSkinTab : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinTab"; }

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

  // Tabs frames: 1 normal, 2 selected, 3 disabled, 4 hot, 5 focused.
  static int TabFrame(bool selected, bool enabled, bool hot, bool focused);

 protected:
  // Tabs at the bottom edge (old-style tab sets).
  virtual bool AtBottom() const;
  // A body framed under the tabs (tab sets have none).
  virtual bool HasBody() const { return true; }
  void DrawTabs(HDC dc, const RECT& bounds);
  int PartAt(POINT clientPoint) const override;

 private:
  void SkinUpDown();
  bool upDownDone_ = false;
};

class TSkinTab31 : public TSkinTab {
 public:
  using TSkinTab::TSkinTab;
  rt::WideString ClassName() const override { return u"TSkinTab31"; }

 protected:
  bool AtBottom() const override { return true; }
  bool HasBody() const override { return false; }
};

class TSkinHeader : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  rt::WideString ClassName() const override { return u"TSkinHeader"; }

  bool BeforeMessage(gui::TMessage& message) override;
  void AfterMessage(gui::TMessage& message) override;
  void Draw(HDC dc, const RECT& bounds) override;

 protected:
  int PartAt(POINT clientPoint) const override;

 private:
  int pressed_ = -1;
};

}  // namespace skin
