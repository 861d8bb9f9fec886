// An archiver opened on archive bytes held in memory, for tests: the
// directory is loaded as an open would load it from a file.
#pragma once

#include <memory>
#include <string>

#include "runtime/streams.h"
#include "zip/entry_decoder.h"
#include "zip/dir_manager.h"
#include "zip/tests/test_zip_builder.h"
#include "zip/zip_archiver.h"

namespace zip::testing {

// Answers the decoder's question for free memory for the life of the
// guard, so that chunk sizes do not depend on the machine.
template <uint64_t kBytes>
class FreeMemory {
 public:
  FreeMemory() : previous_(SetAvailableMemoryQuery([] { return kBytes; })) {}
  ~FreeMemory() { SetAvailableMemoryQuery(previous_); }
  FreeMemory(const FreeMemory&) = delete;
  FreeMemory& operator=(const FreeMemory&) = delete;

 private:
  TAvailableMemoryQuery previous_;
};
using PlentyOfMemory = FreeMemory<uint64_t{1} << 36>;

class MemoryArchiver : public TZipArchiver {
 public:
  explicit MemoryArchiver(const Bytes& archive) {
    SetName(u"Archiver");
    openMode_ = kOpenReadOnly;
    archiveStream_ = std::make_unique<rt::TMemoryStream>(archive);
    dirManager_ = std::make_unique<TZipDirManager>(archiveStream_.get(), this, false);
    dirManager_->LoadDirectory();
    open_ = true;
  }

  // Entry index decoded into memory.
  std::string Decode(int index) {
    rt::TMemoryStream out;
    DecodeEntry(index, out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  }
};

}  // namespace zip::testing
