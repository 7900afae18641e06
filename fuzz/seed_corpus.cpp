// Writes the libFuzzer seed corpus: every fixture named on the command line
// into the folder given first, the readable *.hex fixtures as their bytes and
// any other file as it is.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "HexBytes.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT_FOLDER FIXTURE...\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path out = argv[1];
  fs::create_directories(out);
  for (int i = 2; i < argc; ++i) {
    const fs::path in = argv[i];
    std::ifstream file(in, std::ios::binary);
    std::stringstream ss;
    ss << file.rdbuf();
    std::string bytes = ss.str();
    if (in.extension() == ".hex") {
      const auto decoded = kalvora::test::DecodeHexText(bytes);
      bytes.assign(decoded.begin(), decoded.end());
    }
    std::ofstream(out / in.filename(), std::ios::binary) << bytes;
  }
  return 0;
}
