// Runs the cabinet benchmarks and ends with a side-by-side summary: our FFT's time as a
// multiple of FFTW's, and each convolver's CPU per second of audio with its latency.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {

struct Figures {
  double cpuTime = 0.0;  // per iteration, in the run's unit
  double realTime = 0.0;
  double latency = 0.0;
  double worstBlock = 0.0;
  double worstBlockCpu = 0.0;
  double worstBlockProcessCpu = 0.0;
  double worstBlockCpuMedian = 0.0;
  double meanBlockProcessCpu = 0.0;
};

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      Figures figures{run.GetAdjustedCPUTime(), run.GetAdjustedRealTime(), 0.0, 0.0};
      if (auto it = run.counters.find("latency"); it != run.counters.end()) figures.latency = it->second;
      if (auto it = run.counters.find("worst_block"); it != run.counters.end()) figures.worstBlock = it->second;
      if (auto it = run.counters.find("worst_block_cpu"); it != run.counters.end()) figures.worstBlockCpu = it->second;
      if (auto it = run.counters.find("worst_block_cpu_med"); it != run.counters.end())
        figures.worstBlockCpuMedian = it->second;
      if (auto it = run.counters.find("worst_block_pcpu"); it != run.counters.end())
        figures.worstBlockProcessCpu = it->second;
      if (auto it = run.counters.find("mean_block_pcpu"); it != run.counters.end())
        figures.meanBlockProcessCpu = it->second;
      figures_[run.benchmark_name()] = figures;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    PrintFftSummary();
    PrintConvolverSummary();
    PrintWorstBlockSummary();
  }

 private:
  const Figures* Find(const std::string& name) const {
    const auto it = figures_.find(name);
    return it == figures_.end() ? nullptr : &it->second;
  }

  void PrintFftSummary() const {
    std::printf("\nFFT (forward + inverse pair, ns)      ours      FFTW   ours/FFTW\n");
    for (int n = 64; n <= 32768; n *= 2) {
      const Figures* ours = Find("BM_FftOurs/" + std::to_string(n));
      const Figures* fftw = Find("BM_FftFftw/" + std::to_string(n));
      if (ours && fftw)
        std::printf("  N = %-6d %25.0f %9.0f %9.2f\n", n, ours->realTime, fftw->realTime, ours->realTime / fftw->realTime);
    }
  }

  void PrintConvolverSummary() const {
    std::printf("\nConvolver: CPU ms per second of 48 kHz audio (latency in samples)\n");
    std::printf("  %-6s %-5s %16s %16s %16s %9s %11s %11s\n", "ir", "block", "ours", "zita", "fftw-uniform",
                "ours/zita", "ours worst", "(thread cpu)");
    for (int length : kConvolverLengths)
      for (int block : kConvolverBlocks) {
        const std::string args = ConvolverArgs(length, block);
        const Figures* ours = Find("BM_ConvolverOurs" + args);
        const Figures* zita = Find("BM_ConvolverZita" + args);
        const Figures* uniform = Find("BM_ConvolverFftwUniform" + args);
        if (!ours) continue;
        std::printf("  %-6d %-5d %10.2f (%3.0f) %10.2f (%3.0f) %10.2f (%3.0f) %9.2f %10.1f%% %10.1f%%\n", length, block,
                    ours->cpuTime, ours->latency, zita ? zita->cpuTime : 0.0, zita ? zita->latency : 0.0,
                    uniform ? uniform->cpuTime : 0.0, uniform ? uniform->latency : 0.0,
                    zita ? ours->cpuTime / zita->cpuTime : 0.0, 100.0 * ours->worstBlock, 100.0 * ours->worstBlockCpu);
      }
  }

  // The longest block and the mean block as fractions of the block's duration, on CPU
  // clocks: ours on its thread's clock (it has no other thread), zita's on the process's,
  // which counts the worker threads its synchronous mode waits for. "typical" is the median
  // over the run's seconds of each second's longest block (ours).
  void PrintWorstBlockSummary() const {
    std::printf("\nConvolver blocks, CPU time as %% of the block's duration (48 kHz)\n");
    std::printf("  %-6s %-5s %12s %12s %12s %12s %12s\n", "ir", "block", "ours worst", "ours typical", "ours mean",
                "zita worst", "zita mean");
    for (int length : kConvolverLengths)
      for (int block : kConvolverBlocks) {
        const Figures* ours = Find("BM_ConvolverOurs" + ConvolverArgs(length, block));
        const Figures* zita = Find("BM_ConvolverZita" + ConvolverArgs(length, block));
        if (!ours) continue;
        std::printf("  %-6d %-5d %11.1f%% %11.1f%% %11.2f%% %11.1f%% %11.2f%%\n", length, block,
                    100.0 * ours->worstBlockCpu, 100.0 * ours->worstBlockCpuMedian, 100.0 * ours->meanBlockProcessCpu, zita ? 100.0 * zita->worstBlockProcessCpu : 0.0,
                    zita ? 100.0 * zita->meanBlockProcessCpu : 0.0);
      }
  }

  static std::string ConvolverArgs(int length, int block) {
    return "/ir:" + std::to_string(length) + "/block:" + std::to_string(block) + "/process_time";
  }

  static constexpr int kConvolverLengths[] = {1024, 8192, 24000, 48000, 96000};
  static constexpr int kConvolverBlocks[] = {32, 64, 256, 1024};

  std::map<std::string, Figures> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
