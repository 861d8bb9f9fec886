#include "installer/tests/installer_window_fixture_win.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "runtime/gui/com_ptr.h"
#include "runtime/gui/handles.h"
#include "skin/definition/quick_ini.h"
#include "zip/tests/test_files.h"

namespace installer::testing {

const std::wstring kInstaller = QUIMORA_INSTALLER;
const std::wstring kDarkInstaller = QUIMORA_DARK_INSTALLER;
const std::wstring kSignedInstaller = QUIMORA_SIGNED_INSTALLER;
const std::wstring kStub = QUIMORA_STUB;
const fs::path kPayload = QUIMORA_PAYLOAD;
const fs::path kOutput = QUIMORA_TEST_OUTPUT;
// The source folder of the skin the installer carries.
const fs::path kSkinFolder = QUIMORA_SKIN_FOLDER;

std::wstring SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
  return path;
}

fs::path DefaultFolder() { return fs::path(SpecialFolder(CSIDL_PERSONAL)) / L"ProgramaQuimora18_19"; }
fs::path DesktopLink() { return fs::path(SpecialFolder(CSIDL_DESKTOP)) / kLinkName; }
fs::path ProgramsLink() { return fs::path(SpecialFolder(CSIDL_PROGRAMS)) / kLinkName; }

std::vector<char> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::wstring CompletionText(const std::wstring& folder, bool desktopLink) {
  return std::wstring(L"Instalación finalizada.\r") +
         (desktopLink ? L"Se ha creado un acceso directo\ren el escritorio.\r"
                      : L"No se ha podido crear el acceso directo en el escritorio.\r") +
         L"Nombre del acceso: ProgramaQuimora18_19\r\rA la carpeta: " + folder +
         L"\rY a la aplicación: QuimoraWindows18_19.exe\r";
}

TLink ReadLink(const fs::path& path) {
  gui::TComPtr<IShellLinkW> link;
  EXPECT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()));
  gui::TComPtr<IPersistFile> file;
  EXPECT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
  EXPECT_HRESULT_SUCCEEDED(file->Load(path.c_str(), STGM_READ));
  wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
  // The shell starts a link's target from its item-ID list, whose names
  // are UTF-16; the path stored beside it Wine keeps in the ANSI code page
  // only, so the list is what says where the link points.
  PIDLIST_ABSOLUTE list = nullptr;
  if (SUCCEEDED(link->GetIDList(&list)) && list) {
    SHGetPathFromIDListW(list, target);
    CoTaskMemFree(list);
  }
  link->GetArguments(arguments, MAX_PATH);
  link->GetWorkingDirectory(folder, MAX_PATH);
  return {target, arguments, folder};
}

void ExpectLinksTo(const fs::path& folder) {
  for (const fs::path& path : {DesktopLink(), ProgramsLink()}) {
    SCOPED_TRACE(path.string());
    ASSERT_TRUE(fs::exists(path));
    const TLink link = ReadLink(path);
    EXPECT_EQ(link.target, (folder / L"QuimoraWindows18_19.exe").wstring());
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.workingFolder, folder.wstring());
  }
}

std::wstring LongForm(const fs::path& path) {
  std::wstring name = path.wstring();
  std::replace(name.begin(), name.end(), L'/', L'\\');
  return name.rfind(L"\\\\?\\", 0) == 0 ? name : L"\\\\?\\" + name;
}

namespace {

// A file's bytes, read through the long form of its name.
std::vector<char> ReadLong(const fs::path& path) {
  std::vector<char> bytes;
  const gui::UniqueKernelHandle file(CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size)) return bytes;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
  bytes.resize(read);
  return bytes;
}

uint64_t Ticks(const FILETIME& time) { return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime; }

}  // namespace

