// Cost of each drive/amp model per sample, next to the cost of one biquad step measured in
// the same run, so that a model's cost reads as "k biquads"; then the whole chain per model
// (ChainBench.cpp) as CPU milliseconds per second of 48 kHz audio and realtime factor.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/DriveSample.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 4096;
constexpr int kNumModels = 16;
constexpr int kChainBlock = 512;        // host block of ChainBench.cpp
constexpr double kChainRateHz = 48000.0;  // its sample rate

// A guitar-level noise block (-12 dBFS peak).
const std::vector<double>& Input() {
  static const std::vector<double> block = [] {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> uniform(-0.25, 0.25);
    std::vector<double> v(kBlock);
    for (double& x : v) x = uniform(rng);
    return v;
  }();
  return block;
}

std::unique_ptr<Engine> MakeBenchEngine(int model) {
  auto e = std::make_unique<Engine>();
  InitEngine(*e, kRate);
  e->bank.DesignBiquad(71, kBandpass, 5500.0, 1.54, 0.0, kRate);
  e->bank.DesignBiquad(72, kHighShelf, 10826.2, 0.0, -12.0, kRate);
  e->presenceMix = -0.06;
  e->colourMix = -0.4;
  e->driveLevel = 0.8;
  e->knobs = {0.5, 0.5, 0.5, 0.5, 0.5};
  SetupDriveModel(*e, model);
  return e;
}

void BiquadStep(benchmark::State& state) {
  const auto e = MakeBenchEngine(0);
  for (auto _ : state) {
    for (double x : Input()) benchmark::DoNotOptimize(e->bank.StepBiquad(64, x));
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(BiquadStep);

void DriveSampleOfModel(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  const auto e = MakeBenchEngine(model);
  for (auto _ : state) {
    for (double x : Input()) benchmark::DoNotOptimize(DriveSample(*e, x, model));
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(DriveSampleOfModel)->DenseRange(0, kNumModels - 1);

// The console report, followed by a table of CPU nanoseconds per sample and biquad
// equivalents (CPU time: the machine may be shared).
class CostTableReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      const double ns = run.GetAdjustedCPUTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                        benchmark::GetTimeUnitMultiplier(run.time_unit);
      nsPerSample_[run.benchmark_name()] = ns / SamplesPerIteration(run.benchmark_name());
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto biquad = nsPerSample_.find("BiquadStep");
    if (biquad == nsPerSample_.end()) return;
    std::printf("\n%-8s %12s %10s\n", "model", "ns/sample", "biquads");
    std::printf("%-8s %12.2f %10.1f\n", "biquad", biquad->second, 1.0);
    for (int model = 0; model < kNumModels; ++model) {
      const auto found = nsPerSample_.find("DriveSampleOfModel/" + std::to_string(model));
      if (found == nsPerSample_.end()) continue;
      std::printf("%-8d %12.2f %10.1f\n", model, found->second, found->second / biquad->second);
    }
    PrintChainTable(biquad->second);
  }

 private:
  static int SamplesPerIteration(const std::string& name) {
    return name.rfind("ChainOfModel", 0) == 0 ? kChainBlock : kBlock;
  }

  void PrintChainTable(double biquadNs) const {
    std::printf("\nwhole chain at 48 kHz, 20-filter cabinet\n");
    std::printf("%-8s %12s %10s %14s %10s\n", "model", "ns/sample", "biquads", "ms per second",
                "realtime");
    for (int model = 0; model < kNumModels; ++model) {
      const auto found = nsPerSample_.find("ChainOfModel/" + std::to_string(model));
      if (found == nsPerSample_.end()) continue;
      const double msPerSecond = found->second * kChainRateHz * 1e-6;
      std::printf("%-8d %12.2f %10.1f %14.3f %9.0fx\n", model, found->second,
                  found->second / biquadNs, msPerSecond, 1000.0 / msPerSecond);
    }
  }

  std::map<std::string, double> nsPerSample_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CostTableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
