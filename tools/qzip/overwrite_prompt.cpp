#include "tools/qzip/overwrite_prompt.h"

#include <memory>
#include <optional>
#include <string>

#include "tools/cli/console.h"

namespace qzip {

namespace {

enum class Answer { kYes, kNo, kAll, kNone };

std::optional<Answer> Parse(const std::string& line) {
  if (line == "y" || line == "Y" || line == "yes") return Answer::kYes;
  if (line == "n" || line == "no") return Answer::kNo;
  if (line == "A" || line == "All" || line == "all") return Answer::kAll;
  if (line == "N" || line == "None" || line == "none") return Answer::kNone;
  return std::nullopt;
}

}  // namespace

void AskBeforeOverwriting(zip::TZipArchiver& archiver, std::string (*shown)(const zip::WideString&)) {
  archiver.Options().SetOverwriteMode(zip::omPrompt);
  // What "All" or "None" decided for the rest of the run.
  auto standing = std::make_shared<std::optional<bool>>();
  archiver.OnConfirmOverwrite = [standing, shown](rt::TObject*, const zip::WideString&,
                                                  zip::WideString& destination, bool& confirm) {
    if (standing->has_value()) {
      confirm = **standing;
      return;
    }
    for (;;) {
      cli::WriteOut("replace " + shown(destination) + "? [y]es, [n]o, [A]ll, [N]one: ");
      const std::optional<std::string> line = cli::ReadInputLine();
      if (!line) {
        cli::WriteOut("\n");
        *standing = false;
        confirm = false;
        return;
      }
      const std::optional<Answer> answer = Parse(*line);
      if (!answer) {
        cli::WriteOut("error: invalid response [" + *line + "]\n");
        continue;
      }
      confirm = *answer == Answer::kYes || *answer == Answer::kAll;
      if (*answer == Answer::kAll || *answer == Answer::kNone) *standing = confirm;
      return;
    }
  };
}

}  // namespace qzip
