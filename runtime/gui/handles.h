// Owners of Win32 handles: one move-only template with a traits class per
// kind of handle, and scoped helpers for device contexts, the objects
// selected into them, and COM initialisation. Nothing outside this header
// deletes a GDI object or destroys a window the framework made.
#pragma once

#include <windows.h>

#include <utility>

namespace gui {

// GDI objects created through GdiObject owners and not yet deleted. Tests
// compare it before and after to find leaks.
int LiveGdiObjects();

namespace detail {
void CountGdiObjects(int delta);
}

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {
    if (!Traits::IsEmpty(handle_)) Traits::Adopted(handle_);
  }
  // Moving hands the handle over as it is: it stays counted once.
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Empty())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::Empty());
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return !Traits::IsEmpty(handle_); }
  // Gives the handle up without closing it; the caller owns it now.
  Handle release() {
    Handle handle = handle_;
    if (!Traits::IsEmpty(handle)) Traits::Released(handle);
    handle_ = Traits::Empty();
    return handle;
  }
  void reset(Handle handle = Traits::Empty()) {
    if (!Traits::IsEmpty(handle_)) {
      Traits::Released(handle_);
      Traits::Close(handle_);
    }
    handle_ = handle;
    if (!Traits::IsEmpty(handle_)) Traits::Adopted(handle_);
  }

 private:
  Handle handle_ = Traits::Empty();
};

// Defaults for traits whose empty value is null and that keep no count.
template <class H>
struct NullEmptyTraits {
  using Handle = H;
  static constexpr H Empty() { return nullptr; }
  static bool IsEmpty(H h) { return h == nullptr; }
  static void Adopted(H) {}
  static void Released(H) {}
};

// Pens, brushes, fonts, bitmaps and regions: DeleteObject, counted.
template <class H>
struct GdiObjectTraits : NullEmptyTraits<H> {
  static void Adopted(H) { detail::CountGdiObjects(1); }
  static void Released(H) { detail::CountGdiObjects(-1); }
  static void Close(H h) { DeleteObject(h); }
};
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;

// Memory device contexts from CreateCompatibleDC.
struct MemoryDcTraits : NullEmptyTraits<HDC> {
  static void Close(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Windows this program created and must destroy.
struct WindowTraits : NullEmptyTraits<HWND> {
  static void Close(HWND window) { DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// Kernel handles: both null and INVALID_HANDLE_VALUE mean none.
struct KernelHandleTraits : NullEmptyTraits<HANDLE> {
  static bool IsEmpty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct HookTraits : NullEmptyTraits<HHOOK> {
  static void Close(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
using UniqueHook = UniqueHandle<HookTraits>;

struct MenuTraits : NullEmptyTraits<HMENU> {
  static void Close(HMENU menu) { DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<MenuTraits>;

// Icons made by CopyImage or CreateIconIndirect (not shared ones).
struct IconTraits : NullEmptyTraits<HICON> {
  static void Close(HICON icon) { DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

// A window's DC, released to the window it came from: its client area
// (GetDC) or the whole window, frame included (GetWindowDC).
template <HDC(WINAPI* Get)(HWND)>
class TBasicWindowDc {
 public:
  explicit TBasicWindowDc(HWND window) : window_(window), dc_(Get(window)) {}
  ~TBasicWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TBasicWindowDc(const TBasicWindowDc&) = delete;
  TBasicWindowDc& operator=(const TBasicWindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};
using TWindowDc = TBasicWindowDc<GetDC>;
using TWindowFrameDc = TBasicWindowDc<GetWindowDC>;

// BeginPaint and EndPaint.
class TPaintDc {
 public:
  explicit TPaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~TPaintDc() { EndPaint(window_, &paint_); }
  TPaintDc(const TPaintDc&) = delete;
  TPaintDc& operator=(const TPaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back. Declare it
// after the owner of the object, so that it is undone first.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC / RestoreDC around drawing that changes origin or clipping.
class TSavedDc {
 public:
  explicit TSavedDc(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
  ~TSavedDc() {
    if (state_) RestoreDC(dc_, state_);
  }
  TSavedDc(const TSavedDc&) = delete;
  TSavedDc& operator=(const TSavedDc&) = delete;

 private:
  HDC dc_;
  int state_;
};

// COM for the calling thread, single-threaded apartment: CoInitializeEx
// when the system offers it, else CoInitialize. Uninitialised at the end
// only when initialising succeeded.
class TComInitialization {
 public:
  TComInitialization();
  ~TComInitialization();
  TComInitialization(const TComInitialization&) = delete;
  TComInitialization& operator=(const TComInitialization&) = delete;

  HRESULT Result() const { return result_; }
  bool Succeeded() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace gui
