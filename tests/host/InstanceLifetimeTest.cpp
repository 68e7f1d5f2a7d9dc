// Many instances created and destroyed in turn, as a DAW does while scanning, loading and
// closing sessions: every one starts and stops cleanly. The sanitized build's leak check
// at exit covers what they might leave behind.
#include "tests/host/PluginFixture.h"

namespace {

constexpr int kCycles = 1000;

TEST_F(PluginTest, AThousandInstancesCreatedStartedAndDestroyedInTurn) {
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    std::string error;
    auto instance = vsthost::PluginHost::Load(PluginPath(), &error);
    ASSERT_TRUE(instance) << "cycle " << cycle << ": " << error;
    instance->Start(48000.0, 64 + cycle % 512);
    instance->Dispatch(vst2::effMainsChanged, 0, 0);
  }
}

}  // namespace
