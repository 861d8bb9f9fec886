// The framework driven through real windows: forms built from stored data,
// keys posted to the focused window, the mouse moved over controls,
// dialogs found and clicked from a timer, pixels rendered into bitmaps.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/gui/application.h"
#include "runtime/gui/button.h"
#include "runtime/gui/dialogs.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/image.h"
#include "runtime/gui/label.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/timer.h"
#include "runtime/gui/tests/modal_watcher.h"
#include "runtime/tests/test_bmp_builder.h"
#include "tools/windriver/window_driver_win.h"

namespace gui {
namespace {

using rt::TFormIdent;
using rt::TFormObject;
using rt::TFormValue;

TApplication* gApp = nullptr;

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gApp = new TApplication;
    gApp->SetTitle(u"Prueba GUI");
  }
  void TearDown() override { delete gApp; }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// Handles messages until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    gApp->ProcessMessages();
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}
void Pump(DWORD ms = 60) { PumpUntil([] { return false; }, ms); }

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}
// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
bool HasDefaultStyle(TButton* button) {
  return (GetWindowLongPtrW(button->WindowHandle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

// A 4 x 4 picture, rows from the top: magenta (the bottom-left colour,
// hence transparent) around a blue centre.
std::vector<uint8_t> EmblemBmp() {
  rt::testbmp::BmpLayout s{.width = 4, .height = -4};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool centre = (x == 1 || x == 2) && (y == 1 || y == 2);
      s.pixels.insert(s.pixels.end(), {uint8_t{255}, uint8_t{0}, uint8_t(centre ? 0 : 255)});
    }
  return rt::testbmp::MakeBmp(s);
}

class TTestForm : public TForm {
 public:
  using TForm::TForm;
  WideString ClassName() const override { return u"TTestForm"; }

  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TImage* Image1 = nullptr;
  TButton* BotCancelar = nullptr;
  TButton* BotSiguiente = nullptr;
  TEdit* EditFiche = nullptr;
  TButton* button2 = nullptr;
  std::vector<std::string> clicks;
  bool created = false;

  void FormCreate(rt::TObject*) {
    created = true;
    Label1->SetCaption(u"Curso 2018/19");
    Panel1->SetColor(rt::RGBColor(243, 215, 156));
  }
  void BotSiguienteClick(rt::TObject*) { clicks.push_back("Instalar"); }
  void BotCancelarClick(rt::TObject*) { clicks.push_back("Cancelar"); }
  void button2Click(rt::TObject*) { clicks.push_back("Examinar"); }
};

TFormValue I(int64_t v) { return {v}; }
TFormValue S(const char16_t* s) { return {WideString(s)}; }
TFormValue Id(const char* name) { return {TFormIdent{name}}; }

TFormObject Button(const char* name, int left, int top, int width, int height, const char16_t* caption,
                   int tabOrder, const char* handler) {
  return {"TButton", name,
          {{"Left", I(left)}, {"Top", I(top)}, {"Width", I(width)}, {"Height", I(height)},
           {"Caption", S(caption)}, {"Font.Color", Id("clMaroon")}, {"Font.Height", I(-15)},
           {"Font.Name", S(u"Times New Roman")}, {"TabOrder", I(tabOrder)}, {"OnClick", Id(handler)}},
          {}};
}

TFormObject StoredTestForm() {
  TFormObject label{"TLabel", "Label1",
                    {{"Left", I(296)}, {"Top", I(96)}, {"Caption", S(u"Curso 2009/10")},
                     {"Font.Height", I(-19)}, {"Font.Name", S(u"Arial")}, {"Transparent", Id("False")}},
                    {}};
  TFormObject image{"TImage", "Image1",
                    {{"Left", I(541)}, {"Top", I(32)}, {"AutoSize", Id("True")}, {"Transparent", Id("True")},
                     {"Picture.Bitmap", {rt::TFormBinary{EmblemBmp()}}}},
                    {}};
  TFormObject edit{"TEdit", "EditFiche",
                   {{"Left", I(200)}, {"Top", I(216)}, {"Width", I(313)}, {"Height", I(23)},
                    {"Font.Color", Id("clBlack")}, {"TabOrder", I(2)}},
                   {}};
  TFormObject panel{"TPanel", "Panel1",
                    {{"Align", Id("alClient")}, {"BevelOuter", Id("bvNone")}, {"TabOrder", I(0)}},
                    {label, image, Button("BotCancelar", 312, 296, 75, 25, u"Cancelar", 1, "BotCancelarClick"),
                     Button("BotSiguiente", 440, 296, 75, 25, u"Instalar", 0, "BotSiguienteClick"), edit,
                     Button("button2", 517, 216, 73, 27, u"Examinar...", 3, "button2Click")}};
  return {"TTestForm", "fmTest",
          {{"Left", I(208)}, {"Top", I(135)}, {"Width", I(719)}, {"Height", I(454)},
           {"Caption", S(u"El Quimora")}, {"Color", Id("clBtnFace")}, {"BorderStyle", Id("bsSizeable")},
           {"BorderIcons", {rt::TFormSet{{"biSystemMenu", "biMinimize", "biMaximize"}}}},
           {"Position", Id("poDesigned")}, {"Font.Name", S(u"MS Sans Serif")}, {"Font.Height", I(-11)},
           {"PixelsPerInch", I(96)}, {"OnCreate", Id("FormCreate")}},
          {panel}};
}

void RegisterTestForm() {
  rt::PublishClass<TTestForm>("TTestForm", "TForm")
      .Field("Panel1", &TTestForm::Panel1)
      .Field("Label1", &TTestForm::Label1)
      .Field("Image1", &TTestForm::Image1)
      .Field("BotCancelar", &TTestForm::BotCancelar)
      .Field("BotSiguiente", &TTestForm::BotSiguiente)
      .Field("EditFiche", &TTestForm::EditFiche)
      .Field("button2", &TTestForm::button2)
      .Handler("FormCreate", &TTestForm::FormCreate)
      .Handler("BotSiguienteClick", &TTestForm::BotSiguienteClick)
      .Handler("BotCancelarClick", &TTestForm::BotCancelarClick)
      .Handler("button2Click", &TTestForm::button2Click);
}

// Puts back the WindowProc of controls when the test ends, however it ends.
class TWindowProcsRestorer {
 public:
  void Save(TControl* control) { saved_.emplace_back(control, control->WindowProc); }
  ~TWindowProcsRestorer() {
    for (auto& [control, proc] : saved_) control->WindowProc = proc;
  }

 private:
  std::vector<std::pair<TControl*, TWndMethod>> saved_;
};

class StoredForm : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestForm();
    form = gApp->CreateForm<TTestForm>(StoredTestForm());
    form->Show();
    SetForegroundWindow(form->WindowHandle());
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->BotSiguiente->WindowHandle(); }));
  }
  void TearDown() override {
    delete form;
    Pump(20);
  }
  // Posts a key to the focused window, as the keyboard would.
  void Press(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    Pump();
  }
  TTestForm* form = nullptr;
};

