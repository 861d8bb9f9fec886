// Runs a fuzz target over files and folders of inputs, one call per file:
// the regression form of a fuzz target, on every platform the code builds
// for. Prints one summary line and exits non-zero if an input escaped.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: escaped: %s\n", file.string().c_str(), e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: escaped: unknown exception\n", file.string().c_str());
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int passed = 0;
  int failed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path root(argv[i]);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(root)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else {
      files.push_back(root);
    }
    for (const auto& file : files) (Replay(file) ? passed : failed)++;
  }
  std::printf("replay: %d passed, %d failed\n", passed, failed);
  return failed == 0 && passed > 0 ? 0 : 1;
}
