// formc: compiles a form description into the bytes of its form resource.
//
// Files that the description references are read relative to it or, when
// there is none there, relative to each --search folder in turn (files the
// build makes, such as the packed skin). The depfile lists the description
// and every file it read, so that the build compiles the form again when
// any of them changes.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/product_version.h"
#include "runtime/form_resource.h"
#include "runtime/form_text.h"
#include "tools/cli/command_line.h"
#include "tools/cli/files.h"
#include "tools/cli/options.h"

namespace fs = std::filesystem;

namespace {

// A path as a Makefile-style depfile spells it.
std::string DepfilePath(const fs::path& path) {
  std::string out;
  for (const char c : path.generic_string()) {
    if (c == ' ' || c == '#' || c == '\\') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

constexpr char kUsage[] =
    "usage: formc [--depfile OUT.d] [--search DIR]... [--] IN.form OUT.bin\n"
    "       formc --help | --version\n"
    "Compiles the form description IN.form into the bytes of its form resource OUT.bin. Files the\n"
    "description names are read relative to it, else relative to each --search folder in turn;\n"
    "--depfile writes a Makefile rule listing every file read.\n"
    "exit status:\n"
    "  0  done\n"
    "  1  a file cannot be read or written, or the description has an error\n"
    "  50 disk full\n"
    "  64 usage\n";

int Compile(const std::vector<std::string>& arguments) {
  static constexpr cli::OptionKind kOptions[] = {{"--depfile", true}, {"--search", true}};
  const cli::ParsedOptions options = cli::ParseOptions(arguments, kOptions);
  const std::vector<std::string>& args = options.Positional();
  if (args.size() != 2) throw cli::UsageError("formc takes a form description and an output file");
  const fs::path depfile = options.Has("--depfile") ? fs::absolute(cli::PathFromUtf8(options.Value("--depfile"))) : fs::path();
  std::vector<fs::path> folders;
  for (const std::string& folder : options.Values("--search")) folders.push_back(fs::absolute(cli::PathFromUtf8(folder)));
  const fs::path input = fs::absolute(cli::PathFromUtf8(args[0]));
  const fs::path output = fs::absolute(cli::PathFromUtf8(args[1]));
  folders.insert(folders.begin(), input.parent_path());
  // Read and written by the names typed, which the messages then show.
  const std::vector<uint8_t> text = cli::ReadWholeFile(cli::PathFromUtf8(args[0]));
  std::vector<fs::path> read = {input};
  const rt::FormFileLoader loader = [&](const std::string& name) {
    const fs::path relative(std::u8string(name.begin(), name.end()));
    if (relative.empty() || relative.is_absolute() || relative.has_root_name())
      throw std::runtime_error("the path must be relative to the description");
    // Not found anywhere: the error names the place beside the description.
    fs::path path = (folders.front() / relative).lexically_normal();
    for (const fs::path& folder : folders) {
      const fs::path candidate = (folder / relative).lexically_normal();
      if (fs::exists(candidate)) {
        path = candidate;
        break;
      }
    }
    read.push_back(path);
    return cli::ReadWholeFile(path);
  };
  // rt::Exception's what() is its message as UTF-8, and a form error
  // already starts with the description's name and the position.
  const rt::TFormObject form = rt::ParseFormText(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), args[0], loader);
  const std::vector<uint8_t> bytes = rt::WriteFormResource(form);
  if (rt::ReadFormResource(bytes) != form) throw std::logic_error("the resource does not read back");
  cli::WriteWholeFile(cli::PathFromUtf8(args[1]), bytes);
  if (!depfile.empty()) {
    std::string rule = DepfilePath(output) + ":";
    for (const auto& path : read) rule += " \\\n  " + DepfilePath(path);
    rule += "\n";
    const auto* ruleBytes = reinterpret_cast<const uint8_t*>(rule.data());
    cli::WriteWholeFile(depfile, std::span(ruleBytes, rule.size()));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static const cli::Program program{"formc", QUIMORA_FILE_VERSION, kUsage};
  return cli::RunProgram(program, argc, argv, &Compile);
}
