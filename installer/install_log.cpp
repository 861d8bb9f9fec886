#include "installer/install_log.h"
#include "zip/wide_file_stream.h"

#include <string>

namespace installer {

namespace {

// A tab or line break inside a path would split its line: each becomes a
// blank.
void AppendField(std::string& line, const WideString& field) {
  WideString clean = field;
  for (char16_t& c : clean)
    if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
  rt::AppendUtf8(line, clean);
}

}  // namespace

TInstallLog::TInstallLog(const std::optional<WideString>& file) {
  if (file) stream_ = std::make_unique<zip::TWideFileStream>(*file, zip::kFmCreate);
}

void TInstallLog::Write(std::string_view kind, const WideString& path, const WideString& detail) {
  if (!stream_) return;
  std::string line(kind);
  line += '\t';
  AppendField(line, path);
  if (!detail.empty()) {
    line += '\t';
    AppendField(line, detail);
  }
  Line(line);
}

void TInstallLog::Result(int code, std::string_view meaning) {
  if (!stream_) return;
  Line("result\t" + std::to_string(code) + "\t" + std::string(meaning));
}

void TInstallLog::Line(const std::string& text) {
  const std::string line = text + "\r\n";
  stream_->WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
}

}  // namespace installer