TEST_F(StoredForm, OpensAsStoredWithEveryControlInPlace) {
  const HWND window = form->WindowHandle();
  EXPECT_EQ(windriver::ClassOf(window), L"TTestForm");
  EXPECT_EQ(WindowText(window), L"El Quimora");
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_TRUE(SameRect(r, {208, 135, 208 + 719, 135 + 454}))
      << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
  EXPECT_TRUE(form->created);

  RECT client;
  GetClientRect(window, &client);
  EXPECT_TRUE(SameRect(ChildRect(form->Panel1->WindowHandle()), client));

  struct Expected {
    TWinControl* control;
    const wchar_t* windowClass;
    const wchar_t* text;
    RECT bounds;
  };
  const Expected expected[] = {
      {form->BotCancelar, L"TButton", L"Cancelar", {312, 296, 387, 321}},
      {form->BotSiguiente, L"TButton", L"Instalar", {440, 296, 515, 321}},
      {form->EditFiche, L"TEdit", L"", {200, 216, 513, 239}},
      {form->button2, L"TButton", L"Examinar...", {517, 216, 590, 243}},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(rt::WideToUtf8(e.control->Name()));
    const HWND h = e.control->WindowHandle();
    EXPECT_EQ(GetParent(h), form->Panel1->WindowHandle());
    EXPECT_EQ(windriver::ClassOf(h), e.windowClass);
    EXPECT_EQ(WindowText(h), e.text);
    EXPECT_TRUE(SameRect(ChildRect(h), e.bounds));
  }
  EXPECT_EQ(form->Label1->Caption(), u"Curso 2018/19");
  // The picture sized the image to itself.
  EXPECT_EQ(form->Image1->Width(), 4);
  EXPECT_EQ(form->Image1->Height(), 4);
}

