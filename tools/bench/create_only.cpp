// The floor of extraction: creates the files an archive holds, with their
// folders, and writes zeros of each file's size in 256 KiB writes, as an
// extractor writes its output, with nothing read or decoded. The listing
// has "size path" per line, paths relative to DIR with "/" separators.
//   create_only LISTING DIR
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0777);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 64;
  std::ifstream listing(argv[1]);
  const std::string root = argv[2];
  const std::vector<char> zeros(256 << 10);
  long long size = 0;
  std::string name;
  while (listing >> size && std::getline(listing >> std::ws, name)) {
    const std::string path = root + "/" + name;
    if (!name.empty() && name.back() == '/') {
      MakeFolders(path);
      continue;
    }
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0 && errno == ENOENT) {
      MakeFolders(path);
      fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    }
    if (fd < 0) return 1;
    for (long long left = size; left > 0;) {
      const auto n = static_cast<size_t>(left < static_cast<long long>(zeros.size()) ? left : zeros.size());
      if (write(fd, zeros.data(), n) != static_cast<ssize_t>(n)) return 1;
      left -= static_cast<long long>(n);
    }
    close(fd);
  }
  return 0;
}
