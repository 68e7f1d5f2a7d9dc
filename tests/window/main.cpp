#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/window/EditorWindowTest.h"

namespace {
std::string gPluginPath;
}

const std::string& PluginPath() { return gPluginPath; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
  // The test is a DPI-aware host, as DAWs are: its windows see the screen's own density.
  SetProcessDPIAware();
#endif
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0) gPluginPath = argv[i + 1];
  }
  if (gPluginPath.empty()) {
    std::fprintf(stderr, "usage: window_tests --plugin PATH\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