TEST_F(StoredForm, FocusStartsAtTheLowestTabOrderAndTabFollowsIt) {
  std::vector<UINT> editNotices;
  const TWndMethod saved = form->EditFiche->WindowProc;
  form->EditFiche->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_ENTER || m.Msg == CM_EXIT) editNotices.push_back(m.Msg);
    saved(m);
  };
  const HWND expected[] = {form->BotCancelar->WindowHandle(), form->EditFiche->WindowHandle(),
                           form->button2->WindowHandle(), form->BotSiguiente->WindowHandle()};
  for (HWND next : expected) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), next) << rt::WideToUtf8(TWinControl::FromHandle(GetFocus())->Name());
    EXPECT_EQ(form->ActiveControl()->WindowHandle(), GetFocus());
  }
  EXPECT_EQ(editNotices, (std::vector<UINT>{CM_ENTER, CM_EXIT}));
  form->EditFiche->WindowProc = saved;
}

TEST_F(StoredForm, TheFocusedPushButtonIsTheDefaultButton) {
  EXPECT_TRUE(HasDefaultStyle(form->BotSiguiente));
  EXPECT_FALSE(HasDefaultStyle(form->BotCancelar));
  Press(VK_RETURN);
  EXPECT_EQ(form->clicks, (std::vector<std::string>{"Instalar"}));

  form->BotCancelar->SetFocus();
  Pump();
  EXPECT_TRUE(HasDefaultStyle(form->BotCancelar));
  EXPECT_FALSE(HasDefaultStyle(form->BotSiguiente));
  Press(VK_RETURN);
  EXPECT_EQ(form->clicks.back(), "Cancelar");

  // In the edit box, with no Default or Cancel button, Enter and Escape
  // do nothing.
  form->EditFiche->SetFocus();
  Pump();
  EXPECT_FALSE(HasDefaultStyle(form->BotCancelar) || HasDefaultStyle(form->BotSiguiente));
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_EQ(form->clicks.size(), 2u);
  EXPECT_EQ(form->EditFiche->Text(), u"");

  form->button2->SetDefault(true);
  form->BotCancelar->SetCancel(true);
  EXPECT_TRUE(HasDefaultStyle(form->button2));
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_EQ(form->clicks, (std::vector<std::string>{"Instalar", "Cancelar", "Examinar", "Cancelar"}));
}

TEST_F(StoredForm, AReplacedWindowProcSeesEverythingUntilItIsPutBack) {
  TButton* button = form->BotCancelar;
  const TWndMethod saved = button->WindowProc;
  std::vector<UINT> seen;
  bool swallowText = false;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT || m.Msg == CN_COMMAND) seen.push_back(m.Msg);
    if (m.Msg == WM_SETTEXT && swallowText) {
      m.Result = TRUE;
      return;
    }
    saved(m);
  };
  button->SetCaption(u"Salir");
  EXPECT_EQ(WindowText(button->WindowHandle()), L"Salir");
  SendMessageW(button->WindowHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->clicks, (std::vector<std::string>{"Cancelar"}));  // reflected, then passed on
  swallowText = true;
  button->SetCaption(u"Nada");
  EXPECT_EQ(WindowText(button->WindowHandle()), L"Salir");
  EXPECT_EQ(seen, (std::vector<UINT>{WM_SETTEXT, CN_COMMAND, WM_SETTEXT}));

  button->WindowProc = saved;
  seen.clear();
  button->SetCaption(u"Cancelar");
  EXPECT_EQ(WindowText(button->WindowHandle()), L"Cancelar");
  EXPECT_TRUE(seen.empty());
}

