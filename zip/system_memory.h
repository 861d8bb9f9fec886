// How much physical memory is free right now: the decoder sizes its
// chunks from it.
#pragma once

#include <cstdint>

namespace zip {

// Bytes of physical memory available to the process now; 0 when unknown.
uint64_t AvailablePhysicalMemory();

}  // namespace zip
