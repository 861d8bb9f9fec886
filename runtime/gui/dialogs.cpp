#include "runtime/gui/dialogs.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/gui/application.h"
#include "runtime/gui/button.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/label.h"
#include "runtime/gui/registration.h"
#include "runtime/stock_texts.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

// Like the system's message box, the dialog copies its caption and text to
// the clipboard when asked with WM_COPY: what a user pastes into a report.
class TMessageForm : public TForm {
 public:
  using TForm::TForm;
  WideString ClassName() const override { return u"TMessageForm"; }
  void SetMessageText(const WideString& text) { text_ = text; }

  void WndProc(TMessage& message) override {
    if (message.Msg == WM_COPY && HandleAllocated()) {
      CopyToClipboard(WindowHandle(), Caption() + u"\r\n\r\n" + text_);
      message.Result = 0;
      return;
    }
    TForm::WndProc(message);
  }

 private:
  static void CopyToClipboard(HWND owner, const WideString& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        // The clipboard owns the memory once it has taken it.
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
      } else {
        GlobalFree(memory);
      }
    }
    CloseClipboard();
  }

  WideString text_;
};

class TInputQueryForm : public TForm {
 public:
  using TForm::TForm;
  WideString ClassName() const override { return u"TInputQueryForm"; }
};

// The icon of a message dialog: a shared system icon, drawn at its size.
class TDialogIcon : public TGraphicControl {
 public:
  TDialogIcon(rt::TComponent* owner, HICON icon) : TGraphicControl(owner), icon_(icon) {}
  WideString ClassName() const override { return u"TDialogIcon"; }
  void Paint(HDC dc) override {
    if (icon_) DrawIconEx(dc, 0, 0, icon_, Width(), Height(), 0, nullptr, DI_NORMAL);
  }

 private:
  HICON icon_;
};

struct ButtonInfo {
  const char16_t* name;
  const char16_t* caption;
  TModalResult result;
};
constexpr ButtonInfo kButtons[] = {
    {u"Yes", rt::kSMsgDlgYes, mrYes},          {u"No", rt::kSMsgDlgNo, mrNo},
    {u"OK", rt::kSMsgDlgOK, mrOk},             {u"Cancel", rt::kSMsgDlgCancel, mrCancel},
    {u"Abort", rt::kSMsgDlgAbort, mrAbort},    {u"Retry", rt::kSMsgDlgRetry, mrRetry},
    {u"Ignore", rt::kSMsgDlgIgnore, mrIgnore}, {u"All", rt::kSMsgDlgAll, mrAll},
    {u"NoToAll", rt::kSMsgDlgNoToAll, mrNoToAll}, {u"YesToAll", rt::kSMsgDlgYesToAll, mrYesToAll},
};
constexpr const char16_t* kKindCaptions[] = {rt::kSMsgDlgWarning, rt::kSMsgDlgError,
                                             rt::kSMsgDlgInformation, rt::kSMsgDlgConfirm};

// The sizes of a dialog follow its font: x is a quarter of the average
// character width, y an eighth of the character height.
struct DialogUnits {
  int x = 6;
  int y = 13;
  int X(int n) const { return MulDiv(n, x, 4); }
  int Y(int n) const { return MulDiv(n, y, 8); }
};

DialogUnits MeasureUnits(const TFont& font) {
  DialogUnits units;
  TWindowDc screen(nullptr);
  if (!screen.get()) return units;
  TSelectObject select(screen.get(), font.Handle());
  TEXTMETRICW metrics;
  SIZE size;
  if (GetTextMetricsW(screen.get(), &metrics) &&
      GetTextExtentPoint32W(screen.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size)) {
    units.x = (size.cx / 26 + 1) / 2;
    units.y = metrics.tmHeight;
  }
  return units;
}