TEST_F(StoredForm, MouseEnterAndLeaveFollowTheMouse) {
  std::vector<std::string> log;
  TWindowProcsRestorer restorer;
  for (TControl* c : std::vector<TControl*>{form->BotCancelar, form->BotSiguiente, form->Label1}) {
    restorer.Save(c);
    const TWndMethod previous = c->WindowProc;
    const std::string name = rt::WideToUtf8(c->Name());
    c->WindowProc = [&log, previous, name](TMessage& m) {
      if (m.Msg == CM_MOUSEENTER) log.push_back("enter " + name);
      if (m.Msg == CM_MOUSELEAVE) log.push_back("leave " + name);
      previous(m);
    };
  }
  // The real cursor goes there, and the window under it hears of it.
  const auto moveOver = [&](TControl* c) {
    RECT r = c->BoundsRect();
    MapWindowPoints(c->Parent()->WindowHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(p.x, p.y);
    const HWND under = WindowFromPoint(p);
    ScreenToClient(under, &p);
    SendMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    const std::string entered = "enter " + rt::WideToUtf8(c->Name());
    return PumpUntil([&] { return !log.empty() && log.back() == entered; }, 1000);
  };
  ASSERT_TRUE(moveOver(form->BotCancelar));
  log.clear();
  ASSERT_TRUE(moveOver(form->BotSiguiente));
  EXPECT_EQ(log, (std::vector<std::string>{"leave BotCancelar", "enter BotSiguiente"}));
  log.clear();
  ASSERT_TRUE(moveOver(form->Label1));
  EXPECT_EQ(log, (std::vector<std::string>{"leave BotSiguiente", "enter Label1"}));
}

TEST_F(StoredForm, PublishedPropertiesReachTheLiveControls) {
  rt::SetPropertyText(*form->BotCancelar, "Caption", u"Salir");
  EXPECT_EQ(WindowText(form->BotCancelar->WindowHandle()), L"Salir");
  EXPECT_EQ(rt::GetPropertyText(*form->BotSiguiente, "Font.Color"), u"clMaroon");
  EXPECT_EQ(rt::GetPropertyText(*form->BotSiguiente, "MultiLine"), u"False");
  EXPECT_EQ(&rt::GetObjectProperty(*form->BotSiguiente, "Font"), &form->BotSiguiente->Font());
  EXPECT_EQ(rt::GetPropertyText(*form->Label1, "Transparent"), u"False");
  EXPECT_EQ(rt::GetPropertyText(*form->Panel1, "Color"), u"10278899");
  rt::SetPropertyText(*form->EditFiche, "Text", u"C:\\Quimora");
  EXPECT_EQ(WindowText(form->EditFiche->WindowHandle()), L"C:\\Quimora");
  EXPECT_FALSE(rt::HasProperty(*form->Label1, "Checked"));
}

using testing::TWatcher;
using testing::VisibleForm;

std::vector<std::wstring> ButtonTexts(HWND dialog) {
  std::vector<std::pair<LONG, std::wstring>> found;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (windriver::ClassOf(c) == L"TButton") found.emplace_back(ChildRect(c).left, WindowText(c));
  std::sort(found.begin(), found.end());
  std::vector<std::wstring> texts;
  for (auto& f : found) texts.push_back(f.second);
  return texts;
}

HWND ButtonWithText(HWND dialog, const wchar_t* text) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowText(c) == text) return c;
  return nullptr;
}

