// formc: compiles a form description into the bytes of its form resource.
//
//   formc IN.form OUT.bin [--depfile OUT.d] [--search DIR]...
//
// Files that the description references are read relative to it or, when
// there is none there, relative to each --search folder in turn (files the
// build makes, such as the packed skin). The depfile lists the description
// and every file it read, so that the build compiles the form again when
// any of them changes.
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/form_resource.h"
#include "runtime/form_text.h"
#include "tools/cli/files.h"

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

int Usage() {
  std::fputs("usage: formc IN.form OUT.bin [--depfile OUT.d] [--search DIR]...\n", stderr);
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  fs::path depfile;
  std::vector<fs::path> folders;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--depfile" || arg == "--search") && i + 1 < argc) {
      const fs::path value = fs::absolute(argv[++i]);
      if (arg == "--depfile")
        depfile = value;
      else
        folders.push_back(value);
    } else {
      args.push_back(arg);
    }
  }
  if (args.size() != 2) return Usage();
  const fs::path input = fs::absolute(args[0]);
  const fs::path output = fs::absolute(args[1]);
  folders.insert(folders.begin(), input.parent_path());
  try {
    const std::vector<uint8_t> text = cli::ReadWholeFile(input);
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
    const rt::TFormObject form = rt::ParseFormText(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), args[0], loader);
    const std::vector<uint8_t> bytes = rt::WriteFormResource(form);
    if (rt::ReadFormResource(bytes) != form) throw std::logic_error("the resource does not read back");
    cli::WriteWholeFile(output, bytes);
    if (!depfile.empty()) {
      std::string rule = DepfilePath(output) + ":";
      for (const auto& path : read) rule += " \\\n  " + DepfilePath(path);
      rule += "\n";
      const auto* ruleBytes = reinterpret_cast<const uint8_t*>(rule.data());
      cli::WriteWholeFile(depfile, std::span(ruleBytes, rule.size()));
    }
  } catch (const std::exception& e) {
    // rt::Exception's what() is its message as UTF-8, and a form error
    // already starts with the description's name and the position.
    std::fprintf(stderr, "formc: %s\n", e.what());
    return 1;
  }
  return 0;
}
