#include "runtime/gui/tool_bar.h"

#include <commctrl.h>

namespace gui {

TToolBar::TToolBar(rt::TComponent* owner) : TSystemControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

void TToolBar::CreateParams(TCreateParams& params) {
  LoadCommonControls();
  TSystemControl::CreateParams(params);
  params.BaseClass = TOOLBARCLASSNAMEW;
  params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
  // The framework's alignment places and sizes the bar, not the bar itself.
  params.Style |= CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_LIST;
  if (flat_) params.Style |= TBSTYLE_FLAT;
}

void TToolBar::HandleCreated() {
  SendToWindow(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SendToWindow(TB_SETMAXTEXTROWS, showCaptions_ ? 1 : 0);
  for (int i = 0; i < ButtonCount(); ++i) PushButton(i);
}

void TToolBar::PushButton(int index) {
  if (!HandleAllocated()) return;
  // The string pool takes a list ended by an empty string.
  WideString pooled = buttons_[static_cast<size_t>(index)].Caption;
  pooled.push_back(u'\0');
  const LRESULT stringIndex = SendToWindow(TB_ADDSTRINGW, 0, TextParam(pooled));
  TBBUTTON button{};
  button.iBitmap = I_IMAGENONE;
  button.idCommand = CommandOf(index);
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
  button.iString = stringIndex;
  SendToWindow(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

int TToolBar::AddButton(const WideString& caption, TNotifyEvent onClick) {
  buttons_.push_back({caption, std::move(onClick)});
  PushButton(ButtonCount() - 1);
  return ButtonCount() - 1;
}

void TToolBar::SetFlat(bool value) {
  flat_ = value;
  ChangeStyle(TBSTYLE_FLAT, value ? TBSTYLE_FLAT : 0);
}

void TToolBar::SetShowCaptions(bool value) {
  showCaptions_ = value;
  SendToWindow(TB_SETMAXTEXTROWS, value ? 1 : 0);
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TToolBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND: {
      const int index = static_cast<int>(LOWORD(message.WParam)) - kFirstCommand;
      if (index >= 0 && index < ButtonCount()) {
        // A copy: the handler may add buttons.
        const TNotifyEvent handler = buttons_[static_cast<size_t>(index)].OnClick;
        if (handler) handler(this);
      }
      message.Result = 0;
      return;
    }
    case WM_ERASEBKGND: {
      // A flat bar lets its background through: it is the bar's colour.
      RECT client;
      GetClientRect(WindowHandle(), &client);
      FillRect(reinterpret_cast<HDC>(message.WParam), &client, ColorBrush());
      message.Result = 1;
      return;
    }
  }
  TSystemControl::WndProc(message);
}

}  // namespace gui