TEST_F(StoredForm, TheMessageDialogShowsItsButtonsTaskModally) {
  std::wstring caption;
  std::vector<std::wstring> buttons;
  WideString text;
  std::wstring copied;
  bool ownerDisabled = false;
  TWatcher watcher([&] {
    TForm* dialog = VisibleForm(L"TMessageForm");
    if (!dialog) return false;
    caption = WindowText(dialog->WindowHandle());
    buttons = ButtonTexts(dialog->WindowHandle());
    text = dynamic_cast<TControl*>(dialog->FindComponent(u"Message"))->Caption();
    ownerDisabled = !IsWindowEnabled(form->WindowHandle());
    SendMessageW(dialog->WindowHandle(), WM_COPY, 0, 0);
    copied = windriver::ClipboardText();
    SendMessageW(ButtonWithText(dialog->WindowHandle(), L"&Réessayer"), BM_CLICK, 0, 0);
    return true;
  });
  const TModalResult result =
      MessageDlg(u"Fichero dañado", mtConfirmation, MsgDlgButtons({mbAbort, mbRetry, mbIgnore}));
  EXPECT_EQ(result, mrRetry);
  EXPECT_EQ(caption, L"Prueba GUI");
  EXPECT_EQ(buttons, (std::vector<std::wstring>{L"&Abandonner", L"&Réessayer", L"&Ignorer"}));
  EXPECT_EQ(text, u"Fichero dañado");
  EXPECT_EQ(copied, L"Prueba GUI\r\n\r\nFichero dañado") << "what WM_COPY puts on the clipboard";
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(form->WindowHandle()));
}

TEST_F(StoredForm, DialogKeysAnswerTheMessageDialog) {
  struct Case {
    WPARAM key;
    TModalResult expected;
  };
  for (const Case c : {Case{VK_RETURN, mrYes}, Case{VK_ESCAPE, mrCancel}}) {
    bool focusOnFirst = false;
    TWatcher watcher([&] {
      TForm* dialog = VisibleForm(L"TMessageForm");
      if (!dialog || !GetFocus()) return false;
      focusOnFirst = WindowText(GetFocus()) == L"&Oui";
      PostMessageW(GetFocus(), WM_KEYDOWN, c.key, 1);
      return true;
    });
    EXPECT_EQ(MessageDlg(u"¿Seguro?", mtWarning, MsgDlgButtons({mbYes, mbNo, mbCancel})), c.expected);
    EXPECT_TRUE(focusOnFirst);
  }
}

TEST(ExceptionText, AFullStopIsAddedAfterCharactersThatSortAfterIt) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"Imposible abrir", u"Imposible abrir."}, {u"Fin.", u"Fin."},   {u"(00012)", u"(00012)"},
      {u"¿Qué?", u"¿Qué?."},                     {u"", u""},            {u"Ruta c:/", u"Ruta c:/."},
  };
  for (const auto& [message, shown] : cases)
    EXPECT_EQ(ExceptionMessageText(rt::Exception(message)), shown) << rt::WideToUtf8(message);
  EXPECT_EQ(ExceptionMessageText(std::runtime_error("bad")), u"bad.");
}

TEST_F(StoredForm, AnExceptionInAHandlerIsShownAndTheWindowStays) {
  std::wstring caption;
  std::wstring text;
  int boxes = 0;
  TWatcher closeBoxes([&] {
    const HWND box = FindWindowW(L"#32770", L"Prueba GUI");
    if (!box) return false;
    ++boxes;
    caption = WindowText(box);
    wchar_t shown[256] = {};
    GetDlgItemTextW(box, 0xFFFF, shown, 256);
    text = shown;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return false;  // keeps watching: a second box would be counted
  });
  form->BotSiguiente->OnClick = [](rt::TObject*) { throw rt::Exception(u"Imposible abrir"); };
  Press(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return boxes > 0; }));
  Pump(200);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(caption, L"Prueba GUI");
  EXPECT_EQ(text, L"Imposible abrir.");
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));

  form->BotSiguiente->OnClick = [](rt::TObject*) { throw rt::EAbort(); };
  Press(VK_RETURN);
  Pump(300);
  EXPECT_EQ(boxes, 1);  // a silent abort shows nothing
}

