// Cost of the whole chain per model at 48 kHz: gate, drive, the 20-filter "Voltrex CAB1"
// voicing, tone section and volume, run block by block as a host would.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "cabinet/PartitionedConvolver.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"
#include "engine/ProcessChain.h"

namespace {

constexpr double kChainRate = 48000.0;
constexpr int kHostBlock = 512;
constexpr int kTwentyFilterCabinet = 1;

std::unique_ptr<Engine> MakeChainEngine(int model) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, kChainRate);
  SetGateOn(*e, 1.0);
  SetGateThreshold(*e, 0.2);
  SetGateRelease(*e, 0.3);
  SetDriveOn(*e, 1.0);
  SetDriveLevel(*e, 0.8);
  SetAmpColour(*e, 0.5);
  SetAmpPresence(*e, 0.5);
  SetDriveKnob(*e, 0.5);
  SetLowKnob(*e, 0.5);
  SetMidKnob(*e, 0.5);
  SetHighKnob(*e, 0.5);
  SelectDriveModel(*e, model);
  SetupCabinet(*e, kTwentyFilterCabinet);
  SetMainBass(*e, 0.6);
  SetMainTreble(*e, 0.4);
  SetLoudness(*e, 0.2);
  SetMainVolume(*e, 0.7);
  return e;
}

void ChainOfModel(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  const auto e = MakeChainEngine(model);
  PartitionedConvolver convolver;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> uniform(-0.25, 0.25);
  std::vector<double> left(kHostBlock), right(kHostBlock), outLeft(kHostBlock), outRight(kHostBlock);
  for (double& v : left) v = uniform(rng);
  for (double& v : right) v = uniform(rng);
  const double* in[2] = {left.data(), right.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  for (auto _ : state) {
    ProcessChain(*e, convolver, in, out, kHostBlock);
    benchmark::DoNotOptimize(outLeft.data());
  }
  state.SetItemsProcessed(state.iterations() * kHostBlock);
}
BENCHMARK(ChainOfModel)->DenseRange(0, kDriveModelCount - 1);

}  // namespace
