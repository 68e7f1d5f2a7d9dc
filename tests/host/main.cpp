#include <cstring>
#include <string>

#include "tests/host/PluginFixture.h"

namespace {
std::string gPluginPath;
}

const std::string& PluginPath() { return gPluginPath; }

std::vector<uint8_t> MakeProgramChunk(const std::string& path, const std::vector<double>& values,
                                      bool withHeader) {
  std::vector<uint8_t> bytes;
  auto put = [&bytes](const void* data, size_t size) {
    const size_t at = bytes.size();
    bytes.resize(at + size);
    if (size) std::memcpy(bytes.data() + at, data, size);
  };
  if (withHeader) {
    const int32_t header[2] = {0x70666674, 0x00010000};
    put(header, sizeof header);
  }
  const int32_t length = int32_t(path.size());
  put(&length, 4);
  put(path.data(), path.size());
  put(values.data(), values.size() * sizeof(double));
  return bytes;
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0) gPluginPath = argv[i + 1];
  }
  if (gPluginPath.empty()) {
    std::fprintf(stderr, "usage: host_tests --plugin PATH\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
