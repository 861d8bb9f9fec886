#include <windows.h>

#include <vector>

#include "installer/disk_space.h"
#include "runtime/wide_text_win.h"
#include "zip/file_layer.h"
#include "zip/path_functions.h"

namespace installer {

namespace {

// The folder itself, or the nearest folder above it that exists: the one
// whose volume the new folder will be on.
rt::WideString NearestExistingFolder(const rt::WideString& folder) {
  rt::WideString existing = zip::WithoutTrailingBackslash(folder);
  while (!existing.empty() && !zip::FsDirectoryExists(existing)) {
    const rt::WideString parent = zip::WithoutTrailingBackslash(zip::PathOf(existing));
    if (parent == existing) break;
    existing = parent;
  }
  return existing.empty() ? zip::FsCurrentDir() : existing;
}

// A volume of unknown geometry is taken to have NTFS's usual clusters.
constexpr uint64_t kUsualClusterSize = 4096;

}  // namespace

std::optional<TDiskSpace> DiskSpaceAt(const rt::WideString& folder) {
  const rt::WideString name = zip::FsSystemName(zip::WithTrailingBackslash(NearestExistingFolder(folder)));
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(rt::AsWchar(name), &available, nullptr, nullptr)) return std::nullopt;
  TDiskSpace space{available.QuadPart, kUsualClusterSize};
  // Only a volume's root tells its cluster size.
  std::vector<wchar_t> root(name.size() + 1);
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
  if (GetVolumePathNameW(rt::AsWchar(name), root.data(), static_cast<DWORD>(root.size())) &&
      GetDiskFreeSpaceW(root.data(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    space.ClusterSize = uint64_t{sectorsPerCluster} * bytesPerSector;
  return space;
}

}  // namespace installer
