// Streams: a byte sequence with a position. THandleStream works straight on
// an operating-system file handle, TMemoryStream on a buffer it owns.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/classes.h"
#include "runtime/handle_io.h"

namespace rt {

class TStream : public TObject {
 public:
  WideString ClassName() const override { return u"TStream"; }

  // Each returns the number of bytes moved: fewer than asked at the end of
  // the data or when the device fails.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position. Seeking before the start raises EStreamError.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;

  virtual int64_t Size();
  virtual void SetSize(int64_t size) = 0;
  int64_t Position() { return Seek(0, SeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::soBeginning); }

  // The whole count or EReadError / EWriteError: for fixed-size records.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);

  // Copies count bytes from the current position of source (all of it from
  // its start when count is 0) and returns the number copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// Keeps track of the handle's file pointer so that asking for the position
// (which readers of records do all the time) costs no system call: the
// pointer must be moved through the stream only.
class THandleStream : public TStream {
 public:
  explicit THandleStream(FileHandle handle) : handle_(handle) {}
  // A handle whose file pointer is known to be at position.
  THandleStream(FileHandle handle, int64_t position) : handle_(handle), position_(position) {}
  WideString ClassName() const override { return u"THandleStream"; }

  FileHandle Handle() const { return handle_; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

 protected:
  FileHandle handle_;

 private:
  void Advance(int64_t moved) { position_ = moved < 0 ? kUnknown : position_ + moved; }

  static constexpr int64_t kUnknown = -1;
  int64_t position_ = kUnknown;  // the file pointer, once known
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  WideString ClassName() const override { return u"TMemoryStream"; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  const std::vector<uint8_t>& Bytes() const { return data_; }
  uint8_t* Memory() { return data_.data(); }
  void Clear();

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace rt
