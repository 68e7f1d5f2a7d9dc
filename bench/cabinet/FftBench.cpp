// Our FFT against FFTW (double precision, FFTW_MEASURE plans), forward and inverse in
// place, for N = 64 .. 32768.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "cabinet/Fft.h"

namespace {

// Values start tiny so that unnormalised round trips stay finite between refreshes.
constexpr double kStartMagnitude = 1e-100;
constexpr int kPairsPerRefresh = 32;

std::vector<double> Signal(int n) {
  std::mt19937 rng(n);
  std::uniform_real_distribution<double> uniform(-kStartMagnitude, kStartMagnitude);
  std::vector<double> data(2 * n);
  for (double& x : data) x = uniform(rng);
  return data;
}

void SetTimePerTransform(benchmark::State& state) {
  state.counters["ns_per_fft"] = benchmark::Counter(
      2e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetItemsProcessed(2 * state.iterations());
}

void BM_FftOurs(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> source = Signal(n);
  std::vector<double> data = source;
  InitFftTables();
  int pairs = 0;
  for (auto _ : state) {
    Fft(data.data(), n, 0);
    Fft(data.data(), n, 1);
    if (++pairs == kPairsPerRefresh) {
      std::memcpy(data.data(), source.data(), sizeof(double) * source.size());
      pairs = 0;
    }
    benchmark::ClobberMemory();
  }
  SetTimePerTransform(state);
}

void BM_FftFftw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> source = Signal(n);
  auto* data = fftw_alloc_complex(n);
  fftw_plan forward = fftw_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
  fftw_plan inverse = fftw_plan_dft_1d(n, data, data, FFTW_BACKWARD, FFTW_MEASURE);
  std::memcpy(data, source.data(), sizeof(double) * source.size());
  int pairs = 0;
  for (auto _ : state) {
    fftw_execute(forward);
    fftw_execute(inverse);
    if (++pairs == kPairsPerRefresh) {
      std::memcpy(data, source.data(), sizeof(double) * source.size());
      pairs = 0;
    }
    benchmark::ClobberMemory();
  }
  SetTimePerTransform(state);
  fftw_destroy_plan(forward);
  fftw_destroy_plan(inverse);
  fftw_free(data);
}

}  // namespace

BENCHMARK(BM_FftOurs)->RangeMultiplier(2)->Range(64, 32768);
BENCHMARK(BM_FftFftw)->RangeMultiplier(2)->Range(64, 32768);
