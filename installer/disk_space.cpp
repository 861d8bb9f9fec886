#include "installer/disk_space.h"

namespace installer {

namespace {

constexpr uint64_t kMegabyte = 1 << 20;

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

}  // namespace

uint64_t SpaceNeeded(uint64_t bytes, uint64_t files, uint64_t clusterSize) {
  const uint64_t slack = clusterSize != 0 && files > UINT64_MAX / clusterSize ? UINT64_MAX : files * clusterSize;
  return SaturatingAdd(bytes, slack);
}

uint64_t MegabytesUp(uint64_t bytes) { return bytes / kMegabyte + (bytes % kMegabyte != 0); }

uint64_t MegabytesDown(uint64_t bytes) { return bytes / kMegabyte; }

}  // namespace installer
