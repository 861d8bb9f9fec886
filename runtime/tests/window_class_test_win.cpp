#include "runtime/window_class_win.h"

#include <gtest/gtest.h>

#include "runtime/tests/test_windows_win.h"
#include "runtime/wide_text_win.h"

namespace rt {
namespace {

// A class of this program's own under this name, unregistered with the object.
class TRegisteredClass {
 public:
  explicit TRegisteredClass(const WideString& name) : name_(name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = AsWchar(name_);
    registered_ = RegisterClassExW(&wc) != 0;
  }
  ~TRegisteredClass() {
    if (registered_) UnregisterClassW(AsWchar(name_), GetModuleHandleW(nullptr));
  }
  TRegisteredClass(const TRegisteredClass&) = delete;
  TRegisteredClass& operator=(const TRegisteredClass&) = delete;
  bool Registered() const { return registered_; }
  const wchar_t* Name() const { return AsWchar(name_); }

 private:
  WideString name_;
  bool registered_ = false;
};

TEST(WindowClassName, GivesTheWholeNameAsRegistered) {
  // A name as long as an atom's may be: nothing of it is cut.
  WideString longest = u"TQuimoraClase\u00f1";
  while (longest.size() < 255) longest.push_back(static_cast<char16_t>(u'a' + longest.size() % 26));
  for (const WideString& name : {WideString(u"TQuimoraPrueba"), longest}) {
    const TRegisteredClass windowClass(name);
    ASSERT_TRUE(windowClass.Registered()) << GetLastError();
    TOwnedWindow window = MakeTopLevelWindow(false, windowClass.Name());
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowClassName(window.get()), name);
  }
}

TEST(WindowClassName, IsEmptyForAWindowThatIsGone) {
  TOwnedWindow window = MakeTopLevelWindow(false);
  const HWND gone = window.get();
  window.reset();
  EXPECT_EQ(WindowClassName(gone), u"");
  EXPECT_EQ(WindowClassName(nullptr), u"");
}

}  // namespace
}  // namespace rt
