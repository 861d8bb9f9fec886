#include "runtime/gui/tests/controls_on_a_form.h"

namespace gui::testing {

namespace {

TApplication* gApp = nullptr;

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { gApp = new TApplication; }
  void TearDown() override { delete gApp; }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    gApp->ProcessMessages();
    Sleep(5);
  }
}

LRESULT Send(TWinControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(control->Handle(), msg, wParam, lParam);
}

std::string PropertyText(rt::TObject& object, const char* name) {
  return rt::WideToUtf8(rt::GetPropertyText(object, name));
}

void ClickAt(HWND window, POINT point) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void ControlsOnAForm::SetUp() {
  form = new TForm(gApp);
  form->SetBounds(80, 80, 520, 420);
  form->Show();
  Pump();
}

void ControlsOnAForm::TearDown() {
  delete form;
  Pump(20);
}

}  // namespace gui::testing
