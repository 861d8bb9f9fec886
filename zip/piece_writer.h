// Writes a large entry's decoded output on a thread of its own, one piece
// at a time, while the decoder inflates the next piece into another
// buffer: on a machine with a second core the CRC and the write then cost
// no time of the inflater's. The pieces are written in order, and the CRC
// is taken of each piece once, whatever becomes of its write.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "runtime/streams.h"

namespace zip {

class TPieceWriter {
 public:
  explicit TPieceWriter(rt::TStream& output);
  // Waits for the piece in flight, then ends the thread.
  ~TPieceWriter();
  TPieceWriter(const TPieceWriter&) = delete;
  TPieceWriter& operator=(const TPieceWriter&) = delete;

  // Hands a piece over and returns at once; its bytes must stay as they
  // are until Finish returns. Only one piece is in flight at a time.
  void Start(const uint8_t* data, int64_t length);
  // Waits for the piece in flight (if any) and returns how many of its
  // bytes were written: short of its length, the output refused the rest.
  // Rethrows what the output's write raised.
  int64_t Finish();
  bool Busy() const { return busy_; }
  // The running CRC-32 of every piece handed over so far; read it after
  // Finish.
  uint32_t Crc() const { return crc_; }

 private:
  void Run();

  rt::TStream& output_;
  std::mutex mutex_;
  std::condition_variable changed_;
  const uint8_t* data_ = nullptr;
  int64_t length_ = 0;
  int64_t written_ = 0;
  uint32_t crc_ = 0;
  std::exception_ptr failure_;
  bool busy_ = false;     // a piece is in flight (read by the decoder's thread only)
  bool pending_ = false;  // a piece waits for the writer or is being written
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace zip
