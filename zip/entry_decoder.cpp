#include "zip/entry_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "zip/archive_format.h"
#include "zip/crc32.h"
#include "zip/dir_manager.h"
#include "zip/path_functions.h"
#include "zip/piece_writer.h"
#include "zip/system_memory.h"
#include "zip/zip_archiver.h"
#include "zip/zip_crypto.h"
#include "zip/zip_exception.h"

namespace zip {

namespace {

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kMethodDeflate64 = 9;

// A ZIP entry holds raw deflate data with a 32 KB window: zlib's raw mode
// reads it as it is. The stream's own end decides where the data ends;
// whatever the directory counts beyond it belongs to no output and is not
// looked at, as other readers do.
constexpr int kRawWindowBits = -15;


// The growth step of a chunk's output buffer when the estimate was short.
constexpr int64_t kOutputGrowth = kDecodeChunkSize;

TAvailableMemoryQuery gMemoryQuery = nullptr;

uint64_t AvailableMemory() { return gMemoryQuery ? gMemoryQuery() : AvailablePhysicalMemory(); }

// zlib's working memory comes zero-filled.
voidpf ZeroedAlloc(voidpf, uInt items, uInt size) { return std::calloc(items, size); }
void FreeAlloc(voidpf, voidpf address) { std::free(address); }

}  // namespace

uint64_t DecodeMemoryCeiling() { return AvailableMemory() / 20; }

TAvailableMemoryQuery SetAvailableMemoryQuery(TAvailableMemoryQuery query) {
  return std::exchange(gMemoryQuery, query);
}

int64_t EstimateOutputSize(uint64_t uncompressedSize, uint64_t compressedSize, int64_t n) {
  // The ratio of the directory sizes read as signed numbers; sizes that no
  // real entry has (zero, or beyond the signed range) give no ratio rather
  // than a division by zero or a negative buffer.
  const auto uncompressed = static_cast<int64_t>(uncompressedSize);
  const auto compressed = static_cast<int64_t>(compressedSize);
  const int64_t ratio = compressed > 0 && uncompressed >= 0 ? uncompressed / compressed : 0;
  constexpr int64_t kLargest = int64_t{1} << 62;
  const int64_t span = std::max<int64_t>(n, 0) + std::max<int64_t>(n, 0) / 2 + 267;
  int64_t x = ratio + 1 > kLargest / span ? kLargest : (ratio + 1) * span;
  x &= ~int64_t{0xFF};
  const long exponent = std::lround(std::log2(static_cast<double>(x)));
  return exponent >= 62 ? kLargest : int64_t{1} << exponent;
}

int64_t HalvedChunkLength(int64_t length, uint64_t uncompressedSize, uint64_t compressedSize,
                          uint64_t ceiling) {
  int64_t n = length * 2;
  for (;;) {
    n /= 2;
    if (n < kMinHalvedChunk) return n;
    const int64_t estimate = EstimateOutputSize(uncompressedSize, compressedSize, n);
    if (static_cast<uint64_t>(estimate) < ceiling) return n;
  }
}

// The working state of one entry's decoding. Its buffers and the inflater
// are released with it, whichever way the decoding ends.
class TZipEntryDecoder {
 public:
  TZipEntryDecoder(TZipBaseArchiver& archiver, int index, const TDirItem& item,
                   rt::TStream& output)
      : archiver_(archiver),
        index_(index),
        item_(item),
        archive_(archiver.ArchiveStream()),
        output_(output),
        expectedSize_(item.TrueUncompressedSize()),
        input_(std::move(archiver.decodeInput_)),
        outputStorage_(std::move(archiver.decodeOutput_)) {}
  // The buffers go back to the archiver for the next entry: fresh ones
  // for each of hundreds of small entries cost more in page faults than
  // the inflating. A decoder started inside another's event finds none and
  // makes its own.
  ~TZipEntryDecoder() {
    // The piece in flight is written from a buffer given back below.
    writer_.reset();
    if (inflating_) inflateEnd(&z_);
    archiver_.decodeInput_ = std::move(input_);
    archiver_.decodeOutput_ = std::move(outputStorage_);
  }
  TZipEntryDecoder(const TZipEntryDecoder&) = delete;
  TZipEntryDecoder& operator=(const TZipEntryDecoder&) = delete;

