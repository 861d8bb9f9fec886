#include "runtime/gui/handles.h"

#include <objbase.h>

namespace gui {

namespace {
int gLiveGdiObjects = 0;
}

int LiveGdiObjects() { return gLiveGdiObjects; }

void detail::CountGdiObjects(int delta) { gLiveGdiObjects += delta; }

TComInitialization::TComInitialization() {
  // Looked up rather than imported, so that a system whose COM library
  // lacks it still starts.
  using InitializeEx = HRESULT(WINAPI*)(LPVOID, DWORD);
  HMODULE ole = GetModuleHandleW(L"ole32.dll");
  auto* initializeEx =
      ole ? reinterpret_cast<InitializeEx>(reinterpret_cast<void*>(GetProcAddress(ole, "CoInitializeEx")))
          : nullptr;
  result_ = initializeEx ? initializeEx(nullptr, COINIT_APARTMENTTHREADED) : CoInitialize(nullptr);
}

TComInitialization::~TComInitialization() {
  if (Succeeded()) CoUninitialize();
}

}  // namespace gui
