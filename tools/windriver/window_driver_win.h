// Drives another process's windows from a test, the way a user would:
// starts the program, finds its windows, reads their texts, presses keys
// and buttons through posted messages, and takes screenshots of the
// desktop.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "runtime/gui/handles.h"

namespace windriver {

// A started program; it is ended when the object goes, should the test
// fail before the program quits by itself.
class TProgram {
 public:
  // Whether the start waits for the program to wait for input: a program
  // that shows no window (a silent run) never does.
  enum class TStart { WaitForInput, Return };
  // arguments follow the program's quoted path on its command line.
  TProgram(const std::wstring& path, const std::wstring& currentFolder, const std::wstring& arguments = {},
           TStart start = TStart::WaitForInput);
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  DWORD ProcessId() const { return processId_; }
  // Waits for the process to end; false when it is still running.
  bool WaitForExit(std::chrono::milliseconds timeout);
  bool Running() const;
  DWORD ExitCode() const;

  // The program's visible top-level windows of a class ("#32770" for
  // dialogs and message boxes).
  std::vector<HWND> TopWindows(const std::wstring& windowClass) const;
  // Every visible top-level window of the program, of any class.
  std::vector<HWND> VisibleWindows() const;
  // Waits for such a window; nullptr on time-out.
  HWND WaitForWindow(const std::wstring& windowClass, std::chrono::milliseconds timeout) const;
  // The window with the keyboard focus in the program's GUI thread.
  HWND FocusedWindow() const;

 private:
  gui::UniqueKernelHandle process_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
};

// Polls until condition holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
// The window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND window);
// The child windows of parent, all levels, in z-order.
std::vector<HWND> Descendants(HWND parent);
// The first descendant of that class and text, or nullptr.
HWND FindDescendant(HWND parent, const std::wstring& windowClass, const std::wstring& text);
// The texts of a dialog's static controls, in z-order.
std::vector<std::wstring> StaticTexts(HWND dialog);

// A key pressed and released as the keyboard sends it to the window.
void PressKey(HWND window, WPARAM key);
// Clicks a button without waiting for what the click starts.
void Click(HWND button);

// The text on the clipboard, empty when it holds none.
std::wstring ClipboardText();

// Writes the desktop as a 24-bit BMP file.
void SaveScreenshot(const std::wstring& path);

}  // namespace windriver
