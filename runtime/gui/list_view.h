// List views, on the common control. Columns are given as "Caption" or
// "Caption=Width", items as "caption" or "caption|sub1|sub2" (the texts of
// the item's further columns in the report view).
#pragma once

#include <vector>

#include "runtime/gui/edit.h"
#include "runtime/gui/system_control.h"

namespace gui {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListView : public TSystemControl {
 public:
  explicit TListView(rt::TComponent* owner);
  WideString ClassName() const override { return u"TListView"; }

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  const std::vector<WideString>& Columns() const { return columns_; }
  void SetColumns(const std::vector<WideString>& columns);
  const std::vector<WideString>& Items() const { return items_; }
  void SetItems(const std::vector<WideString>& items);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool value);
  // A click selects the whole row of the report view.
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  void PushColumns();
  void PushItems();
  void PushExtendedStyle();

  TViewStyle viewStyle_ = vsIcon;
  std::vector<WideString> columns_;
  std::vector<WideString> items_;
  bool gridLines_ = false;
  bool rowSelect_ = false;
  TBorderStyle borderStyle_ = bsSingleBorder;
};

}  // namespace gui
