// The options of a command: "--name value", "--name=value", flags such as
// "-o", and "--" after which every argument is positional.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace cli {

struct OptionKind {
  const char* name;  // as typed: "--password", "-o"
  bool takesValue;
};

class ParsedOptions {
 public:
  bool Has(const std::string& name) const;
  // The last value given; empty when the option is absent.
  std::string Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  friend ParsedOptions ParseOptions(const std::vector<std::string>&, std::span<const OptionKind>);
  std::vector<std::pair<std::string, std::string>> given_;
  std::vector<std::string> positional_;
};

// Options may come anywhere before "--". An unknown option, or one that
// needs a value and has none, raises UsageError.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments, std::span<const OptionKind> known);

}  // namespace cli
