#include "installer/uninstall_entry_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "installer/install_record.h"
#include "installer/installer_texts.h"
#include "installer/product_version.h"
#include "runtime/gui/handles.h"
#include "runtime/wide_text_win.h"

namespace installer {

namespace {

struct RegistryKeyTraits : gui::NullEmptyTraits<HKEY> {
  static void Close(HKEY key) { RegCloseKey(key); }
};
using UniqueRegistryKey = gui::UniqueHandle<RegistryKeyTraits>;

bool SetText(HKEY key, const wchar_t* name, const WideString& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
         ERROR_SUCCESS;
}

WideString Quoted(const WideString& path) { return u"\"" + path + u"\""; }

}  // namespace

bool WriteUninstallEntry(const WideString& folder, uint64_t installedBytes) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, rt::AsWchar(kUninstallKey), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  const UniqueRegistryKey key(created);
  const WideString uninstaller = Quoted(folder + u"\\" + kUninstallerName);
  const uint64_t kilobytes = (installedBytes + 1023) / 1024;
  bool written = SetText(key.get(), L"DisplayName", kDisplayName);
  written &= SetText(key.get(), L"DisplayVersion", u"" QUIMORA_FILE_VERSION);
  written &= SetText(key.get(), L"Publisher", u"" QUIMORA_COMPANY);
  written &= SetText(key.get(), L"DisplayIcon", folder + u"\\" + kProgramFile);
  written &= SetText(key.get(), L"InstallLocation", folder);
  written &= SetNumber(key.get(), L"EstimatedSize", static_cast<DWORD>(std::min<uint64_t>(kilobytes, MAXDWORD)));
  written &= SetText(key.get(), L"UninstallString", uninstaller);
  written &= SetText(key.get(), L"QuietUninstallString", uninstaller + u" /S");
  written &= SetNumber(key.get(), L"NoModify", 1);
  written &= SetNumber(key.get(), L"NoRepair", 1);
  return written;
}

std::optional<WideString> RecordedInstallFolder() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, rt::AsWchar(kUninstallKey), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const UniqueRegistryKey key(opened);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), L"InstallLocation", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size < sizeof(char16_t))
    return std::nullopt;
  std::vector<char16_t> text(size / sizeof(char16_t) + 1, u'\0');
  if (RegQueryValueExW(key.get(), L"InstallLocation", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  // The stored text need not end with a zero.
  WideString folder(text.data(), std::min<size_t>(size / sizeof(char16_t), text.size()));
  while (!folder.empty() && folder.back() == u'\0') folder.pop_back();
  if (folder.empty()) return std::nullopt;
  return folder;
}

bool DeleteUninstallEntry() {
  const LONG result = RegDeleteKeyW(HKEY_CURRENT_USER, rt::AsWchar(kUninstallKey));
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace installer
