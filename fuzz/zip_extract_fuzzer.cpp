// Opens arbitrary bytes as an archive and test-extracts every file entry
// into memory: local headers, stored and deflated data, the chunking, the
// size and CRC checks, decryption with a wrong and a right password, and
// writes that fall short. Every failure must be an EZipException, a
// stream error or the decompression library's refusal; anything else
// escapes and is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/exceptions.h"
#include "runtime/streams.h"
#include "zip/dir_manager.h"
#include "zip/entry_decoder.h"
#include "zip/entry_names.h"
#include "zip/zip_archiver.h"
#include "zip/zip_exception.h"

namespace {

// The most output kept for one input, over all its entries, and the most
// entries decoded: a write beyond what is left falls short, as on a full
// disk, which ends that entry. Inputs that expand further or have more
// entries take the same paths as smaller ones, only slower.
constexpr int64_t kOutputBudget = 256 << 10;
constexpr int kEntryBudget = 64;

// The free memory the decoder plans its chunks with. Inputs of odd length
// decode as if memory were short, so that chunks are halved down to their
// smallest; the others as on a machine with memory to spare.
constexpr uint64_t kShortMemory = 20 * (64 << 10);
constexpr uint64_t kAmpleMemory = uint64_t{8} << 30;
uint64_t gFreeMemory = kAmpleMemory;

class BoundedMemoryStream : public rt::TMemoryStream {
 public:
  explicit BoundedMemoryStream(int64_t limit) : limit_(limit) {}
  int64_t Write(const void* buffer, int64_t count) override {
    if (count > limit_ - Position()) return 0;
    return TMemoryStream::Write(buffer, count);
  }

 private:
  int64_t limit_;
};

class FuzzArchiver : public zip::TZipArchiver {
 public:
  FuzzArchiver(const uint8_t* data, size_t size) {
    SetName(u"Archiver");
    SetPassword("password");
    openMode_ = kOpenReadOnly;
    archiveStream_ = std::make_unique<rt::TMemoryStream>(std::vector<uint8_t>(data, data + size));
    dirManager_ = std::make_unique<zip::TZipDirManager>(archiveStream_.get(), this, false);
    dirManager_->LoadDirectory();
    open_ = true;
    // A second password once, then the entry is skipped.
    OnPassword = [this](rt::TObject*, const zip::WideString&, rt::AnsiString& password,
                        bool& skip) {
      skip = asked_++ > 0;
      password = "secret";
    };
  }

  // False once the output budget is spent.
  bool TestEntry(int index) {
    cancelled_ = false;
    asked_ = 0;
    BoundedMemoryStream out(budget_);
    try {
      DecodeEntry(index, out);
    } catch (const zip::EZipException&) {
    } catch (const rt::EStreamError&) {
    } catch (const zip::EZDecompressionError&) {
    }
    budget_ -= out.Size();
    return !cancelled_ && budget_ > 0;
  }

 private:
  int asked_ = 0;
  int64_t budget_ = kOutputBudget;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gFreeMemory = size % 2 ? kShortMemory : kAmpleMemory;
  [[maybe_unused]] static const auto systemQuery = zip::SetAvailableMemoryQuery([] { return gFreeMemory; });
  std::unique_ptr<FuzzArchiver> archiver;
  try {
    archiver = std::make_unique<FuzzArchiver>(data, size);
  } catch (const zip::EZipException&) {
    return 0;
  } catch (const rt::EStreamError&) {
    return 0;
  }
  const zip::TZipDirArray& items = archiver->DirManager()->Items();
  for (int i = 0; i < items.Count() && i < kEntryBudget; ++i) {
    if (!zip::IsFolderEntry(items.Item(i)) && !archiver->TestEntry(i)) break;
  }
  return 0;
}
