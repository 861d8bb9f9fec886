// Whether the payload fits on the volume of the folder it goes to, asked
// before anything is written.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/strings.h"

namespace installer {

struct TDiskSpace {
  uint64_t FreeBytes = 0;  // what this user may still write
  uint64_t ClusterSize = 0;
};

// The space of the volume that folder is on; the folder need not exist
// yet. Nothing when the volume cannot be asked (no such drive).
std::optional<TDiskSpace> DiskSpaceAt(const rt::WideString& folder);

// What a payload takes on a volume: its bytes, and a cluster for each file
// for the part of its last cluster that a file leaves unused.
uint64_t SpaceNeeded(uint64_t bytes, uint64_t files, uint64_t clusterSize);

// Whole megabytes (1,048,576 bytes) of a size, rounded up or down: a
// message says what is needed rounded up and what is free rounded down,
// so that the two figures never seem to fit when they do not.
uint64_t MegabytesUp(uint64_t bytes);
uint64_t MegabytesDown(uint64_t bytes);

}  // namespace installer
