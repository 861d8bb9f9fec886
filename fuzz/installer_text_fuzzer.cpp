// The installer's texts that a user can write: the record of an
// installation (Desinstalar.dat, which the uninstaller trusts only as far
// as it keeps inside the install folder) and the command line. What the
// record keeps must read back the same once written, and no relative path
// it keeps may lead out of the folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "installer/command_line.h"
#include "installer/install_record.h"
#include "zip/entry_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const installer::TInstallRecord record = installer::TInstallRecord::Parse(bytes);
  const installer::TInstallRecord again = installer::TInstallRecord::Parse(record.Text());
  if (again.Files != record.Files || again.Folders != record.Folders || again.Shortcuts != record.Shortcuts)
    __builtin_trap();
  for (const auto& file : record.Files)
    if (zip::LeavesDestination(file)) __builtin_trap();

  // The same bytes as UTF-16 code units, the way Windows hands over a
  // command line.
  std::u16string line(size / 2, u'\0');
  for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const installer::TCommandLine parsed = installer::ParseCommandLine(installer::ArgumentsOf(line));
  if (parsed.Folder && parsed.Folder->empty()) __builtin_trap();
  return 0;
}
