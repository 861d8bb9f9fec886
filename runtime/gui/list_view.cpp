#include "runtime/gui/list_view.h"

#include <commctrl.h>

#include "runtime/gui/caption_lists.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

constexpr int32_t kDefaultColumnWidth = 50;

DWORD ViewBits(TViewStyle style) {
  switch (style) {
    case vsSmallIcon:
      return LVS_SMALLICON;
    case vsList:
      return LVS_LIST;
    case vsReport:
      return LVS_REPORT;
    case vsIcon:
      break;
  }
  return LVS_ICON;
}

}  // namespace

TListView::TListView(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetColor(rt::clWindow);
  SetTabStop(true);
}

void TListView::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = WC_LISTVIEWW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= ViewBits(viewStyle_) | LVS_SHOWSELALWAYS;
  if (borderStyle_ == bsSingleBorder) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::HandleCreated() {
  const COLORREF background = ColorToRGB(Color());
  SendToWindow(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  SendToWindow(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(background));
  SendToWindow(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font().Color())));
  PushExtendedStyle();
  PushColumns();
  PushItems();
}

void TListView::PushExtendedStyle() {
  const DWORD mask = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  const DWORD bits = (gridLines_ ? LVS_EX_GRIDLINES : 0) | (rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
  SendToWindow(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, bits);
}

void TListView::PushColumns() {
  if (!HandleAllocated()) return;
  while (SendToWindow(LVM_DELETECOLUMN, 0)) {
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    const TCaptionWidth column = ParseCaptionWidth(columns_[i], kDefaultColumnWidth);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.cx = column.Width;
    info.pszText = const_cast<wchar_t*>(rt::AsWchar(column.Caption));
    info.iSubItem = static_cast<int>(i);
    SendToWindow(LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&info));
  }
}

void TListView::PushItems() {
  if (!HandleAllocated()) return;
  SendToWindow(LVM_DELETEALLITEMS);
  for (size_t row = 0; row < items_.size(); ++row) {
    const std::vector<WideString> texts = SplitText(items_[row], u"|");
    const WideString caption = texts.empty() ? WideString() : texts[0];
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(rt::AsWchar(caption));
    const auto index = static_cast<WPARAM>(SendToWindow(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; column < texts.size(); ++column) {
      LVITEMW sub{};
      sub.iSubItem = static_cast<int>(column);
      sub.pszText = const_cast<wchar_t*>(rt::AsWchar(texts[column]));
      SendToWindow(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    }
  }
}

void TListView::SetViewStyle(TViewStyle value) {
  viewStyle_ = value;
  ChangeStyle(LVS_TYPEMASK, ViewBits(value));
}

void TListView::SetColumns(const std::vector<WideString>& columns) {
  columns_ = columns;
  PushColumns();
  // Sub-item texts live in columns: they went with the old ones.
  PushItems();
}

void TListView::SetItems(const std::vector<WideString>& items) {
  items_ = items;
  PushItems();
}

void TListView::SetGridLines(bool value) {
  gridLines_ = value;
  PushExtendedStyle();
}

void TListView::SetRowSelect(bool value) {
  rowSelect_ = value;
  PushExtendedStyle();
}

void TListView::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  ChangeExStyle(WS_EX_CLIENTEDGE, value == bsSingleBorder ? WS_EX_CLIENTEDGE : 0);
}

}  // namespace gui