  // True when the entry decoded to its recorded size and CRC.
  bool DecodeData();

 private:
  void RefuseSharedData(uint64_t headerStart, uint64_t dataStart);
  bool CopyEntryData();
  bool FitsWhole() const;
  std::optional<bool> DecodeWhole();
  bool EmitWhole(const uint8_t* output);
  bool AnnounceProgress();
  bool CheckPassword();
  bool ReadChunk(uint8_t* to, int64_t n);
  bool DecodeChunk(int64_t n);
  bool Inflate(uint8_t* data, int64_t n);
  bool Emit(const uint8_t* data, int64_t length);
  bool FlushOutput();
  bool WriteWithRetry(const uint8_t* data, int64_t length);
  void StartPieceWriter();
  bool FinishPiece();
  bool FinishPieces();
  void StartInflater();
  void GrowOutput(int64_t capacity);

  TZipBaseArchiver& archiver_;
  const int index_;
  const TDirItem& item_;
  rt::TStream* archive_;
  rt::TStream& output_;
  const uint64_t expectedSize_;

  uint32_t crc_ = 0;
  uint64_t written_ = 0;
  int64_t consumed_ = 0;
  int64_t size_ = 0;
  uint64_t memoryCeiling_ = 0;

  TDecodeBuffer input_;
  TDecodeBuffer outputStorage_;
  uint8_t* outputBuffer_ = nullptr;
  int64_t outputCapacity_ = 0;
  int64_t pending_ = 0;  // decoded bytes in the output buffer, not yet written