void ExpectPayloadInstalledIn(const fs::path& folder) {
  int folders = 0, files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kPayload)) {
    const fs::path installed = folder / fs::relative(entry.path(), kPayload);
    SCOPED_TRACE(installed.string());
    WIN32_FILE_ATTRIBUTE_DATA got{}, expected{};
    ASSERT_TRUE(GetFileAttributesExW(LongForm(installed).c_str(), GetFileExInfoStandard, &got));
    if (entry.is_directory()) {
      ++folders;
      EXPECT_TRUE(got.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
      continue;
    }
    ++files;
    ASSERT_FALSE(got.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(ReadLong(installed) == ReadAll(entry.path()));
    ASSERT_TRUE(GetFileAttributesExW(entry.path().c_str(), GetFileExInfoStandard, &expected));
    const uint64_t a = Ticks(got.ftLastWriteTime), b = Ticks(expected.ftLastWriteTime);
    EXPECT_LE(a > b ? a - b : b - a, 20'000'000u) << "last-write times more than two seconds apart";
    EXPECT_TRUE(got.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE);
  }
  EXPECT_EQ(folders, 7);
  EXPECT_EQ(files, 209);
}

int PayloadFilesFoundIn(const fs::path& folder) {
  int found = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kPayload)) {
    if (!entry.is_regular_file()) continue;
    const fs::path installed = folder / fs::relative(entry.path(), kPayload);
    if (GetFileAttributesW(LongForm(installed).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    ++found;
    EXPECT_TRUE(ReadLong(installed) == ReadAll(entry.path())) << installed.string();
  }
  return found;
}

TPayloadLayout ReadPayloadLayout(const std::vector<char>& bytes) {
  auto u16 = [&](size_t at) { return static_cast<uint32_t>(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  TPayloadLayout layout;
  // The end record is last: the payload has no archive comment.
  const size_t end = bytes.size() - 22;
  EXPECT_EQ(u32(end), 0x06054B50u);
  layout.directory = u32(end + 16);
  layout.directorySize = u32(end + 12);
  size_t record = layout.directory;
  for (uint32_t i = 0, count = u16(end + 10); i < count; ++i) {
    const uint32_t nameLength = u16(record + 28), extraLength = u16(record + 30), commentLength = u16(record + 32);
    TPayloadEntry entry;
    entry.name.assign(&bytes[record + 46], nameLength);
    entry.method = static_cast<uint16_t>(u16(record + 10));
    entry.compressedSize = u32(record + 20);
    entry.localHeader = u32(record + 42);
    entry.directoryIndex = i;
    entry.data = entry.localHeader + 30 + u16(entry.localHeader + 26) + u16(entry.localHeader + 28);
    layout.entries.push_back(entry);
    record += 46 + nameLength + extraLength + commentLength;
  }
  std::sort(layout.entries.begin(), layout.entries.end(),
            [](const TPayloadEntry& a, const TPayloadEntry& b) { return a.localHeader < b.localHeader; });
  return layout;
}

std::pair<fs::path, TPayloadEntry> DamagedInstaller() {
  std::vector<char> bytes = ReadAll(kInstaller);
  for (const TPayloadEntry& entry : ReadPayloadLayout(bytes).entries) {
    if (entry.method != 8 || entry.compressedSize < 64) continue;
    for (size_t k = 0; k < 16; ++k) bytes[entry.data + entry.compressedSize / 2 + k] ^= 0x5A;
    const fs::path copy = kOutput / L"InstalaQuimora-damaged.exe";
    WriteAll(copy, bytes);
    return {copy, entry};
  }
  ADD_FAILURE() << "no deflated entry to damage";
  return {};
}

void CreateProfileFolders() {
  for (const int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS}) {
    wchar_t path[MAX_PATH];
    SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  }
}

void CreateLongFolders(const fs::path& folder) {
  const std::wstring full = LongForm(folder);
  // After "\\?\C:\", every separator ends a folder to make.
  for (size_t at = full.find(L'\\', 7); at != std::wstring::npos; at = full.find(L'\\', at + 1))
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(full.c_str(), nullptr);
}

void RemoveTree(const fs::path& folder) { zip::testing::RemoveTree(folder.u16string()); }

COLORREF ColourAt(const skin::TSkinBitmap& image, int x, int y) { return image.Pixel(x, y); }

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const skin::TSkinModel& SkinUnderTest() {
  static const skin::TSkinModel model = [] {
    skin::TSkinModel built;
    for (const auto& file : fs::directory_iterator(kSkinFolder)) {
      if (file.path().filename().wstring().find(L".ini") == std::wstring::npos) continue;
      const std::vector<uint8_t> text = ReadBytes(file.path());
      skin::TQuickIni ini;
      ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
      skin::BuildSkinObjects(ini, built, [](const rt::WideString& name) {
        return skin::DecodeSkinBitmap(ReadBytes(kSkinFolder / std::u16string(name)));
      });
    }
    return built;
  }();
  return model;
}

COLORREF ScreenPixel(POINT at) {
  const gui::TWindowDc screen(nullptr);
  return GetPixel(screen.get(), at.x, at.y);
}

}  // namespace installer::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The tests read shell links through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
