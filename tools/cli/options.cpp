#include "tools/cli/options.h"

#include <algorithm>

#include "tools/cli/command_line.h"

namespace cli {

bool ParsedOptions::Has(const std::string& name) const {
  return std::any_of(given_.begin(), given_.end(), [&](const auto& g) { return g.first == name; });
}

std::string ParsedOptions::Value(const std::string& name) const {
  const std::vector<std::string> all = Values(name);
  return all.empty() ? std::string() : all.back();
}

std::vector<std::string> ParsedOptions::Values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : given_)
    if (n == name) values.push_back(v);
  return values;
}

ParsedOptions ParseOptions(const std::vector<std::string>& arguments, std::span<const OptionKind> known) {
  ParsedOptions parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      parsed.positional_.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
    const std::string name = a.substr(0, equals);
    const auto option = std::find_if(known.begin(), known.end(),
                                   [&](const OptionKind& k) { return name == k.name; });
    if (option == known.end()) throw UsageError("unknown option '" + name + "'");
    if (!option->takesValue) {
      if (equals != std::string::npos) throw UsageError(name + " takes no value");
      parsed.given_.emplace_back(name, "");
    } else if (equals != std::string::npos) {
      parsed.given_.emplace_back(name, a.substr(equals + 1));
    } else if (i + 1 < arguments.size()) {
      parsed.given_.emplace_back(name, arguments[++i]);
    } else {
      throw UsageError(name + " needs a value");
    }
  }
  return parsed;
}

}  // namespace cli
