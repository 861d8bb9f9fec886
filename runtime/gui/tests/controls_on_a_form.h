// What the control tests share: one application for the whole run, a
// shown form that each test puts its controls on, and the few calls they
// all make on the controls' windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/gui/application.h"
#include "runtime/gui/form.h"
#include "runtime/published.h"

namespace gui::testing {

// Handles the application's messages for that long.
void Pump(DWORD ms = 40);

LRESULT Send(TWinControl* control, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
std::string PropertyText(rt::TObject& object, const char* name);
// A press and release of the left button at a client point of the window.
void ClickAt(HWND window, POINT point);

class ControlsOnAForm : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control made by class name, as stored forms make them, on the form.
  template <class T = TWinControl>
  T* Make(const char* className) {
    auto* control = dynamic_cast<T*>(rt::CreateComponent(className, form));
    EXPECT_NE(control, nullptr) << className;
    if (control) control->SetParent(form);
    return control;
  }

  TForm* form = nullptr;
};

}  // namespace gui::testing
