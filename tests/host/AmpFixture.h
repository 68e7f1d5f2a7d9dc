// Host-level tests of the amp: a started plug-in, its stored values as the host's chunk
// shows them, stereo test signals and the 64-bit audio path.
#pragma once

#include <string>
#include <vector>

#include "tests/host/PluginFixture.h"

struct Stereo {
  std::vector<double> left;
  std::vector<double> right;
};

// Sines whose first left sample is not zero, so that the engine never sleeps on them.
Stereo TestSignal(int frames, double phase = 0.3);

// Runs the signal through the 64-bit path in blocks of blockSize.
Stereo ProcessDouble(vsthost::PluginHost& host, const Stereo& in, int blockSize);

// The values of the host's program chunk.
std::vector<double> StoredValues(vsthost::PluginHost& host);

// The largest magnitude of a channel.
double Peak(const std::vector<double>& samples);

class AmpTest : public PluginTest {
 protected:
  static constexpr int kBlock = 256;
  static constexpr double kRate = 44100.0;

  void SetUp() override {
    PluginTest::SetUp();
    host->Start(kRate, kBlock);
  }
  // A momentary button pressed and released.
  void Press(int index) {
    host->SetParameter(index, 1.0f);
    host->SetParameter(index, 0.0f);
  }
  // Flat tone section (loudness at its flat end) at unity volume; gate, drive and
  // cabinet voicing are off by default.
  void NeutralChain() {
    host->SetParameter(15, 0.0f);
    host->SetParameter(16, 1.0f);
  }
  std::unique_ptr<vsthost::PluginHost> Started(double rate) {
    std::string error;
    auto other = vsthost::PluginHost::Load(PluginPath(), &error);
    EXPECT_TRUE(other) << error;
    if (other) other->Start(rate, kBlock);
    return other;
  }
};
