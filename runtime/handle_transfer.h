// The loop both file-handle backends share: a read or write of any size
// done in as many system calls as it takes.
#pragma once

#include <cstdint>

namespace rt {

// Calls step(offset, remaining) until count bytes have moved. step moves
// up to `remaining` bytes at `offset` into the buffer and returns how many,
// 0 at the end of the file, -1 on failure. Returns the bytes moved, or -1
// when the very first step failed.
template <typename Step>
int64_t TransferAll(int64_t count, Step step) {
  int64_t done = 0;
  while (done < count) {
    const int64_t moved = step(done, count - done);
    if (moved < 0) return done ? done : -1;
    if (moved == 0) break;
    done += moved;
  }
  return done;
}

}  // namespace rt
