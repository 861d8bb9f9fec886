#include "zip/tests/test_files.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include "zip/file_layer.h"
#include "zip/wide_file_stream.h"

namespace zip::testing {

namespace stdfs = std::filesystem;

TempFolder::TempFolder(std::string_view purpose) {
  const stdfs::path path = stdfs::temp_directory_path() /
                           ("quimora-" + std::string(purpose) + "-" + std::to_string(std::random_device()()));
  stdfs::create_directories(path);
  path_ = path.string();
  name_ = path.u16string();
  std::replace(name_.begin(), name_.end(), u'/', u'\\');
}

TempFolder::~TempFolder() { RemoveTree(name_); }

rt::WideString TempFolder::operator/(rt::WideStringView child) const {
  return name_ + u"\\" + rt::WideString(child);
}

void WriteFile(const rt::WideString& name, std::string_view bytes) {
  TWideFileStream(name, kFmCreate).WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::string ReadFile(const rt::WideString& name) {
  TWideFileStream stream(name, kFmOpenRead | kFmShareDenyNone);
  std::string bytes(static_cast<size_t>(stream.Size()), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

}  // namespace zip::testing