// The client area of a windowed control, as 0x00RRGGBB pixels.
class TRendering {
 public:
  explicit TRendering(TWinControl& control) {
    RECT client;
    GetClientRect(control.WindowHandle(), &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    {
      TSelectObject select(dc.get(), bitmap.get());
      SendMessageW(control.WindowHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
      GdiFlush();
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    pixels_.assign(pixels, pixels + width_ * height_);
  }
  uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)] & 0xFFFFFF; }
  bool AnyIn(const RECT& r, uint32_t rgb) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) == rgb) return true;
    return false;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

constexpr uint32_t kPanelRgb = 0xF3D79C;

TEST_F(StoredForm, LabelsAndPicturesArePaintedOverThePanelInCreationOrder) {
  TPanel& panel = *form->Panel1;
  auto* first = new TLabel(form);
  first->SetParent(&panel);
  first->SetAutoSize(false);
  first->SetBounds(20, 320, 40, 20);
  first->SetColor(rt::clWhite);
  auto* second = new TLabel(form);
  second->SetParent(&panel);
  second->SetAutoSize(false);
  second->SetBounds(40, 320, 40, 20);
  second->SetColor(rt::clYellow);
  second->SetTransparent(false);

  const TRendering r(panel);
  EXPECT_EQ(r.At(5, 300), kPanelRgb);
  EXPECT_EQ(r.At(25, 330), 0xFFFFFFu);
  EXPECT_EQ(r.At(45, 330), 0xFFFF00u);  // the later label covers the earlier one
  // The opaque label takes the panel's colour behind its black text.
  const RECT label = form->Label1->BoundsRect();
  EXPECT_EQ(r.At(label.left, label.top), kPanelRgb);
  EXPECT_TRUE(r.AnyIn(label, 0x000000));
  // The picture's bottom-left colour lets the panel show through.
  const RECT image = form->Image1->BoundsRect();
  EXPECT_EQ(r.At(image.left, image.top), kPanelRgb);
  EXPECT_EQ(r.At(image.left + 1, image.top + 1), 0x0000FFu);

  // The same on the screen, composed off-screen first.
  panel.SetDoubleBuffered(true);
  RedrawWindow(panel.WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  {
    const TWindowDc screen(panel.WindowHandle());
    EXPECT_EQ(GetPixel(screen.get(), 25, 330), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(screen.get(), 5, 300), RGB(243, 215, 156));
  }

  form->Image1->SetTransparent(false);
  second->SetTransparent(true);
  const TRendering opaque(panel);
  EXPECT_EQ(opaque.At(image.left, image.top), 0xFF00FFu);
  EXPECT_EQ(opaque.At(45, 330), 0xFFFFFFu);  // only the text of a transparent label is drawn
}

TEST_F(StoredForm, FormsAndDialogsLeaveNoGdiObjectsBehind) {
  // Painting makes the brushes and fonts that controls keep; they belong
  // to the form that stays.
  RedrawWindow(form->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  const int before = LiveGdiObjects();
  auto* other = gApp->CreateForm<TTestForm>(StoredTestForm());
  other->Show();
  UpdateWindow(other->WindowHandle());
  { const TRendering painted(*other->Panel1); }
  EXPECT_GT(LiveGdiObjects(), before);
  delete other;
  EXPECT_EQ(LiveGdiObjects(), before);

  TWatcher close([&] {
    TForm* dialog = VisibleForm(L"TMessageForm");
    if (dialog) dialog->Close();
    return dialog != nullptr;
  });
  EXPECT_EQ(MessageDlg(u"Listo", mtInformation, MsgDlgButtons({mbOK})), mrCancel);
  EXPECT_EQ(LiveGdiObjects(), before);
}

TEST(Application, InitialisesComAndKeepsAHiddenWindow) {
  EXPECT_TRUE(SUCCEEDED(gApp->ComResult()));
  // Already initialised for this thread, in the same apartment.
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();

  const HWND hidden = FindWindowW(L"TApplication", L"Prueba GUI");
  EXPECT_EQ(hidden, gApp->Handle());
  EXPECT_FALSE(IsWindowVisible(hidden));
  gApp->SetTitle(u"Otro título");
  EXPECT_EQ(WindowText(hidden), L"Otro título");
  gApp->SetTitle(u"Prueba GUI");
}

TEST(Application, TheScreenListsFormsInCreationOrder) {
  const int count = Screen().FormCount();
  auto* first = new TForm(gApp);
  auto* second = new TForm(gApp);
  ASSERT_EQ(Screen().FormCount(), count + 2);
  EXPECT_EQ(Screen().Forms(count), first);
  EXPECT_EQ(Screen().Forms(count + 1), second);
  delete first;
  EXPECT_EQ(Screen().Forms(count), second);

  // A form that is not the main one hides on Close, unless OnClose says
  // otherwise; Release frees it once its handlers are done.
  second->Show();
  second->OnClose = [](rt::TObject*, TCloseAction& action) { action = caNone; };
  second->Close();
  EXPECT_TRUE(IsWindowVisible(second->WindowHandle()));
  second->OnClose = nullptr;
  second->Close();
  EXPECT_FALSE(IsWindowVisible(second->WindowHandle()));
  second->Release();
  Pump();
  EXPECT_EQ(Screen().FormCount(), count);
}

// Our decoder against the system's, on the same bytes.
TEST(Bitmaps, DecodeAsTheSystemDrawsThem) {
  using rt::testbmp::BmpLayout;
  std::vector<BmpLayout> layouts;
  BmpLayout rgb24{.width = 3, .height = 2};
  rgb24.pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0};
  layouts.push_back(rgb24);
  BmpLayout fields32{.width = 2, .height = -2, .bitCount = 32, .compression = 3};
  fields32.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  fields32.pixels = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 250, 251, 252, 0};
  layouts.push_back(fields32);
  BmpLayout rgb565{.width = 2, .height = 1, .bitCount = 16, .compression = 3};
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = {0x34, 0x12, 0xFF, 0xFF};
  layouts.push_back(rgb565);
  BmpLayout rgb555{.width = 2, .height = 1, .bitCount = 16};
  rgb555.pixels = {0x1E, 0x00, 0x21, 0x43};
  layouts.push_back(rgb555);
  BmpLayout palette8{.width = 3, .height = 1, .bitCount = 8, .colorsUsed = 3,
                   .palette = {0x112233, 0x445566, 0xF3D79C}};
  palette8.pixels = {2, 0, 1, 0};
  layouts.push_back(palette8);
  BmpLayout mono{.width = 9, .height = 2, .bitCount = 1, .palette = {0x000000, 0xFFFFFF}};
  mono.pixels = {0xA5, 0x80, 0, 0, 0x5A, 0x00, 0, 0};
  layouts.push_back(mono);

  for (size_t i = 0; i < layouts.size(); ++i) {
    SCOPED_TRACE(i);
    const auto file = rt::testbmp::MakeBmp(layouts[i]);
    const rt::TBmpImage ours = rt::DecodeBmp(file);
    TBitmap target;
    target.LoadFromImage(rt::TBmpImage{ours.Width, ours.Height,
                                       std::vector<uint32_t>(ours.Pixels.size(), 0x12345678), false});
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    TSelectObject select(dc.get(), target.Handle());
    const uint32_t offset = file[10] | file[11] << 8 | file[12] << 16 | uint32_t{file[13]} << 24;
    SetDIBitsToDevice(dc.get(), 0, 0, ours.Width, ours.Height, 0, 0, 0, ours.Height, file.data() + offset,
                      reinterpret_cast<const BITMAPINFO*>(file.data() + 14), DIB_RGB_COLORS);
    GdiFlush();
    for (int y = 0; y < ours.Height; ++y)
      for (int x = 0; x < ours.Width; ++x)
        EXPECT_EQ(ours.Rgb(x, y), target.Pixel(x, y)) << x << "," << y;
  }
}

}  // namespace
}  // namespace gui