  std::optional<TZipCipher> cipher_;
  z_stream z_{};
  bool inflating_ = false;
  bool streamEnded_ = false;
  // Large deflated entries: the thread that writes one output buffer
  // while the inflater fills the other, and the piece in flight.
  std::optional<TPieceWriter> writer_;
  uint8_t* spareBuffer_ = nullptr;
  int64_t outputStart_ = 0;
  const uint8_t* pieceData_ = nullptr;
  int64_t pieceLength_ = 0;
  // The events for the entry's first chunk were already given (by an
  // attempt to decode it whole).
  bool startAnnounced_ = false;
};

bool IsWholeEntryCandidate(const TDirItem& item, const TZipBaseArchiver& archiver) {
  const auto limit = static_cast<uint64_t>(kWholeEntryLimit);
  return item.CompressionMethod == kMethodDeflate && archiver.SpanningMode() == smNone &&
         !archiver.DirManager()->Rebuilt() && item.TrueUncompressedSize() > 0 &&
         item.TrueUncompressedSize() <= limit && item.TrueCompressedSize() <= limit;
}

bool TZipEntryDecoder::DecodeData() {
  const auto headerStart = static_cast<uint64_t>(archive_->Position());
  uint8_t raw[TLocalHeader::kSize];
  archive_->ReadBuffer(raw, sizeof raw);
  // Of the local header only the lengths that lead to the data count; the
  // central directory is the authority for everything else.
  const TLocalHeader header = TLocalHeader::Read(raw);
  archive_->Seek(header.NameLength + int64_t{header.ExtraLength}, rt::SeekOrigin::soCurrent);
  const auto dataStart = static_cast<uint64_t>(archive_->Position());

  const uint64_t compressed = item_.TrueCompressedSize();
  size_ = compressed > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(compressed);
  if (archiver_.SpanningMode() == smNone) {
    // An entry's data never runs into the central directory.
    const int64_t room = archiver_.DirManager()->CentralDirOffset() - archive_->Position();
    if (size_ > room) size_ = room;
  }
  RefuseSharedData(headerStart, dataStart);
  archiver_.entryBytesTotal_ = size_;
  archiver_.skipCurrent_ = false;

  bool ok = false;
  switch (item_.CompressionMethod) {
    case kMethodStored:
    case kMethodDeflate:
      ok = CopyEntryData();
      if (!FinishPieces()) ok = false;
      break;
    case kMethodDeflate64:
      throw EZipException(neDeflate64);
    default:
      // Every other method, the component's own block format included, is
      // not supported.
      ok = false;
      break;
  }
  if (written_ != expectedSize_) ok = false;
  if (ok && !archiver_.skipCurrent_) ok = crc_ == item_.Crc32;
  return ok;
}

// Entries whose data lies in the local header or the data of an entry
// decoded before share their bytes with it: that is how a few kilobytes of
// overlapping entries declare gigabytes. No writer makes such archives,
// so they are refused as corrupt, also where corrupt entries would be
// kept, before anything is decoded. An entry decoded again (a retry) is
// not held against itself.
void TZipEntryDecoder::RefuseSharedData(uint64_t headerStart, uint64_t dataStart) {
  TZipReadSpans& spans = archiver_.readSpans_;
  if (spans.Recorded(index_)) return;
  const int32_t volume = archiver_.VolumeInfo().VolumeNumber;
  const uint64_t dataEnd = dataStart + static_cast<uint64_t>(std::max<int64_t>(size_, 0));
  if (spans.Overlaps(volume, dataStart, dataEnd)) {
    spans.Refuse(index_);
    throw EZipException(neEntryData, &archiver_);
  }
  spans.Record(index_, volume, headerStart, dataEnd);
}

bool TZipEntryDecoder::CopyEntryData() {
  if (item_.Flags & kFlagEncrypted) {
    size_ -= static_cast<int64_t>(kEncryptionHeaderSize);
    if (!CheckPassword()) return false;
  }
  const std::optional<uint64_t>& ceiling = archiver_.decodeMemoryCeiling_;
  memoryCeiling_ = ceiling ? *ceiling : DecodeMemoryCeiling();
  if (size_ <= 0) return true;
  if (FitsWhole()) {
    if (const std::optional<bool> whole = DecodeWhole()) return *whole;
  }
  input_.Reserve(static_cast<size_t>(std::min(size_, kDecodeChunkSize)));
  if (item_.CompressionMethod == kMethodDeflate) {
    StartInflater();
    if (expectedSize_ > static_cast<uint64_t>(kWholeEntryLimit)) StartPieceWriter();
  }

  bool announced = startAnnounced_;
  while (consumed_ < size_) {
    if (!std::exchange(announced, false) && AnnounceProgress()) break;
    const int64_t n =
        HalvedChunkLength(std::min(kDecodeChunkSize, size_ - consumed_), expectedSize_,
                          item_.TrueCompressedSize(), memoryCeiling_);
    if (!ReadChunk(input_.Data(), n) || !DecodeChunk(n)) return false;
    consumed_ += n;
  }
  // Also when a cancel ended the loop: the size check then fails, and the
  // cancel keeps that from being reported.
  return true;
}

bool TZipEntryDecoder::AnnounceProgress() {
  const auto operation = static_cast<TZipProcessOperation>(item_.PendingOperation);
  // Outside a run nothing is selected; the overall figure then follows
  // the entry alone.
  const double selected = std::max(archiver_.selectedCount_, int32_t{1});
  archiver_.entryBytesDone_ = consumed_;
  const double done = static_cast<double>(consumed_) / static_cast<double>(archiver_.entryBytesTotal_);
  if (archiver_.NotifyFileProgress(item_.Name, done * 100, operation, ppProcess)) return true;
  return archiver_.NotifyOverallProgress((done + archiver_.processedCount_) / selected * 100,
                                         operation, ppProcess);
}

bool TZipEntryDecoder::FitsWhole() const {
  // size_ is what the data may take before the central directory, less
  // the encryption header; the buffers must also leave the system room.
  return IsWholeEntryCandidate(item_, archiver_) && size_ <= kWholeEntryLimit &&
         expectedSize_ + static_cast<uint64_t>(size_) <= memoryCeiling_;
}

// The entry read whole, decrypted and decoded in one call, then written
// out in pieces. Returns nothing when the data does not decode to exactly
// the recorded size: the streaming decoder then takes the entry again from
// the start of its data, and its judgement is the one reported, as is
// whatever part of the output it keeps for a caller that keeps corrupted
// files. Such entries are rare, and only they are read twice.
std::optional<bool> TZipEntryDecoder::DecodeWhole() {
  if (AnnounceProgress()) return true;
  const int64_t dataPosition = archive_->Position();
  const std::optional<TZipCipher> cipherAtData = cipher_;
  uint8_t* input = input_.Reserve(static_cast<size_t>(size_));
  if (ReadChunk(input, size_)) {
    if (cipher_) cipher_->Decrypt(input, static_cast<size_t>(size_));
    uint8_t* output = outputStorage_.Reserve(static_cast<size_t>(expectedSize_));
    const int64_t decoded = archiver_.WholeDecoder().Decode(input, static_cast<size_t>(size_), output,
                                                            static_cast<size_t>(expectedSize_));
    if (decoded == static_cast<int64_t>(expectedSize_)) return EmitWhole(output);
  }
  archive_->SetPosition(dataPosition);
  cipher_ = cipherAtData;
  startAnnounced_ = true;
  return std::nullopt;
}

bool TZipEntryDecoder::EmitWhole(const uint8_t* output) {
  const auto total = static_cast<int64_t>(expectedSize_);
  for (int64_t at = 0; at < total; at += kWholeEntryPiece) {
    if (at > 0) {
      // Progress counts compressed bytes, as for a streamed entry.
      consumed_ = size_ * at / total;
      if (AnnounceProgress()) return true;
    }
    if (!Emit(output + at, std::min(kWholeEntryPiece, total - at))) return false;
  }
  consumed_ = size_;
  return true;
}

bool TZipEntryDecoder::CheckPassword() {
  if (size_ < 0) return false;
  uint8_t header[kEncryptionHeaderSize];
  if (!ReadChunk(header, kEncryptionHeaderSize)) return false;
  // A writer that puts the CRC after the data does not know it yet when it
  // writes the header, and checks against the time instead.
  const uint8_t check = (item_.Flags & kFlagDataDescriptor)
                            ? static_cast<uint8_t>(item_.LastModTime >> 8)
                            : static_cast<uint8_t>(item_.Crc32 >> 24);
  AnsiString password = archiver_.Password();
  for (;;) {
    TZipCipher cipher(password);
    if (cipher.CheckHeader(header, check)) {
      cipher_ = cipher;
      // Later entries try the password that fitted first.
      if (password != archiver_.Password()) archiver_.SetPassword(password);
      return true;
    }
    AnsiString newPassword;
    bool skip = false;
    archiver_.DoPassword(WithBackslashes(item_.Name), newPassword, skip);
    if (skip) {
      archiver_.skipCurrent_ = true;
      return false;
    }
    password = std::move(newPassword);
  }
}

bool TZipEntryDecoder::ReadChunk(uint8_t* to, int64_t n) {
  int64_t got = archive_->Read(to, n);
  while (got < n) {
    // A single-file archive has nothing after its last byte.
    if (archiver_.SpanningMode() == smNone) return false;
    TZipVolumeNumberInfo next = archiver_.VolumeInfo();
    next.SetVolumeNumber(next.VolumeNumber + 1);
    archiver_.OpenVolume(next);
    archive_ = archiver_.ArchiveStream();
    archive_->SetPosition(0);
    const int64_t more = archive_->Read(to + got, n - got);
    if (more <= 0) return false;
    got += more;
  }
  return true;
}

bool TZipEntryDecoder::DecodeChunk(int64_t n) {
  if (n == 0) return false;
  uint8_t* data = input_.Data();
  if (cipher_) cipher_->Decrypt(data, static_cast<size_t>(n));
  if (item_.CompressionMethod == kMethodStored) return Emit(data, n);
  return Inflate(data, n);
}

void TZipEntryDecoder::StartInflater() {
  z_.zalloc = ZeroedAlloc;
  z_.zfree = FreeAlloc;
  z_.opaque = nullptr;
  if (inflateInit2_(&z_, kRawWindowBits, zlibVersion(), static_cast<int>(sizeof(z_stream))) < 0)
    throw EZDecompressionError();
  inflating_ = true;
}

void TZipEntryDecoder::GrowOutput(int64_t capacity) {
  outputBuffer_ = outputStorage_.Reserve(static_cast<size_t>(capacity), static_cast<size_t>(pending_));
  outputCapacity_ = capacity;
}

bool TZipEntryDecoder::Inflate(uint8_t* data, int64_t n) {
  // Chunks after the end of the deflate data belong to no output.
  if (streamEnded_) return true;
  const int64_t estimate = EstimateOutputSize(expectedSize_, item_.TrueCompressedSize(), n);
  if (outputCapacity_ < std::min(estimate, kOutputBufferLimit))
    GrowOutput(std::min(estimate, kOutputBufferLimit));
  z_.next_in = data;
  z_.avail_in = static_cast<uInt>(n);
  for (;;) {
    z_.next_out = outputBuffer_ + pending_;
    z_.avail_out = static_cast<uInt>(outputCapacity_ - pending_);
    const int result = inflate(&z_, Z_NO_FLUSH);
    pending_ = outputCapacity_ - z_.avail_out;
    if (result == Z_STREAM_END) {
      streamEnded_ = true;
      break;
    }
    // Called again with a full buffer but no input: nothing was held back.
    if (result == Z_BUF_ERROR && z_.avail_in == 0) break;
    if (result != Z_OK) return false;
    if (z_.avail_out == 0) {
      // A full buffer may leave output held back inside the inflater, so
      // it is asked again even when all input has been taken.
      if (outputCapacity_ < kOutputBufferLimit)
        GrowOutput(std::min(outputCapacity_ + kOutputGrowth, kOutputBufferLimit));
      else if (!FlushOutput())
        return false;
      continue;
    }
    if (z_.avail_in == 0) break;
    // Neither the input used up nor the output full: no progress possible.
    return false;
  }
  return FlushOutput();
}

void TZipEntryDecoder::StartPieceWriter() {
  uint8_t* buffers = outputStorage_.Reserve(static_cast<size_t>(2 * kOutputBufferLimit));
  outputBuffer_ = buffers;
  spareBuffer_ = buffers + kOutputBufferLimit;
  outputCapacity_ = kOutputBufferLimit;
  outputStart_ = output_.Position();
  try {
    writer_.emplace(output_);
  } catch (const std::system_error&) {
    // No thread to be had: the pieces are written in line.
  }
}

// Waits for the piece in flight. One that the output did not take whole is
// written again here, the disk-full handler asked as for a write of the
// decoder's own.
bool TZipEntryDecoder::FinishPiece() {
  if (!writer_ || !writer_->Busy()) return true;
  if (writer_->Finish() == pieceLength_) return true;
  output_.SetPosition(outputStart_ + static_cast<int64_t>(written_) - pieceLength_);
  if (WriteWithRetry(pieceData_, pieceLength_)) return true;
  written_ -= static_cast<uint64_t>(pieceLength_);
  return false;
}

bool TZipEntryDecoder::FinishPieces() {
  if (!writer_) return true;
  const bool written = FinishPiece();
  crc_ = writer_->Crc();
  return written;
}

bool TZipEntryDecoder::FlushOutput() {
  const int64_t length = pending_;
  pending_ = 0;
  return Emit(outputBuffer_, length);
}

bool TZipEntryDecoder::Emit(const uint8_t* data, int64_t length) {
  // Output beyond the size that the directory records is damage or a
  // decompression bomb: what fits is kept, the rest is never written.
  const uint64_t room = expectedSize_ > written_ ? expectedSize_ - written_ : 0;
  const bool overflow = static_cast<uint64_t>(length) > room;
  if (overflow) length = static_cast<int64_t>(room);
  if (length > 0 && writer_) {
    // Every piece of a pipelined entry comes from the output buffer the
    // inflater just filled; it fills the other one meanwhile.
    if (!FinishPiece()) return false;
    writer_->Start(data, length);
    pieceData_ = data;
    pieceLength_ = length;
    written_ += static_cast<uint64_t>(length);
    std::swap(outputBuffer_, spareBuffer_);
  } else if (length > 0) {
    crc_ = UpdateCrc32(crc_, data, static_cast<size_t>(length));
    if (!WriteWithRetry(data, length)) return false;
    written_ += static_cast<uint64_t>(length);
  }
  return !overflow;
}

bool TZipEntryDecoder::WriteWithRetry(const uint8_t* data, int64_t length) {
  const int64_t position = output_.Position();
  for (;;) {
    if (output_.Write(data, length) == length) return true;
    bool cancel = true;
    try {
      // Volume number -1 of the disk-full request, which it reports as 0.
      archiver_.DoDiskFull(0, archiver_.FileName(), cancel);
    } catch (...) {
      // The handler's failure is no answer; the default one stands.
    }
    if (cancel) {
      archiver_.cancelled_ = true;
      return false;
    }
    output_.SetPosition(position);
  }
}

bool DecodeEntryData(TZipBaseArchiver& archiver, int index, const TDirItem& item, rt::TStream& output) {
  return TZipEntryDecoder(archiver, index, item, output).DecodeData();
}

}  // namespace zip
