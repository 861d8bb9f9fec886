#include "installer/program_file.h"

#include "zip/file_layer.h"
#include "zip/wide_file_stream.h"

namespace installer {

zip::TArchiveIntegrity CheckPayload(const rt::WideString& path) {
  // Shared as the archiver shares it later: other programs may read the
  // installer while it runs.
  zip::TWideFileStream program(path, zip::kFmOpenRead | zip::kFmShareDenyNone);
  return zip::CheckArchiveIntegrity(program);
}

}  // namespace installer
