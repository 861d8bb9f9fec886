#include "runtime/gui/system_libraries.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/strings.h"

namespace gui {
namespace {

constexpr wchar_t kPlanted[] = L"quimora_planted.dll";

// Puts the test DLL beside this program for the time of a test, as a DLL
// dropped into a download folder lies beside an installer.
class TPlantedLibrary {
 public:
  TPlantedLibrary() {
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    path_.assign(program, length);
    path_.erase(path_.find_last_of(L'\\') + 1);
    path_ += kPlanted;
    planted_ = CopyFileW(QUIMORA_PLANTED_DLL, path_.c_str(), FALSE) != FALSE;
  }
  ~TPlantedLibrary() { DeleteFileW(path_.c_str()); }
  TPlantedLibrary(const TPlantedLibrary&) = delete;
  TPlantedLibrary& operator=(const TPlantedLibrary&) = delete;

  bool Planted() const { return planted_; }

 private:
  std::wstring path_;
  bool planted_ = false;
};

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const rt::Exception& error) {
    return rt::WideToUtf8(error.Message());
  }
  return "no exception";
}

HMODULE ModuleOf(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCWSTR>(address), &module);
  return module;
}

TEST(SystemLibraries, CommonControlsComeFromTheSystemLibrary) {
  const HMODULE comctl32 = LoadSystemLibrary(L"comctl32.dll");
  ASSERT_NE(comctl32, nullptr);
  const TCommonControlsApi& api = CommonControls();
  for (const void* function :
       {reinterpret_cast<const void*>(api.InitCommonControlsEx), reinterpret_cast<const void*>(api.ImageList_Create),
        reinterpret_cast<const void*>(api.SetWindowSubclass), reinterpret_cast<const void*>(api.DefSubclassProc)})
    EXPECT_EQ(ModuleOf(function), comctl32);
  // Loaded once: later calls hand out the same table.
  EXPECT_EQ(&CommonControls(), &api);
  LoadSystemLibraries();
}

TEST(SystemLibraries, ADllBesideTheProgramIsNeverTaken) {
  const TPlantedLibrary beside;
  ASSERT_TRUE(beside.Planted());
  // The ordinary search finds the planted DLL in the program's folder...
  const HMODULE planted = LoadLibraryW(kPlanted);
  ASSERT_NE(planted, nullptr);
  EXPECT_NE(GetProcAddress(planted, "PlantedLibraryMark"), nullptr);
  FreeLibrary(planted);
  // ...the system library loader does not look there.
  EXPECT_EQ(MessageOf([] { LoadSystemLibrary(kPlanted); }),
            "Bibliothèque système quimora_planted.dll introuvable dans le dossier système de Windows");
}

TEST(SystemLibraries, AMissingFunctionIsNamedWithItsLibrary) {
  const HMODULE comctl32 = LoadSystemLibrary(L"comctl32.dll");
  EXPECT_NE(SystemFunction(comctl32, L"comctl32.dll", "ImageList_Create"), nullptr);
  EXPECT_EQ(MessageOf([&] { SystemFunction(comctl32, L"comctl32.dll", "ImageList_Teleport"); }),
            "Fonction ImageList_Teleport introuvable dans la bibliothèque système comctl32.dll");
}

}  // namespace
}  // namespace gui
