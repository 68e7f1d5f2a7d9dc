// Host-level tests load the built plug-in binary through its entry point, as a DAW does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/PluginHost.h"

// The plug-in binary under test, from --plugin on the command line.
const std::string& PluginPath();

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    host = vsthost::PluginHost::Load(PluginPath(), &error);
    ASSERT_TRUE(host) << error;
    effect = host->Effect();
  }

  // Calls of one opcode the plug-in made into the host since the last ClearCalls.
  std::vector<vsthost::HostCall> CallsOf(int32_t opcode) {
    std::vector<vsthost::HostCall> found;
    for (const auto& call : host->Calls()) {
      if (call.opcode == opcode) found.push_back(call);
    }
    return found;
  }

  std::unique_ptr<vsthost::PluginHost> host;
  vst2::AEffect* effect = nullptr;
};

// A program chunk as the plug-in writes it, built by hand.
std::vector<uint8_t> MakeProgramChunk(const std::string& path, const std::vector<double>& values,
                                      bool withHeader = true);
