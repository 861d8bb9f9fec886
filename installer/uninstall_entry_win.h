// The product's entry in Windows' list of installed apps ("Apps &
// features", "Programs and Features"): per user, under HKEY_CURRENT_USER,
// since the installer runs as the user who starts it and writes nothing
// machine-wide.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/strings.h"

namespace installer {

using rt::WideString;

inline constexpr char16_t kUninstallKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quimora18_19";
inline constexpr char16_t kDisplayName[] = u"Quimora 18/19";

// Writes the entry for an installation into folder of installedBytes;
// false when the key cannot be written.
bool WriteUninstallEntry(const WideString& folder, uint64_t installedBytes);

// The folder the entry records, when there is an entry.
std::optional<WideString> RecordedInstallFolder();

// Removes the entry; true when it is gone (or was never there).
bool DeleteUninstallEntry();

}  // namespace installer