SIZE MeasureText(const TFont& font, const WideString& text, int maxWidth, UINT flags) {
  TWindowDc screen(nullptr);
  RECT r = {0, 0, maxWidth, 0};
  if (screen.get()) {
    TSelectObject select(screen.get(), font.Handle());
    const WideString shown = text.empty() ? WideString(u" ") : text;
    DrawTextW(screen.get(), rt::AsWchar(shown), static_cast<int>(shown.size()),
              &r, flags | DT_CALCRECT);
  }
  return {r.right - r.left, r.bottom - r.top};
}

// The system's font for message boxes.
void UseMessageFont(TFont& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
  const LOGFONTW& message = metrics.lfMessageFont;
  font.SetName(rt::AsChar16(message.lfFaceName));
  font.SetHeight(message.lfHeight);
  font.SetCharset(message.lfCharSet);
}

WideString DialogCaption(const WideString& caption, TMsgDlgType type) {
  if (!caption.empty()) return caption;
  if (ApplicationExists() && !Application().Title().empty()) return Application().Title();
  return type == mtCustom ? WideString() : WideString(kKindCaptions[type]);
}

void MakeDialogForm(TForm& form, const WideString& caption) {
  form.SetBorderStyle(bsDialog);
  form.SetBorderIcons(1u << biSystemMenu);
  form.SetPosition(poScreenCenter);
  UseMessageFont(form.Font());
  form.SetCaption(caption);
}

TButton* AddButton(TForm& form, const WideString& name, const WideString& caption, TModalResult result) {
  auto* button = new TButton(&form);
  button->SetName(name);
  button->SetCaption(caption);
  button->SetModalResult(result);
  button->SetParent(&form);
  return button;
}

// Buttons of a row share one width: the widest caption's, at least the
// standard button width.
int ButtonWidth(const std::vector<TButton*>& buttons, const DialogUnits& u, const TFont& font) {
  int width = u.X(50);
  for (TButton* b : buttons)
    width = std::max<int>(width, MeasureText(font, b->Caption(), 0, DT_SINGLELINE).cx + u.X(8));
  return width;
}

int ButtonRowWidth(const std::vector<TButton*>& buttons, const DialogUnits& u, const TFont& font) {
  const int count = static_cast<int>(buttons.size());
  return count * ButtonWidth(buttons, u, font) + (count - 1) * u.X(4);
}

// Places the buttons in a row, centred in clientWidth.
void PlaceButtons(const std::vector<TButton*>& buttons, const DialogUnits& u, const TFont& font,
                  int clientWidth, int top) {
  const int width = ButtonWidth(buttons, u, font);
  int left = (clientWidth - ButtonRowWidth(buttons, u, font)) / 2;
  for (TButton* b : buttons) {
    b->SetBounds(left, top, width, u.Y(14));
    left += width + u.X(4);
  }
}

}  // namespace

TModalResult ButtonResult(TMsgDlgBtn button) { return kButtons[button].result; }

