// The uninstaller that an installation places in the install folder: the
// installer's own program, without its payload and signature, followed by
// an empty archive. Started, the program finds that empty payload and
// knows that it is the uninstaller: same program, same skin.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/streams.h"
#include "zip/archive_integrity.h"

namespace installer {

// The uninstaller's bytes, from the installer's program file and what the
// check of its payload found.
std::vector<uint8_t> UninstallerImage(rt::TStream& program, const zip::TArchiveIntegrity& payload);

// Whether a program whose payload is this is an uninstaller.
inline bool IsUninstallerPayload(const zip::TArchiveIntegrity& payload) {
  return payload.Whole() && payload.EntryCount == 0;
}

}  // namespace installer
