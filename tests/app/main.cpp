// The standalone's suites: --voltrex names the binary under test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/app/TestSupport.h"

namespace {
std::string gVoltrexPath;
}

const std::string& VoltrexPath() { return gVoltrexPath; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--voltrex") == 0) gVoltrexPath = argv[i + 1];
  }
  if (gVoltrexPath.empty()) {
    std::fprintf(stderr, "usage: %s --voltrex PATH\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
