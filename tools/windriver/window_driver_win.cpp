#include "tools/windriver/window_driver_win.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "runtime/gui/handles.h"
#include "runtime/wide_text_win.h"
#include "runtime/window_class_win.h"

namespace windriver {

TProgram::TProgram(const std::wstring& path, const std::wstring& currentFolder, const std::wstring& arguments,
                   TStart start) {
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info))
    throw std::runtime_error("cannot start the program");
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
  if (start == TStart::WaitForInput) WaitForInputIdle(process_.get(), 10000);
}

TProgram::~TProgram() {
  if (Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool TProgram::WaitForExit(std::chrono::milliseconds timeout) {
  return WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool TProgram::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD TProgram::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

namespace {

struct TWindowSearch {
  DWORD processId;
  const std::wstring* windowClass;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<TWindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && IsWindowVisible(window) &&
      (!search.windowClass || ClassOf(window) == *search.windowClass))
    search.found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TProgram::TopWindows(const std::wstring& windowClass) const {
  TWindowSearch search{processId_, &windowClass, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> TProgram::VisibleWindows() const {
  TWindowSearch search{processId_, nullptr, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TProgram::WaitForWindow(const std::wstring& windowClass, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopWindows(windowClass);
        if (!windows.empty()) found = windows.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

HWND TProgram::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::wstring ClassOf(HWND window) { return rt::WstringFromWide(rt::WindowClassName(window)); }

std::wstring TextOf(HWND window) {
  // Asked of the window itself: another process's edit box keeps its text
  // where GetWindowText does not look.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      5000, &copied);
  text.resize(copied);
  return text;
}

RECT ChildRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindDescendant(HWND parent, const std::wstring& windowClass, const std::wstring& text) {
  for (HWND window : Descendants(parent))
    if (ClassOf(window) == windowClass && TextOf(window) == text) return window;
  return nullptr;
}

std::vector<std::wstring> StaticTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND window : Descendants(dialog))
    if (ClassOf(window) == L"Static" && GetWindowTextLengthW(window) > 0) texts.push_back(TextOf(window));
  return texts;
}

void PressKey(HWND window, WPARAM key) {
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  PostMessageW(window, WM_KEYDOWN, key, 1 | static_cast<LPARAM>(scan) << 16);
  if (key == VK_RETURN || key == VK_ESCAPE)
    PostMessageW(window, WM_CHAR, key == VK_RETURN ? L'\r' : 0x1B, 1 | static_cast<LPARAM>(scan) << 16);
  PostMessageW(window, WM_KEYUP, key, 1 | static_cast<LPARAM>(scan) << 16 | 0xC0000000);
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SaveScreenshot(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  gui::TWindowDc screen(nullptr);
  gui::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  gui::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || !bits) throw std::runtime_error("cannot capture the screen");
  {
    gui::TSelectObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD pixels = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + pixels;
  info.bmiHeader.biSizeImage = pixels;
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), pixels);
  if (!out) throw std::runtime_error("cannot write the screenshot");
}

}  // namespace windriver
