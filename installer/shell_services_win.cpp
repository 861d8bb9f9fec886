#include "installer/shell_services.h"

#include <windows.h>
#include <shlobj.h>

#include "runtime/gui/application.h"
#include "runtime/gui/com_ptr.h"
#include "runtime/gui/ole_errors.h"
#include "runtime/task_windows_disabler_win.h"
#include "runtime/wide_text_win.h"
#include "zip/file_layer.h"

namespace installer {
namespace {

// The shell link object and the interfaces the installer asks of it.
constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkW = {0x000214F9, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

template <class Interface>
gui::TComPtr<Interface> Query(IUnknown* object, const IID& iid) {
  gui::TComPtr<Interface> result;
  if (FAILED(object->QueryInterface(iid, result.PutVoid())) || !result) throw gui::EIntfCastError();
  return result;
}

// Memory of the shell's allocator: item-ID lists and the display-name
// buffer of the folder dialog.
class TShellMemory {
 public:
  TShellMemory(IMalloc* allocator, void* block) : allocator_(allocator), block_(block) {}
  ~TShellMemory() {
    if (block_) allocator_->Free(block_);
  }
  TShellMemory(const TShellMemory&) = delete;
  TShellMemory& operator=(const TShellMemory&) = delete;
  void* Get() const { return block_; }

 private:
  IMalloc* allocator_;
  void* block_;
};

// Preselects the folder given as lParam of the browse-info record once the
// dialog is up.
int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM folder) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
  return 0;
}

// The previous error mode comes back however the dialog ends.
class TErrorModeScope {
 public:
  explicit TErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
  ~TErrorModeScope() { SetErrorMode(previous_); }
  TErrorModeScope(const TErrorModeScope&) = delete;
  TErrorModeScope& operator=(const TErrorModeScope&) = delete;

 private:
  UINT previous_;
};

}  // namespace

WideString GetSpecialFolder(int csidl, bool create) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, create ? TRUE : FALSE)) return {};
  return rt::WideFromWchar(path);
}

WideString GetPersonalFolder() { return GetSpecialFolder(CSIDL_PERSONAL, false); }

bool FolderExists(const WideString& path) { return zip::FsDirectoryExists(path); }

bool CreateShortcut(const WideString& target, const WideString& arguments, const WideString& workingFolder,
                    const WideString& linkFolder, const WideString& linkName) {
  gui::TComPtr<IUnknown> object;
  gui::OleCheck(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                 object.PutVoid()));
  const auto link = Query<IShellLinkW>(object.Get(), kShellLinkW);
  const auto file = Query<IPersistFile>(object.Get(), kPersistFile);
  link->SetArguments(rt::AsWchar(arguments));
  // A link without its target would start nothing: it is not written. The
  // shell stores targets of at most MAX_PATH characters.
  if (FAILED(link->SetPath(rt::AsWchar(target)))) return false;
  link->SetWorkingDirectory(rt::AsWchar(workingFolder));
  const WideString path = linkFolder + u"\\" + linkName;
  return SUCCEEDED(file->Save(rt::AsWchar(path), FALSE));
}

bool BrowseForFolder(const WideString& caption, const WideString& root, WideString& directory) {
  if (!FolderExists(directory)) directory.clear();
  gui::TComPtr<IMalloc> allocator;
  gui::OleCheck(SHGetMalloc(allocator.Put()));
  const TShellMemory displayName(allocator.Get(), allocator->Alloc(MAX_PATH * sizeof(wchar_t)));
  if (!displayName.Get()) throw gui::EOleSysError(E_OUTOFMEMORY);

  LPITEMIDLIST rootList = nullptr;
  if (!root.empty()) {
    gui::TComPtr<IShellFolder> desktop;
    gui::OleCheck(SHGetDesktopFolder(desktop.Put()));
    WideString parsed = root;
    desktop->ParseDisplayName(nullptr, nullptr, rt::AsWchar(parsed.data()), nullptr, &rootList,
                              nullptr);
  }
  const TShellMemory rootMemory(allocator.Get(), rootList);

  BROWSEINFOW info{};
  info.hwndOwner = gui::Application().Handle();
  info.pidlRoot = rootList;
  info.pszDisplayName = static_cast<wchar_t*>(displayName.Get());
  info.lpszTitle = rt::AsWchar(caption);
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!directory.empty()) {
    info.lpfn = SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(rt::AsWchar(directory));
  }

  LPITEMIDLIST chosen = nullptr;
  {
    rt::TTaskWindowsDisabler disabler;
    const TErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    chosen = SHBrowseForFolderW(&info);
  }
  if (!chosen) return false;
  const TShellMemory chosenMemory(allocator.Get(), chosen);
  wchar_t path[MAX_PATH + 1] = {};
  // A chosen item that has no file-system path gives an empty one.
  SHGetPathFromIDListW(chosen, path);
  directory = rt::WideFromWchar(path);
  return true;
}

}  // namespace installer
