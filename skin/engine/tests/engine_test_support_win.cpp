#include "skin/engine/tests/engine_test_support_win.h"

#include <gtest/gtest.h>

#include "runtime/gui/application.h"
#include "skin/engine/skin_engine_win.h"
#include "skin/windows/skin_manager_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace skin::testing {
namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    application_ = new gui::TApplication;
    RegisterSkinEngine();
  }
  void TearDown() override {
    DestroySkinManager();
    delete application_;
  }

 private:
  gui::TApplication* application_ = nullptr;
};

// Linked in with Pump, which every test program calls.
[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    gui::Application().ProcessMessages();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump(10);
  }
  return true;
}

bool AwaitSkinned(HWND window, bool skinned, DWORD timeoutMs) {
  return PumpUntil([&] { return (SendMessageW(window, SKINMSG_QUERY, 0, 0) == 1) == skinned; }, timeoutMs);
}

TSkinData* SkinOfThisFormOnly(gui::TForm& form, const rt::WideString& skinFile) {
  auto* data = new TSkinData(&form);
  data->SetSkinFormtype(sfOnlyThisForm);
  data->SetSkinFile(skinFile);
  return data;
}

bool ShowSkinned(gui::TForm& form, TSkinData& data, TSkinControlTypes kinds) {
  data.SetSkinControls(kinds);
  data.Loaded();
  data.SetActive(true);
  form.Show();
  SetForegroundWindow(form.Handle());
  return AwaitSkinned(form.Handle());
}

}  // namespace skin::testing
