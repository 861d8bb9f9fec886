// Decoding of one entry's data (TZipBaseArchiver::DecodeEntry): the local
// header is skipped, the compressed bytes are read in memory-bounded
// chunks, copied or inflated, fed to the CRC-32 and written out, and the
// decoded length and CRC are compared with the central directory.
#pragma once

#include <cstdint>

#include "runtime/exceptions.h"

namespace rt {
class TStream;
}

namespace zip {

class TZipBaseArchiver;
struct TDirItem;

// Most compressed bytes read per step.
inline constexpr int64_t kDecodeChunkSize = 0x100000;
// Chunks shorter than this are never halved further.
inline constexpr int64_t kMinHalvedChunk = 512;
// The output of one chunk is written out and its buffer reused once it
// holds this much, however far the chunk expands. Small enough to stay in
// the processor's cache between inflating, the CRC and the write, which
// takes about a tenth off extracting a large entry.
inline constexpr int64_t kOutputBufferLimit = kDecodeChunkSize / 4;

// Deflated entries that decode to at most this many bytes, from at most
// as many, are read whole and decoded in one call, about twice as fast as
// streaming them through zlib; larger ones, and entries whose sizes come
// from a directory rebuilt from local headers, stream in chunks. The
// decoder's input and output buffers are sized once per run for the
// largest such entry. Builds that fuzz the decoder make it small, so that
// small inputs reach both ways of decoding.
#ifndef QUIMORA_WHOLE_ENTRY_LIMIT
#define QUIMORA_WHOLE_ENTRY_LIMIT 0x800000
#endif
inline constexpr int64_t kWholeEntryLimit = QUIMORA_WHOLE_ENTRY_LIMIT;
// A whole entry's output is written in pieces of this size, each announced
// by the progress events as a chunk of a streamed entry is.
inline constexpr int64_t kWholeEntryPiece = kWholeEntryLimit / 32;
static_assert(kWholeEntryPiece > 0);

// The decompression library refused to start.
class EZDecompressionError : public rt::Exception {
 public:
  EZDecompressionError() : rt::Exception(u"error") {}
};

// The output buffer planned for a chunk of n compressed bytes of an entry
// of these directory sizes: a power of two from the entry's overall ratio.
int64_t EstimateOutputSize(uint64_t uncompressedSize, uint64_t compressedSize, int64_t n);

// The length of the next chunk when length bytes could be taken: halved
// while its estimated output would reach the ceiling, but not below the
// first length under kMinHalvedChunk.
int64_t HalvedChunkLength(int64_t length, uint64_t uncompressedSize, uint64_t compressedSize,
                          uint64_t ceiling);

// Decodes the data of the archiver's entry `index` (item, a copy of its
// directory record) into output; the archive stream stands at the entry's
// local header. True when the entry decoded to its recorded size and CRC;
// false when it did not, or when a handler cancelled or skipped it.
bool DecodeEntryData(TZipBaseArchiver& archiver, int index, const TDirItem& item, rt::TStream& output);

// Entries the archive's directory describes well enough to decode whole:
// deflated, in a single-file archive, with sizes from a directory that was
// read and not rebuilt, both within the limit.
bool IsWholeEntryCandidate(const TDirItem& item, const TZipBaseArchiver& archiver);

// The most memory one entry's decoding may take: a twentieth of the free
// physical memory.
uint64_t DecodeMemoryCeiling();

// Where the decoder learns the free physical memory; tests answer
// themselves. nullptr restores the system's figure. Returns the previous.
using TAvailableMemoryQuery = uint64_t (*)();
TAvailableMemoryQuery SetAvailableMemoryQuery(TAvailableMemoryQuery query);

}  // namespace zip
