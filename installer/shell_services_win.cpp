#include "installer/shell_services.h"

#include <windows.h>
#include <shlobj.h>

#include "runtime/gui/application.h"
#include "runtime/gui/com_ptr.h"
#include "runtime/gui/ole_errors.h"
#include "runtime/strings.h"
#include "runtime/text.h"

namespace installer {
namespace {

// The shell link object and the interfaces the installer asks of it.
constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
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
  if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, folder);
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

std::string GetSpecialFolder(int csidl, bool create) {
  char path[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathA(nullptr, path, csidl, create ? TRUE : FALSE)) return {};
  return path;
}

std::string GetPersonalFolder() { return GetSpecialFolder(CSIDL_PERSONAL, false); }

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateShortcut(const std::string& target, const std::string& arguments, const std::string& workingFolder,
                    const std::string& linkFolder, const std::string& linkName) {
  gui::TComPtr<IUnknown> object;
  gui::OleCheck(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                 object.PutVoid()));
  const auto link = Query<IShellLinkA>(object.Get(), kShellLinkA);
  const auto file = Query<IPersistFile>(object.Get(), kPersistFile);
  // A link whose path or folder cannot be set is still written, as far as
  // the shell lets it be; only the saving decides whether it exists.
  link->SetArguments(arguments.c_str());
  link->SetPath(target.c_str());
  link->SetWorkingDirectory(workingFolder.c_str());
  const std::u16string path = rt::AnsiToWide(linkFolder + "\\" + linkName);
  return SUCCEEDED(file->Save(reinterpret_cast<LPCOLESTR>(path.c_str()), FALSE));
}

bool BrowseForFolder(const std::string& caption, const std::string& root, std::string& directory) {
  if (!FolderExists(directory)) directory.clear();
  gui::TComPtr<IMalloc> allocator;
  gui::OleCheck(SHGetMalloc(allocator.Put()));
  const TShellMemory displayName(allocator.Get(), allocator->Alloc(MAX_PATH));
  if (!displayName.Get()) throw gui::EOleSysError(E_OUTOFMEMORY);

  LPITEMIDLIST rootList = nullptr;
  if (!root.empty()) {
    gui::TComPtr<IShellFolder> desktop;
    gui::OleCheck(SHGetDesktopFolder(desktop.Put()));
    std::u16string wideRoot = rt::AnsiToWide(root);
    desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(wideRoot.data()), nullptr, &rootList,
                              nullptr);
  }
  const TShellMemory rootMemory(allocator.Get(), rootList);

  BROWSEINFOA info{};
  info.hwndOwner = gui::Application().Handle();
  info.pidlRoot = rootList;
  info.pszDisplayName = static_cast<char*>(displayName.Get());
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!directory.empty()) {
    info.lpfn = SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(directory.c_str());
  }

  LPITEMIDLIST chosen = nullptr;
  {
    gui::TTaskWindowsDisabler disabler;
    const TErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    chosen = SHBrowseForFolderA(&info);
  }
  if (!chosen) return false;
  const TShellMemory chosenMemory(allocator.Get(), chosen);
  char path[MAX_PATH + 1] = {};
  // A chosen item that has no file-system path gives an empty one.
  SHGetPathFromIDListA(chosen, path);
  directory = path;
  return true;
}

}  // namespace installer
