#include "runtime/gui/status_bar.h"

#include <commctrl.h>

namespace gui {

TStatusBar::TStatusBar(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 185, 19);
  SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = STATUSCLASSNAMEW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  // The framework's alignment places and sizes the bar, not the bar itself.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::HandleCreated() {
  PushParts();
  for (int i = 0; i < PanelCount(); ++i) PushText(i);
  SendToWindow(SB_SETTEXTW, SB_SIMPLEID, TextParam(simpleText_));
  SendToWindow(SB_SIMPLE, simplePanel_);
}

void TStatusBar::PushParts() {
  if (!HandleAllocated() || panels_.empty()) return;
  std::vector<int> edges;
  int right = 0;
  for (const TPanelText& panel : panels_) {
    right = panel.Width < 0 ? -1 : right + panel.Width;
    edges.push_back(right);
    if (right < 0) break;
  }
  SendToWindow(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::PushText(int index) {
  SendToWindow(SB_SETTEXTW, static_cast<WPARAM>(index), TextParam(panels_[static_cast<size_t>(index)].Text));
}

int TStatusBar::AddPanel(const WideString& text, int32_t width) {
  panels_.push_back({text, width});
  PushParts();
  PushText(PanelCount() - 1);
  return PanelCount() - 1;
}

void TStatusBar::SetPanelText(int index, const WideString& text) {
  panels_.at(static_cast<size_t>(index)).Text = text;
  PushText(index);
}

void TStatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  SendToWindow(SB_SIMPLE, value);
}

void TStatusBar::SetSimpleText(const WideString& value) {
  simpleText_ = value;
  SendToWindow(SB_SETTEXTW, SB_SIMPLEID, TextParam(value));
}

void TStatusBar::SetSizeGrip(bool value) {
  sizeGrip_ = value;
  ChangeStyle(SBARS_SIZEGRIP, value ? SBARS_SIZEGRIP : 0);
}

}  // namespace gui
