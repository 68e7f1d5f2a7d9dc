// Our zero-latency convolver against zita-convolver and a plain uniformly partitioned
// FFTW convolver. One iteration convolves one second of 48 kHz audio in host blocks, so
// the CPU column reads as milliseconds of CPU per second of audio (process CPU time, which
// includes zita's worker threads). Counters: latency (samples the engine delays the
// signal by); the worst single block as a fraction of the block's duration, in wall time,
// in the calling thread's CPU time and in the process's CPU time (which counts the work
// zita's synchronous mode waits for on its worker threads); and the mean block's process
// CPU time as a fraction of the block's duration. The median over the iterations of each
// second's longest block is the figure that resists a loaded machine.
#include <benchmark/benchmark.h>
#include <sched.h>
#include <time.h>
#include <zita-convolver.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "UniformFftwConvolver.h"
#include "cabinet/PartitionedConvolver.h"

namespace {

constexpr int kSampleRateHz = 48000;
constexpr int kZitaDensity = 0;

std::vector<double> Response(int length) {
  std::mt19937 rng(length);
  std::normal_distribution<double> normal;
  std::vector<double> response(length);
  for (int i = 0; i < length; ++i) response[i] = 0.3 * normal(rng) * std::exp(-6.0 * i / length);
  response[0] = 1.0;  // a clear first tap, for measuring latency
  return response;
}

std::vector<double> GuitarSecond() {
  std::vector<double> input(kSampleRateHz);
  for (int i = 0; i < kSampleRateHz; ++i) input[i] = 0.5 * std::sin(2.0 * M_PI * 110.0 * i / kSampleRateHz);
  return input;
}

int BlocksPerSecond(int block) { return kSampleRateHz / block; }

double CpuSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Index of the first output sample above half: the response's first tap is 1.0.
template <class ProcessBlock>
int MeasureLatency(int block, ProcessBlock process) {
  std::vector<double> in(block), out(block);
  for (int b = 0; b < 64; ++b) {
    std::fill(in.begin(), in.end(), 0.0);
    if (b == 0) in[0] = 1.0;
    process(in.data(), out.data());
    for (int i = 0; i < block; ++i)
      if (std::fabs(out[i]) > 0.5) return b * block + i;
  }
  return -1;
}

class Ours {
 public:
  Ours(const std::vector<double>& response, int block) : block_(block) {
    ImpulseBuffer impulse;
    impulse.SetLength(static_cast<int>(response.size()));
    std::copy(response.begin(), response.end(), impulse.Channel(0));
    convolver_.SetMaxBlockSize(block);
    convolver_.LoadImpulse(impulse);
  }
  void Process(const double* in, double* out) {
    convolver_.PushSamples(in, block_);
    const int ready = std::min(block_, convolver_.ProduceOutput(block_));
    std::fill(out, out + block_ - ready, 0.0);  // the chain's view of missing samples
    std::copy(convolver_.OutputPointer(), convolver_.OutputPointer() + ready, out + block_ - ready);
    convolver_.ConsumeOutput(ready);
  }

 private:
  int block_;
  PartitionedConvolver convolver_;
};

class Zita {
 public:
  Zita(const std::vector<double>& response, int block) : block_(block) {
    std::vector<float> taps(response.begin(), response.end());
    const int length = static_cast<int>(taps.size());
    // Its smallest partition is 64 samples: smaller host blocks run against that partition,
    // which the latency counter shows.
    const int partition = std::max(block, static_cast<int>(Convproc::MINPART));
    if (convolver_.configure(1, 1, length, block, partition, Convproc::MAXPART, kZitaDensity) != 0) return;
    convolver_.impdata_create(0, 0, 1, taps.data(), 0, length);
    started_ = convolver_.start_process(0, SCHED_OTHER) == 0;
  }
  bool Started() const { return started_; }
  // Synchronous mode: the caller waits for the background partitions, so no work is dropped.
  void Process(const double* in, double* out) {
    float* input = convolver_.inpdata(0);
    for (int i = 0; i < block_; ++i) input[i] = static_cast<float>(in[i]);
    convolver_.process(true);
    const float* output = convolver_.outdata(0);
    for (int i = 0; i < block_; ++i) out[i] = output[i];
  }

