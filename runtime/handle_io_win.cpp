#include <windows.h>

#include <algorithm>

#include "runtime/handle_io.h"
#include "runtime/handle_transfer.h"

namespace rt {

namespace {

HANDLE Native(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// ReadFile and WriteFile take 32-bit counts.
constexpr int64_t kMaxTransfer = 1 << 30;

}  // namespace

int64_t HandleRead(FileHandle handle, void* buffer, int64_t count) {
  return TransferAll(count, [&](int64_t offset, int64_t remaining) -> int64_t {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min(remaining, kMaxTransfer));
    if (!ReadFile(Native(handle), static_cast<char*>(buffer) + offset, ask, &got, nullptr)) return -1;
    return got;
  });
}

int64_t HandleWrite(FileHandle handle, const void* buffer, int64_t count) {
  return TransferAll(count, [&](int64_t offset, int64_t remaining) -> int64_t {
    DWORD put = 0;
    const DWORD ask = static_cast<DWORD>(std::min(remaining, kMaxTransfer));
    if (!WriteFile(Native(handle), static_cast<const char*>(buffer) + offset, ask, &put, nullptr)) return -1;
    return put;
  });
}

int64_t HandleSeek(FileHandle handle, int64_t offset, SeekOrigin origin) {
  static constexpr DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(Native(handle), distance, &result, kMethod[static_cast<int>(origin)]))
    return -1;
  return result.QuadPart;
}

int64_t HandleSize(FileHandle handle) {
  LARGE_INTEGER size;
  return GetFileSizeEx(Native(handle), &size) ? size.QuadPart : -1;
}

bool HandleSetEnd(FileHandle handle) { return SetEndOfFile(Native(handle)) != 0; }
bool HandleFlush(FileHandle handle) { return FlushFileBuffers(Native(handle)) != 0; }
void HandleClose(FileHandle handle) { CloseHandle(Native(handle)); }

}  // namespace rt