std::unique_ptr<TForm> CreateMessageDialog(const WideString& text, TMsgDlgType type,
                                           TMsgDlgButtons buttons, const WideString& caption) {
  auto form = std::make_unique<TMessageForm>(nullptr);
  MakeDialogForm(*form, DialogCaption(caption, type));
  form->SetMessageText(text);
  const DialogUnits u = MeasureUnits(form->Font());
  const int margin = u.X(8);
  const int vmargin = u.Y(8);

  int textLeft = margin;
  int iconHeight = 0;
  if (type != mtCustom) {
    const LPCWSTR icons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION};
    auto* icon = new TDialogIcon(form.get(), LoadIconW(nullptr, icons[type]));
    icon->SetName(u"Image");
    icon->SetParent(form.get());
    const int size = GetSystemMetrics(SM_CXICON);
    icon->SetBounds(margin, vmargin, size, size);
    textLeft += size + u.X(10);
    iconHeight = size;
  }

  constexpr UINT kTextFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  const SIZE textSize = MeasureText(form->Font(), text, std::max(200, GetSystemMetrics(SM_CXSCREEN) / 2),
                                    kTextFlags);
  auto* label = new TLabel(form.get());
  label->SetName(u"Message");
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetShowAccelChar(false);
  label->SetParent(form.get());
  label->SetCaption(text);
  const int bodyHeight = std::max<int>(iconHeight, textSize.cy);
  label->SetBounds(textLeft, vmargin + (bodyHeight - textSize.cy) / 2, textSize.cx, textSize.cy);

  if (!buttons) buttons = MsgDlgButtons({mbOK});
  std::vector<TButton*> row;
  TButton* cancel = nullptr;
  TButton* no = nullptr;
  for (unsigned b = mbYes; b <= mbYesToAll; ++b) {
    if (!(buttons >> b & 1)) continue;
    const ButtonInfo& info = kButtons[b];
    TButton* button = AddButton(*form, info.name, info.caption, info.result);
    if (b == mbCancel) cancel = button;
    if (b == mbNo) no = button;
    row.push_back(button);
  }
  row.front()->SetDefault(true);
  if (TButton* escape = cancel ? cancel : no ? no : row.size() == 1 ? row.front() : nullptr)
    escape->SetCancel(true);

  const int buttonsTop = vmargin + bodyHeight + u.Y(10);
  const int clientWidth = std::max<int>(textLeft + textSize.cx + margin,
                                        ButtonRowWidth(row, u, form->Font()) + 2 * margin);
  PlaceButtons(row, u, form->Font(), clientWidth, buttonsTop);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonsTop + u.Y(14) + vmargin);
  form->SetActiveControl(row.front());
  return form;
}

TModalResult MessageDlg(const WideString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        const WideString& caption) {
  const auto dialog = CreateMessageDialog(text, type, buttons, caption);
  const TModalResult result = dialog->ShowModal();
  return result == mrNone ? mrCancel : result;
}

void ShowMessage(const WideString& text) { MessageDlg(text, mtCustom, MsgDlgButtons({mbOK})); }

bool InputQuery(const WideString& caption, const WideString& prompt, WideString& value) {
  auto form = std::make_unique<TInputQueryForm>(nullptr);
  MakeDialogForm(*form, caption);
  const DialogUnits u = MeasureUnits(form->Font());
  const int margin = u.X(8);
  const int vmargin = u.Y(8);

  auto* label = new TLabel(form.get());
  label->SetName(u"Prompt");
  label->SetParent(form.get());
  label->SetCaption(prompt);
  label->SetLeft(margin);
  label->SetTop(vmargin);

  const int editWidth = std::max<int>(u.X(164), label->Width());
  auto* edit = new TEdit(form.get());
  edit->SetName(u"Edit");
  edit->SetParent(form.get());
  edit->SetBounds(margin, label->Top() + label->Height() + u.Y(4), editWidth, u.Y(12) + 6);
  edit->SetText(value);

  const int clientWidth = editWidth + 2 * margin;
  const std::vector<TButton*> row = {AddButton(*form, u"OK", rt::kSMsgDlgOK, mrOk),
                                     AddButton(*form, u"Cancel", rt::kSMsgDlgCancel, mrCancel)};
  row[0]->SetDefault(true);
  row[1]->SetCancel(true);
  const int buttonsTop = edit->Top() + edit->Height() + u.Y(10);
  PlaceButtons(row, u, form->Font(), clientWidth, buttonsTop);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonsTop + u.Y(14) + vmargin);
  form->SetActiveControl(edit);
  form->OnShow = [edit](rt::TObject*) { edit->SelectAll(); };

  if (form->ShowModal() != mrOk) return false;
  value = edit->Text();
  return true;
}

WideString InputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue) {
  WideString value = defaultValue;
  InputQuery(caption, prompt, value);
  return value;
}

void RegisterDialogClasses() {
  rt::PublishClass<TMessageForm>("TMessageForm", "TForm");
  rt::PublishClass<TInputQueryForm>("TInputQueryForm", "TForm");
  rt::PublishClass<TDialogIcon>("TDialogIcon", "TGraphicControl");
}

}  // namespace gui
