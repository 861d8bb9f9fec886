// The log that /LOG asks for: one UTF-8 line for each thing written or
// removed and each failure, then the result, the fields separated by tabs
// so that a script can read them:
//
//   folder	PATH             a folder created
//   file	PATH               a file written
//   shortcut	PATH           a shell link written
//   registry	KEY            the Apps & features entry written
//   removed	PATH           (uninstalling) a file, folder, link or entry removed
//   kept	KEY	WHY          (uninstalling) the entry of another installation
//   failed	PATH	WHY        something that could not be done
//   result	CODE	MEANING    the exit code and what it means
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "runtime/strings.h"
#include "zip/file_layer.h"
#include "zip/wide_file_stream.h"

namespace installer {

using rt::WideString;

class TInstallLog {
 public:
  // Without a file the log writes nothing. Raises the file layer's
  // creation error when the file cannot be made.
  explicit TInstallLog(const std::optional<WideString>& file);

  void Write(std::string_view kind, const WideString& path, const WideString& detail = {});
  void Result(int code, std::string_view meaning);

 private:
  void Line(const std::string& text);

  std::unique_ptr<zip::TWideFileStream> stream_;
};

}  // namespace installer
