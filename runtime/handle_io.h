// Raw I/O on an operating-system file handle: a Win32 HANDLE or a POSIX
// file descriptor, both carried as an integer with -1 meaning invalid.
#pragma once

#include <cstdint>

namespace rt {

using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidFileHandle = -1;

enum class SeekOrigin { soBeginning, soCurrent, soEnd };

// Each returns the number of bytes moved, or -1 on failure with the
// system's last error left as the system set it. They move fewer bytes
// than asked only at the end of the file or on failure.
int64_t HandleRead(FileHandle handle, void* buffer, int64_t count);
int64_t HandleWrite(FileHandle handle, const void* buffer, int64_t count);
// The new position, or -1.
int64_t HandleSeek(FileHandle handle, int64_t offset, SeekOrigin origin);
// The size of the file, or -1.
int64_t HandleSize(FileHandle handle);
// Truncates or extends the file to the current position.
bool HandleSetEnd(FileHandle handle);
bool HandleFlush(FileHandle handle);
void HandleClose(FileHandle handle);

}  // namespace rt
