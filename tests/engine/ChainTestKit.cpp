#include "ChainTestKit.h"

#include <cmath>
#include <complex>
#include <numbers>

#include "EngineTestKit.h"
#include "cabinet/ImpulseBuffer.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/ProcessChain.h"

std::unique_ptr<Engine> MakeNeutralEngine(double sampleRate) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, sampleRate);
  SetMainBass(*e, 0.5);
  SetMainTreble(*e, 0.5);
  SetLoudness(*e, 0.0);
  SetMainVolume(*e, 1.0);
  SelectCabinet(*e, 0.0);
  return e;
}

StereoBlock Block(std::vector<double> left, std::vector<double> right) {
  return {std::move(left), std::move(right)};
}

StereoBlock& Process(Engine& e, PartitionedConvolver& convolver, StereoBlock& block) {
  double* channels[2] = {block.left.data(), block.right.data()};
  ProcessChain(e, convolver, channels, channels, static_cast<int>(block.left.size()));
  return block;
}

std::vector<double> FilterStates(const Engine& e) {
  const DspBank& b = e.bank;
  std::vector<double> states;
  for (const double* a : {b.x1, b.x2, b.y1, b.y2}) states.insert(states.end(), a, a + kNumBiquads);
  for (const OnePoleSet* set : {&b.lowpassA, &b.lowpassB}) {
    states.insert(states.end(), set->s, set->s + kNumOnePoles);
  }
  for (int slot = 0; slot < kNumFollowers; ++slot) {
    if (slot != kTunerNeedleFollower) states.push_back(b.followerEnvelope[slot]);
  }
  states.insert(states.end(), b.adsrLevel, b.adsrLevel + kNumAdsrs);
  for (const auto& line : b.delayBuffer) states.insert(states.end(), line.begin(), line.end());
  states.push_back(e.antiDenormalIndex);
  return states;
}

void LoadUnitImpulse(PartitionedConvolver& convolver) {
  ImpulseBuffer impulse;
  impulse.SetLength(1);
  impulse.Channel(0)[0] = 1.0;
  convolver.LoadImpulse(impulse);
}

double CascadeDb(const Engine& e, double hz) {
  double magnitude = std::fabs(e.cascadeGain);
  for (int slot = 0; slot < e.cascadeLength; ++slot) {
    magnitude *= BiquadMagnitude(e.bank, slot, hz, e.sampleRate);
  }
  return 20.0 * std::log10(magnitude);
}