 private:
  int block_;
  bool started_ = false;
  // Stopping zita's worker threads while the benchmark runs pinned to one core has proved
  // racy (a semaphore destroyed in use), so each instance lives until the program exits.
  Convproc& convolver_ = *new Convproc;
};

class Uniform {
 public:
  Uniform(const std::vector<double>& response, int block) : block_(block), convolver_(response, block) {}
  void Process(const double* in, double* out) {
    std::copy(in, in + block_, out);
    convolver_.Process(out);
  }

 private:
  int block_;
  UniformFftwConvolver convolver_;
};

template <class Engine>
void BM_Convolver(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0)), block = static_cast<int>(state.range(1));
  const std::vector<double> response = Response(length);
  Engine engine(response, block);
  if constexpr (std::is_same_v<Engine, Zita>)
    if (!engine.Started()) {
      state.SkipWithError("zita-convolver did not configure or start");
      return;
    }
  state.counters["latency"] = MeasureLatency(block, [&](const double* in, double* out) { engine.Process(in, out); });
  const std::vector<double> input = GuitarSecond();
  std::vector<double> output(block);
  double worstSeconds = 0.0, worstCpuSeconds = 0.0, worstProcessSeconds = 0.0, totalProcessSeconds = 0.0;
  long blocks = 0;
  std::vector<double> worstPerSecond;
  for (auto _ : state) {
    double worstThisSecond = 0.0;
    for (int b = 0; b < BlocksPerSecond(block); ++b) {
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
      const double processStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
      engine.Process(input.data() + b * block, output.data());
      const double processTook = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
      const double cpuTook = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
      worstCpuSeconds = std::max(worstCpuSeconds, cpuTook);
      worstThisSecond = std::max(worstThisSecond, cpuTook);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      worstSeconds = std::max(worstSeconds, took.count());
      worstProcessSeconds = std::max(worstProcessSeconds, processTook);
      totalProcessSeconds += processTook;
      ++blocks;
    }
    worstPerSecond.push_back(worstThisSecond);
    benchmark::DoNotOptimize(output.data());
  }
  const double blockSeconds = static_cast<double>(block) / kSampleRateHz;
  state.counters["worst_block"] = worstSeconds / blockSeconds;
  // The same on CPU clocks: unaffected by other programs preempting the benchmark on a
  // shared machine. The thread's clock misses zita's worker threads; the process's has them.
  state.counters["worst_block_cpu"] = worstCpuSeconds / blockSeconds;
  // The median over the one-second iterations of each second's longest block: every
  // second holds the longest blocks the convolver's schedule makes, while interference from
  // other programs (cache contention, interrupts charged to the thread) is rare and varies.
  state.counters["worst_block_cpu_med"] = Median(worstPerSecond) / blockSeconds;
  state.counters["worst_block_pcpu"] = worstProcessSeconds / blockSeconds;
  state.counters["mean_block_pcpu"] = blocks > 0 ? totalProcessSeconds / blocks / blockSeconds : 0.0;
}

void ConvolverArguments(benchmark::internal::Benchmark* bench) {
  for (int length : {1024, 8192, 24000, 48000, 96000})
    for (int block : {32, 64, 256, 1024}) bench->Args({length, block});
  bench->ArgNames({"ir", "block"})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}

}  // namespace

BENCHMARK(BM_Convolver<Ours>)->Name("BM_ConvolverOurs")->Apply(ConvolverArguments);
BENCHMARK(BM_Convolver<Zita>)->Name("BM_ConvolverZita")->Apply(ConvolverArguments);
BENCHMARK(BM_Convolver<Uniform>)->Name("BM_ConvolverFftwUniform")->Apply(ConvolverArguments);
