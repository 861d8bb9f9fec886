// Opens arbitrary bytes as an archive and walks what it finds: the end
// record search, Zip64 records, the directory with its names and extra
// fields, stub detection, recovery from local headers and selection; and
// the check that an installer makes of its payload, which raises nothing.
// Every failure must be an EZipException or a stream error; anything
// else escapes and is a finding.
#include <cstddef>
#include <cstdint>

#include "runtime/exceptions.h"
#include "runtime/streams.h"
#include "zip/archive_integrity.h"
#include "zip/dir_manager.h"
#include "zip/selection.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zip::TZipArchiver archiver;
  rt::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  const zip::TArchiveIntegrity integrity = zip::CheckArchiveIntegrity(stream);
  if (integrity.Whole() && integrity.FileCount > integrity.EntryCount) __builtin_trap();
  try {
    zip::TZipDirManager manager(&stream, &archiver, false);
    manager.IsArchiveValid(true);
    manager.LoadDirectory();
    zip::TZipSearchOptions options;
    zip::MarkSelection(manager.Items(), options, u"*.*", 0x28BF, u"");
    options.Recurse = false;
    zip::MarkSelection(manager.Items(), options, u"a*\\*.t?t", 0x3F, u"");
    for (int i = 0; i < manager.Items().Count(); ++i)
      manager.Items().IndexOfName(manager.Items().Item(i).Name);
  } catch (const zip::EZipException&) {
  } catch (const rt::EStreamError&) {
  }
  return 0;
}
