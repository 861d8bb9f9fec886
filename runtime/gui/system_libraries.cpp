#include "runtime/gui/system_libraries.h"

#include <string>

#include "runtime/exceptions.h"
#include "runtime/format.h"
#include "runtime/stock_texts.h"
#include "runtime/wide_text_win.h"

namespace gui {

namespace {

// The LOAD_LIBRARY_SEARCH_* flags came with AddDllDirectory: Windows 8 and
// later, and Windows 7 with its update of the DLL search (KB2533623).
bool SystemFolderSearchKnown() {
  return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
}

std::wstring SystemFolderPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + name;
}

// DLLs that the program's manifest redirects to a side-by-side assembly.
bool RedirectedByManifest(const wchar_t* name) { return lstrcmpiW(name, L"comctl32.dll") == 0; }

template <class Function>
void Resolve(Function& slot, HMODULE module, const wchar_t* library, const char* name) {
  slot = reinterpret_cast<Function>(SystemFunction(module, library, name));
}

TCommonControlsApi LoadCommonControlsApi() {
  constexpr const wchar_t* kLibrary = L"comctl32.dll";
  const HMODULE module = LoadSystemLibrary(kLibrary);
  TCommonControlsApi api;
#define QUIMORA_RESOLVE(function) Resolve(api.function, module, kLibrary, #function)
  QUIMORA_RESOLVE(InitCommonControlsEx);
  QUIMORA_RESOLVE(ImageList_Create);
  QUIMORA_RESOLVE(ImageList_Destroy);
  QUIMORA_RESOLVE(ImageList_AddMasked);
  QUIMORA_RESOLVE(ImageList_GetImageCount);
  QUIMORA_RESOLVE(ImageList_GetIconSize);
  QUIMORA_RESOLVE(ImageList_Draw);
  QUIMORA_RESOLVE(ImageList_DrawEx);
  QUIMORA_RESOLVE(SetWindowSubclass);
  QUIMORA_RESOLVE(RemoveWindowSubclass);
  QUIMORA_RESOLVE(DefSubclassProc);
#undef QUIMORA_RESOLVE
  return api;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = nullptr;
  if (SystemFolderSearchKnown()) {
    // Side-by-side redirection still comes first, so the manifest's common
    // controls of version 6 are the ones loaded.
    module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else if (RedirectedByManifest(name)) {
    // Without the flags, the loader applies the manifest's redirection
    // before it looks in any folder; a full path would bypass it and load
    // the old common controls of the system folder instead.
    module = LoadLibraryW(name);
  } else {
    // A full path is looked for there and nowhere else.
    const std::wstring path = SystemFolderPath(name);
    if (!path.empty()) module = LoadLibraryW(path.c_str());
  }
  if (!module) throw rt::Exception(rt::Format(rt::kSSystemLibraryMissing, {rt::WideFromWchar(name)}));
  return module;
}

void* SystemFunction(HMODULE module, const wchar_t* library, const char* function) {
  // The generic pointer GetProcAddress returns is cast through void*, to
  // the function's own type by the caller.
  if (auto* address = reinterpret_cast<void*>(GetProcAddress(module, function))) return address;
  throw rt::Exception(rt::Format(rt::kSSystemFunctionMissing, {rt::Widen(function), rt::WideFromWchar(library)}));
}

const TCommonControlsApi& CommonControls() {
  static const TCommonControlsApi api = LoadCommonControlsApi();
  return api;
}

void LoadSystemLibraries() { CommonControls(); }

}  // namespace gui
