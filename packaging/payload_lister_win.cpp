// A stand-in installer stub: it opens its own executable with the archive
// engine, the way the installer opens its payload, and prints one line per
// entry (as "qzip list" does) and then the form it carries. Installers made
// from it show that the payload and the form resource survive packaging
// and signing.
#include <windows.h>

#include <cstdio>
#include <span>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/form_resource.h"
#include "runtime/strings.h"
#include "runtime/wide_text_win.h"
#include "zip/dir_manager.h"
#include "zip/zip_archiver.h"

namespace {

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw rt::Exception(u"cannot find the program's own file");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void Print(const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
  return text;
}

void ListPayload() {
  zip::TZipArchiver archiver;
  const std::wstring path = OwnPath();
  archiver.SetFileName(rt::WideFromWchar(path));
  archiver.OpenArchive(zip::TZipBaseArchiver::kOpenReadOnly);
  const zip::TZipDirManager& manager = *archiver.DirManager();
  const zip::TZipDirArray& items = manager.Items();
  std::string out;
  for (int i = 0; i < items.Count(); ++i) {
    const zip::TDirItem& item = items.Item(i);
    out += std::to_string(i) + '\t' + std::to_string(item.CompressionMethod) + '\t' +
           std::to_string(item.TrueCompressedSize()) + '\t' + std::to_string(item.TrueUncompressedSize()) +
           '\t' + Hex8(item.Crc32) + '\t' + Hex8(item.ExternalAttributes) + '\t' +
           std::to_string(item.TrueLocalHeaderOffset()) + '\t' + rt::WideToUtf8(item.Name) + '\n';
  }
  out += "entries=" + std::to_string(items.Count()) + " stub=" + std::to_string(manager.StubSize()) +
         " centraldir=" + std::to_string(manager.CentralDirOffset()) +
         " rebuilt=" + (manager.Rebuilt() ? "1" : "0") + "\n";
  Print(out);
}

int CountObjects(const rt::TFormObject& object) {
  int count = 1;
  for (const auto& child : object.Children) count += CountObjects(child);
  return count;
}

void DescribeForm() {
  HRSRC found = FindResourceW(nullptr, L"TFMMAIN", reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!found) {
    Print("form TFMMAIN: none\n");
    return;
  }
  // Resource memory belongs to the module; nothing to free.
  HGLOBAL loaded = LoadResource(nullptr, found);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
  const DWORD size = SizeofResource(nullptr, found);
  if (!bytes) throw rt::Exception(u"cannot load the form resource");
  const rt::TFormObject form = rt::ReadFormResource(std::span(bytes, size));
  Print("form TFMMAIN: " + form.Name + ": " + form.ClassName + ", " + std::to_string(CountObjects(form)) +
        " objects, " + std::to_string(size) + " bytes\n");
}

}  // namespace

int main() {
  try {
    ListPayload();
    DescribeForm();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "payload_lister: %s\n", e.what());
    return 2;
  }
  return 0;
}
