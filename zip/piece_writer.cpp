#include "zip/piece_writer.h"

#include "zip/crc32.h"

namespace zip {

TPieceWriter::TPieceWriter(rt::TStream& output) : output_(output), thread_([this] { Run(); }) {}

TPieceWriter::~TPieceWriter() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void TPieceWriter::Start(const uint8_t* data, int64_t length) {
  {
    const std::lock_guard lock(mutex_);
    data_ = data;
    length_ = length;
    written_ = 0;
    pending_ = true;
  }
  busy_ = true;
  changed_.notify_all();
}

int64_t TPieceWriter::Finish() {
  if (!busy_) return 0;
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  busy_ = false;
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  return written_;
}

void TPieceWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stopping_; });
    if (stopping_) return;
    const uint8_t* data = data_;
    const int64_t length = length_;
    lock.unlock();
    int64_t written = 0;
    std::exception_ptr failure;
    crc_ = UpdateCrc32(crc_, data, static_cast<size_t>(length));
    try {
      written = output_.Write(data, length);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    written_ = written;
    failure_ = failure;
    pending_ = false;
    changed_.notify_all();
  }
}

}  // namespace zip
