#include "runtime/gui/memo.h"

#include "runtime/gui/caption_lists.h"

namespace gui {

namespace {

const WideString kLineBreak = u"\r\n";

}  // namespace

TMemo::TMemo(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 185, 89);
  SetColor(rt::clWindow);
  SetTabStop(true);
}

void TMemo::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  params.BaseClass = L"EDIT";
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  params.Style |= ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (!wordWrap_) params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (borderStyle_ == bsSingleBorder) params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::vector<WideString> TMemo::Lines() const { return SplitText(Text(), kLineBreak); }

void TMemo::SetLines(const std::vector<WideString>& lines) { SetText(JoinText(lines, kLineBreak)); }

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  RecreateWindow();
}

void TMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  RecreateWindow();
}

void TMemo::SetReadOnly(bool value) {
  readOnly_ = value;
  SendToWindow(EM_SETREADONLY, value);
}

void TMemo::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  ChangeExStyle(WS_EX_CLIENTEDGE, value == bsSingleBorder ? WS_EX_CLIENTEDGE : 0);
}

void TMemo::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
      return;
    case WM_SETTEXT:
      // A multi-line edit box sends no EN_CHANGE for text set by code.
      TSystemControl::WndProc(message);
      if (OnChange) OnChange(this);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      AnswerControlColors(message);
      return;
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
