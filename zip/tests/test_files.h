// Files and folders for tests, through the file layer: a temporary folder
// that removes itself, and whole-file reads and writes.
#pragma once

#include <string>
#include <string_view>

#include "runtime/strings.h"

namespace zip::testing {

// A new folder under the system's temporary folder, removed with all it
// holds (read-only files too). Names use "\" as the file layer does.
class TempFolder {
 public:
  explicit TempFolder(std::string_view purpose = "test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const rt::WideString& Name() const { return name_; }
  rt::WideString operator/(rt::WideStringView child) const;

 private:
  std::string path_;
  rt::WideString name_;
};

// Removes a folder and everything in it (or a file), read-only files and
// trees deeper than the plain Windows calls reach included; quietly does
// what it can.
void RemoveTree(const rt::WideString& folder);

void WriteFile(const rt::WideString& name, std::string_view bytes);
std::string ReadFile(const rt::WideString& name);

}  // namespace zip::testing
