#include "tools/cli/files.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "tools/cli/command_line.h"
#include "tools/cli/console.h"

namespace cli {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::filesystem::path& path, bool writing) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), writing ? L"wb" : L"rb"));
#else
  return File(std::fopen(path.c_str(), writing ? "wb" : "rb"));
#endif
}

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
  if (error == ENOSPC) throw Failure(kExitDiskFull, "disk full writing " + PathToUtf8(path));
  throw std::runtime_error(what + " " + PathToUtf8(path) + ": " + SystemReason(error));
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

int ReadableOrError(const std::filesystem::path& path) {
  errno = 0;
  const File in = OpenFile(path, false);
  return in ? 0 : (errno != 0 ? errno : EACCES);
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) Fail("cannot read", path, EISDIR);
  errno = 0;
  const File in = OpenFile(path, false);
  if (!in) Fail("cannot open", path, errno);
  std::vector<uint8_t> bytes;
  uint8_t block[65536];
  for (size_t n; (n = std::fread(block, 1, sizeof block, in.get())) > 0;)
    bytes.insert(bytes.end(), block, block + n);
  if (std::ferror(in.get())) Fail("cannot read", path, errno);
  return bytes;
}

void WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    errno = 0;
    File out = OpenFile(temporary, true);
    if (!out) Fail("cannot create", temporary, errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
                         std::fflush(out.get()) == 0;
    const int error = errno;
    if (!written || std::fclose(out.release()) != 0) {
      const int reason = written ? errno : error;
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      Fail("cannot write", path, reason);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw std::runtime_error("cannot write " + PathToUtf8(path) + ": " + error.message());
  }
}

}  // namespace cli
