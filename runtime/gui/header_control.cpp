#include "runtime/gui/header_control.h"

#include <commctrl.h>

#include "runtime/gui/caption_lists.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

constexpr int32_t kDefaultSectionWidth = 50;

}  // namespace

THeaderControl::THeaderControl(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 185, 17);
  SetAlign(alTop);
}

void THeaderControl::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = WC_HEADERW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= HDS_BUTTONS | HDS_HORZ;
}

void THeaderControl::HandleCreated() { PushSections(); }

void THeaderControl::SetSections(const std::vector<WideString>& sections) {
  sections_ = sections;
  PushSections();
}

void THeaderControl::PushSections() {
  if (!HandleAllocated()) return;
  while (SendToWindow(HDM_GETITEMCOUNT) > 0) SendToWindow(HDM_DELETEITEM, 0);
  for (size_t i = 0; i < sections_.size(); ++i) {
    const TCaptionWidth section = ParseCaptionWidth(sections_[i], kDefaultSectionWidth);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = section.Width;
    item.pszText = const_cast<wchar_t*>(rt::AsWchar(section.Caption));
    item.fmt = HDF_STRING | HDF_LEFT;
    SendToWindow(HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<NMHEADERW*>(message.LParam);
      // Which of the two the control sends depends on what the parent
      // answered to WM_NOTIFYFORMAT; the structures agree on iItem.
      if (header->hdr.code == HDN_ITEMCLICKW || header->hdr.code == HDN_ITEMCLICKA) {
        clickedSection_ = header->iItem;
        if (OnSectionClick) OnSectionClick(this);
        message.Result = 0;
        return;
      }
      break;
    }
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
