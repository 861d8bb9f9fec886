#include "zip/directory_reader.h"

#include <algorithm>
#include <cstring>

#include "runtime/exceptions.h"
#include "runtime/stock_texts.h"

namespace zip {

namespace {

constexpr int64_t kWindow = 1 << 16;

}  // namespace

void TDirectoryReader::Reset(rt::TStream* stream, int64_t position) {
  stream_ = stream;
  size_ = stream->Size();
  position_ = position;
  bufferStart_ = position;
  buffer_.clear();
}

int64_t TDirectoryReader::Remaining() const { return std::max<int64_t>(size_ - position_, 0); }

void TDirectoryReader::Read(uint8_t* out, size_t count) {
  if (count > static_cast<uint64_t>(Remaining())) throw rt::EReadError(rt::kSReadError);
  while (count > 0) {
    const int64_t offset = position_ - bufferStart_;
    if (offset < 0 || offset >= static_cast<int64_t>(buffer_.size())) {
      Fill();
      continue;
    }
    const size_t n = std::min(count, buffer_.size() - static_cast<size_t>(offset));
    std::memcpy(out, buffer_.data() + offset, n);
    out += n;
    count -= n;
    position_ += static_cast<int64_t>(n);
  }
}

void TDirectoryReader::Skip(uint64_t count) {
  if (count > static_cast<uint64_t>(Remaining())) throw rt::EReadError(rt::kSReadError);
  position_ += static_cast<int64_t>(count);
}

void TDirectoryReader::Fill() {
  bufferStart_ = position_;
  buffer_.resize(static_cast<size_t>(std::min(kWindow, Remaining())));
  stream_->SetPosition(position_);
  stream_->ReadBuffer(buffer_.data(), static_cast<int64_t>(buffer_.size()));
}

}  // namespace zip
