// zlib's inflate alone, the limit an extractor can reach: reads the raw
// deflate streams named on standard input ("offset size" per line) from
// the archive into memory, then inflates each into a reused 1 MiB buffer,
// the output thrown away, as many times as asked. Prints the best time in
// seconds.
//   inflate_alone ARCHIVE RUNS < streams
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 3) return 64;
  std::ifstream file(argv[1], std::ios::binary);
  std::vector<std::vector<unsigned char>> streams;
  long long offset = 0, size = 0;
  while (std::cin >> offset >> size) {
    std::vector<unsigned char> data(static_cast<size_t>(size));
    file.seekg(offset);
    file.read(reinterpret_cast<char*>(data.data()), size);
    streams.push_back(std::move(data));
  }
  std::vector<unsigned char> out(1 << 20);
  double best = 1e30;
  for (int run = 0; run < std::atoi(argv[2]); ++run) {
    const auto start = std::chrono::steady_clock::now();
    for (auto& data : streams) {
      z_stream z{};
      if (inflateInit2(&z, -15) != Z_OK) return 1;
      z.next_in = data.data();
      z.avail_in = static_cast<uInt>(data.size());
      int result;
      do {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        result = inflate(&z, Z_NO_FLUSH);
      } while (result == Z_OK);
      inflateEnd(&z);
      if (result != Z_STREAM_END) return 1;
    }
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::printf("%.6f\n", best);
  return 0;
}
