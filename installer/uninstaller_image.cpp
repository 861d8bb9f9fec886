#include "installer/uninstaller_image.h"

#include <algorithm>

#include "zip/archive_format.h"

namespace installer {

std::vector<uint8_t> UninstallerImage(rt::TStream& program, const zip::TArchiveIntegrity& payload) {
  std::vector<uint8_t> image(static_cast<size_t>(payload.ArchiveStart));
  program.SetPosition(0);
  program.ReadBuffer(image.data(), static_cast<int64_t>(image.size()));
  // The signature covered the payload too: without it the header would
  // name a certificate table that is no longer there.
  if (const auto table = zip::CertificateTable(program);
      table && table->DirectoryEntry >= 0 && static_cast<uint64_t>(table->DirectoryEntry) + 8 <= image.size())
    std::fill_n(image.begin() + table->DirectoryEntry, 8, uint8_t{0});
  zip::TEndRecord().Write(image);
  return image;
}

}  // namespace installer
