#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/handle_io.h"
#include "runtime/handle_transfer.h"

namespace rt {

namespace {
int Fd(FileHandle handle) { return static_cast<int>(handle); }

// A system call interrupted by a signal before it moved anything is made again.
template <typename Call>
ssize_t Retried(Call call) {
  ssize_t result;
  do result = call();
  while (result < 0 && errno == EINTR);
  return result;
}
}  // namespace

int64_t HandleRead(FileHandle handle, void* buffer, int64_t count) {
  return TransferAll(count, [&](int64_t offset, int64_t remaining) -> int64_t {
    return Retried([&] { return ::read(Fd(handle), static_cast<char*>(buffer) + offset, remaining); });
  });
}

int64_t HandleWrite(FileHandle handle, const void* buffer, int64_t count) {
  return TransferAll(count, [&](int64_t offset, int64_t remaining) -> int64_t {
    return Retried([&] { return ::write(Fd(handle), static_cast<const char*>(buffer) + offset, remaining); });
  });
}

int64_t HandleSeek(FileHandle handle, int64_t offset, SeekOrigin origin) {
  static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  return ::lseek(Fd(handle), offset, kWhence[static_cast<int>(origin)]);
}

int64_t HandleSize(FileHandle handle) {
  struct stat status;
  return ::fstat(Fd(handle), &status) == 0 ? static_cast<int64_t>(status.st_size) : -1;
}

bool HandleSetEnd(FileHandle handle) {
  const off_t here = ::lseek(Fd(handle), 0, SEEK_CUR);
  return here >= 0 && ::ftruncate(Fd(handle), here) == 0;
}

bool HandleFlush(FileHandle handle) { return ::fsync(Fd(handle)) == 0; }
void HandleClose(FileHandle handle) { ::close(Fd(handle)); }

}  // namespace rt
