// Quimora 2018/19: the product the installer installs. One window that
// shows the product's name on the panel colour of the installer.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"QuimoraWindows18_19";
constexpr wchar_t kTitle[] = L"Quimora 2018/19";
constexpr COLORREF kPanelColour = RGB(243, 215, 156);
constexpr COLORREF kTextColour = RGB(92, 52, 22);

// Owns a GDI object and deletes it with itself.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }

 private:
  HGDIOBJ object_;
};

// Selects an object into a device context for its own lifetime.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

HFONT MakeFont(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const GdiObject background(CreateSolidBrush(kPanelColour));
  FillRect(dc, &client, static_cast<HBRUSH>(background.get()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);

  RECT title = client;
  title.bottom = (client.top + client.bottom) / 2;
  const GdiObject big(MakeFont(-36, FW_BOLD));
  {
    const Selection selected(dc, big.get());
    DrawTextW(dc, L"Quimora", -1, &title, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
  }
  RECT subtitle = client;
  subtitle.top = title.bottom + 8;
  const GdiObject small(MakeFont(-19, FW_NORMAL));
  const Selection selected(dc, small.get());
  DrawTextW(dc, L"Curso 2018/19", -1, &subtitle, DT_CENTER | DT_TOP | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;
  HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480,
                                320, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
