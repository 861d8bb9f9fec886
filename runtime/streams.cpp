#include "runtime/streams.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/exceptions.h"
#include "runtime/stock_texts.h"

namespace rt {

int64_t TStream::Size() {
  const int64_t here = Position();
  const int64_t end = Seek(0, SeekOrigin::soEnd);
  Seek(here, SeekOrigin::soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(kSReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(kSWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 1 << 16;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kChunk)));
  int64_t done = 0;
  while (done < count) {
    const int64_t n = std::min(count - done, kChunk);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    done += n;
  }
  return done;
}

// A failed transfer leaves the file pointer where the system left it: it is
// asked again next time.
int64_t THandleStream::Read(void* buffer, int64_t count) {
  const int64_t n = HandleRead(handle_, buffer, count);
  if (position_ != kUnknown) Advance(n);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  const int64_t n = HandleWrite(handle_, buffer, count);
  if (position_ != kUnknown) Advance(n);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, SeekOrigin origin) {
  // Asking where the pointer is, or moving it where it already is (the
  // next entry of an archive read in order), needs no system call.
  if (position_ != kUnknown &&
      ((origin == SeekOrigin::soCurrent && offset == 0) ||
       (origin == SeekOrigin::soBeginning && offset == position_)))
    return position_;
  const int64_t position = HandleSeek(handle_, offset, origin);
  if (position < 0) {
    position_ = kUnknown;
    throw EStreamError(kSReadError);
  }
  position_ = position;
  return position;
}

int64_t THandleStream::Size() {
  const int64_t size = HandleSize(handle_);
  return size >= 0 ? size : TStream::Size();
}

void THandleStream::SetSize(int64_t size) {
  Seek(size, SeekOrigin::soBeginning);
  if (!HandleSetEnd(handle_)) throw EWriteError(kSWriteError);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t available = std::max<int64_t>(0, Size() - position_);
  const int64_t n = std::clamp<int64_t>(count, 0, available);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::soCurrent) base = position_;
  if (origin == SeekOrigin::soEnd) base = Size();
  if (offset < -base || offset > INT64_MAX - base) throw EStreamError(kSReadError);
  // Seeking past the end is allowed; a later write fills the gap with zeros.
  position_ = base + offset;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

}  // namespace rt
