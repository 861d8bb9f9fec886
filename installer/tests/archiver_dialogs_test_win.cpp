// The archive engine's questions reach the user through the framework's
// message dialog and input box while the installer's provider is installed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "installer/archiver_dialogs_win.h"
#include "runtime/gui/application.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/tests/modal_watcher.h"

namespace installer {
namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

using gui::testing::TWatcher;
using gui::testing::VisibleForm;

HWND ChildWithText(HWND dialog, const wchar_t* text) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowText(c) == text) return c;
  return nullptr;
}

TEST(ArchiverDialogs, TheEngineAsksThroughTheFrameworksDialogsWhileInstalled) {
  gui::TApplication application;
  zip::TZipDialogProvider* const platform = &zip::Dialogs();
  {
    TArchiverDialogs dialogs;
    EXPECT_EQ(&zip::Dialogs(), &dialogs);

    TWatcher clickYesToAll([&] {
      gui::TForm* dialog = VisibleForm(L"TMessageForm");
      if (!dialog) return false;
      SendMessageW(ChildWithText(dialog->WindowHandle(), L"Oui à t&out"), BM_CLICK, 0, 0);
      return true;
    });
    EXPECT_EQ(zip::Dialogs().MessageDialog(
                  u"Overwrite file \"a\" with \"b\"", zip::mtConfirmation,
                  zip::ButtonSet({zip::mbYes, zip::mbNo, zip::mbNoToAll, zip::mbYesToAll})),
              zip::mrYesToAll);

    std::wstring caption;
    TWatcher typePassword([&] {
      gui::TForm* box = VisibleForm(L"TInputQueryForm");
      if (!box || !GetFocus()) return false;
      caption = WindowText(box->WindowHandle());
      dynamic_cast<gui::TEdit*>(box->FindComponent(u"Edit"))->SetText(u"secreto");
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);  // the edit has the focus: OK is Default
      return true;
    });
    rt::WideString value = u"a.txt";
    EXPECT_TRUE(zip::Dialogs().InputQuery(u"Password for \"a.txt\"", u"Enter password: ", value));
    EXPECT_EQ(value, u"secreto");
    EXPECT_EQ(caption, L"Password for \"a.txt\"");
  }
  EXPECT_EQ(&zip::Dialogs(), platform);
}

}  // namespace
}  // namespace installer
