// Whole-file reads and writes for the command-line tools, with UTF-8 paths.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace cli {

std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// 0 when the file opens for reading, else the C library's error number.
int ReadableOrError(const std::filesystem::path& path);

// Both raise std::runtime_error with the path in the message. A write
// goes to a file beside the target, renamed over it once complete, so that
// a failed run never leaves a half-written file that looks up to date.
// A full disk raises cli::Failure with kExitDiskFull.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace cli
