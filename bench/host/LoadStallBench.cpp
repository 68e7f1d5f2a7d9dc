// Load-stall bench: how long the built VST2 binary's 64-frame audio calls take while a live
// host loads a 2 s, 96 kHz impulse response ten times (program-chunk restores, preset-browser
// steps and MIDI program changes) and automates a few parameters at screen rate, beside the
// same run without the loads. The binary is loaded as a host loads it, with the process
// level real-time, from a scratch folder holding a copy of it and a data folder beside it
// (the long response and a bank of presets that use it).
//
// A plain program printing a table, not Google Benchmark: what counts is the distribution
// of one thread's call times while other threads work, not the time of one repeated call.
//
// Three threads per run, on a fresh instance each:
// - audio: calls processReplacing back to back, so that any wait shows at once (or, with
//   --paced, at each block's deadline on a SCHED_FIFO thread where the system allows, as
//   JACK runs its clients), and records every call's wall and thread CPU time (a call is
//   the block's effProcessEvents, when the block has events, and its processReplacing, as
//   a host's period runs both);
// - interface: one parameter change every 1/60 s, as an editor's automation does, and the
//   browser's next-preset button pressed and released when the loading thread asks;
// - loading: the ten loads spread over the run; chunk restores it makes itself, browser
//   steps it hands to the interface thread, program changes to the audio thread.
//
// On a shared machine other programs preempt the audio thread; the calls in which that
// happened are counted, and the longest call without it is shown beside the longest.
//
// Usage: load_stall_bench [--plugin PATH] [--seconds N] [--runs N] [--paced]
// Options of Google Benchmark (--benchmark_*), which `make bench` may pass to every
// program, are ignored.
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "amp/ParamIds.h"
#include "plugin/vst2/vst2.h"
#include "tools/presetgen/FactoryWriter.h"
#include "tools/vsthost/PluginHost.h"
#include "tools/vsthost/WavFile.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr double kSampleRateHz = 48000.0;
constexpr int kBlockFrames = 64;
constexpr double kBlockMs = 1000.0 * kBlockFrames / kSampleRateHz;

constexpr double kImpulseRateHz = 96000.0;
constexpr double kImpulseSeconds = 2.0;
// The tail falls this far over the response's length, so no part of it is silence a
// loader could trim.
constexpr double kImpulseDecayDb = 60.0;
constexpr float kImpulseDirectLevel = 0.9f;
constexpr double kImpulseTailLevel = 0.5;
constexpr const char* kImpulseName = "Long Hall";
constexpr const char* kBankName = "Bench";
constexpr int kPresetCount = 4;
constexpr int kModelStride = 3;  // each preset of the bank plays another amp

constexpr int kLoads = 10;
constexpr int kLoadKinds = 3;  // chunk restore, browser step, program change
constexpr double kAutomationHz = 60.0;
constexpr int kAutomated[] = {kDstDrive, kAmpColor, kMainBass, kMainTreble};
constexpr int kAutomationSweepTicks = 120;  // each automated value sweeps up and down in 2 s

constexpr int kAudioPriority = 70;  // SCHED_FIFO, where JACK puts its clients' threads
constexpr double kWarmUpSeconds = 0.5;
constexpr double kDefaultRunSeconds = 10.0;
// Room for back-to-back calls of 5 us each; calls beyond it are not recorded.
constexpr double kMaxCallsPerSecond = 200000.0;

constexpr double kInputHz = 110.0;  // an open A string
constexpr double kInputLevel = 0.25;
constexpr double kTwoPi = 6.283185307179586;

constexpr uint8_t kProgramChangeStatus = 0xC0;
// A program change's amp is watched for at about screen rate, as a host's display would.
constexpr auto kProgramChangePoll = std::chrono::milliseconds(5);
constexpr double kProgramChangeLimitMs = 2000.0;
constexpr float kModelValueTolerance = 1e-4f;
constexpr int32_t kContentionQuery = 0x56786374;  // 'Vxct'
constexpr double kPercentile = 0.999;

struct Options {
  std::string plugin = VOLTREX_PLUGIN;
  double seconds = kDefaultRunSeconds;
  int runs = 1;
  bool paced = false;
};

// One audio call: wall and thread CPU time, whether the thread gave up the processor of
// its own accord during it (it waited: for a lock held elsewhere, or for a file), whether
// the system took the processor from it (another program ran), and the page faults it took
// (memory first touched, or given back to the system, costs the audio thread CPU time).
struct CallRecord {
  float wallMs;
  float cpuMs;
  bool waited;
  bool preempted;
  uint32_t pageFaults;
};

struct LoadRecord {
  const char* kind;
  // Chunk restores and browser steps: how long the call took. Program changes: how long
  // after the request the preset's amp was in force. Negative: not within the limit.
  double ms;
};

struct RunRecord {
  std::vector<CallRecord> calls;
  std::vector<LoadRecord> loads;
  uint64_t contention = 0;
  bool realtimePriority = false;  // paced runs: whether the audio thread got SCHED_FIFO
  size_t lateBlocks = 0;  // paced runs: blocks that began after their deadline
};

// What the threads of one run share: requests and the run's phases.
struct RunFlags {
  std::atomic<bool> measuring{false};
  std::atomic<bool> stop{false};
  std::atomic<int> programChange{-1};  // the loading thread asks, the audio thread sends
  std::atomic<bool> browserStep{false};  // the loading thread asks, the interface thread steps
  std::atomic<double> browserStepMs{-1.0};  // the interface thread's answer
};

double Milliseconds(const timespec& from, const timespec& to) {
  return double(to.tv_sec - from.tv_sec) * 1e3 + double(to.tv_nsec - from.tv_nsec) * 1e-6;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// ---------------------------------------------------------------------------------------
// Set-up: the scratch folder

// Removes the folder and everything in it when it goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/voltrex-loadbench-XXXXXX";
    if (mkdtemp(pattern)) root_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const fs::path& Root() const { return root_; }

 private:
  fs::path root_;
};

// A decaying noise tail behind a direct impulse, deterministic.
std::vector<float> LongImpulse() {
  const int frames = int(kImpulseRateHz * kImpulseSeconds);
  const double decayPerFrame = std::log(10.0) * kImpulseDecayDb / 20.0 / frames;
  std::minstd_rand noise(7);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<float> samples(size_t(frames), 0.0f);
  for (int i = 1; i < frames; ++i) {
    samples[size_t(i)] = float(kImpulseTailLevel * std::exp(-decayPerFrame * i) * uniform(noise));
  }
  samples[0] = kImpulseDirectLevel;
  return samples;
}

FactoryTable BenchBank() {
  FactoryTable table;
  table.impulses.push_back({kImpulseName, 0, 0.0, 0.0});
  for (int n = 0; n < kPresetCount; ++n) {
    FactoryPreset preset;
    preset.bank = kBankName;
    preset.name = "Hall " + std::to_string(n + 1);
    preset.model = n * kModelStride;
    preset.pedal[0] = preset.pedal[1] = 0.5;
    preset.cabinet = n + 1;
    preset.impulse = {kImpulseName, 0.0, 0.5};
    table.presets.push_back(preset);
  }
  return table;
}

// Copies the binary into the folder and writes its data folder beside it: the bank as the
// factory content is written, then the table's short response replaced by the long one.
bool PrepareFolder(const fs::path& root, const std::string& plugin, std::string& pluginCopy,
                   std::string& error) {
  const fs::path copy = root / fs::path(plugin).filename();
  std::error_code failure;
  if (!fs::copy_file(plugin, copy, failure)) {
    error = "cannot copy " + plugin + ": " + failure.message();
    return false;
  }
  pluginCopy = copy.string();
  const fs::path data = root / "Voltrex";
  if (!WriteFactoryContent(BenchBank(), data.string() + "/", error)) return false;
  vsthost::WavAudio impulse;
  impulse.sampleRate = kImpulseRateHz;
  impulse.channels.push_back(LongImpulse());
  return vsthost::WriteWavFloat((data / "Impulses" / (std::string(kImpulseName) + ".wav")).string(),
                                impulse, &error);
}

// ---------------------------------------------------------------------------------------
// Set-up: the instance

// Interface thread (or set-up): the browser's next-preset button, pressed and released.
void PressBrowserNext(vsthost::PluginHost& host) {
  host.SetParameter(kPresetNext, 1.0f);
  host.SetParameter(kPresetNext, 0.0f);
}

bool NamesLongImpulse(const std::vector<uint8_t>& chunk) {
  const std::string name = kImpulseName;
  return std::search(chunk.begin(), chunk.end(), name.begin(), name.end()) != chunk.end();
}

// A started instance with a preset of the bench's bank loaded, and its program chunk.
std::unique_ptr<vsthost::PluginHost> StartInstance(const std::string& plugin,
                                                   std::vector<uint8_t>& chunk,
                                                   std::string& error) {
  auto host = vsthost::PluginHost::Load(plugin, &error);
  if (!host) return nullptr;
  host->RecordCalls(false);  // the record locks and allocates on the plug-in's threads
  host->SetProcessLevel(vst2::kProcessLevelRealtime);
  host->Start(kSampleRateHz, kBlockFrames);
  PressBrowserNext(*host);
  chunk = host->GetChunk(false);
  if (!NamesLongImpulse(chunk)) {
    error = "the program chunk after a browser step names no \"" + std::string(kImpulseName) +
            "\" response: the bank did not load";
    return nullptr;
  }
  return host;
}

// ---------------------------------------------------------------------------------------
// The threads

bool RaiseToAudioPriority() {
  sched_param param{};
  param.sched_priority = kAudioPriority;
  return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

// Paced runs: sleeps until the next block's deadline; a block already late starts now and
// the deadlines after it move with it, as a host's next period does after an overrun.
class BlockClock {
 public:
  BlockClock() { clock_gettime(CLOCK_MONOTONIC, &next_); }
  // True when the block began late.
  bool WaitForNextBlock() {
    next_.tv_nsec += kBlockNanoseconds;
    if (next_.tv_nsec >= kNanosecondsPerSecond) {
      next_.tv_nsec -= kNanosecondsPerSecond;
      ++next_.tv_sec;
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (Milliseconds(next_, now) > 0.0) {
      next_ = now;
      return true;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next_, nullptr);
    return false;
  }

 private:
  static constexpr long kNanosecondsPerSecond = 1000000000L;
  static constexpr long kBlockNanoseconds = long(1e9 * kBlockFrames / kSampleRateHz);
  timespec next_;
};

// Audio thread. Everything it needs is made before its loop, the record's pages touched
// (calls comes filled); the loop allocates nothing and stops recording when calls is full.
void PlayAudio(vsthost::PluginHost& host, bool paced, RunFlags& flags, RunRecord& record) {
  std::vector<CallRecord>& calls = record.calls;
  if (paced) record.realtimePriority = RaiseToAudioPriority();
  BlockClock blockClock;
  std::vector<float> inLeft(kBlockFrames), inRight(kBlockFrames);
  std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
  float* inputs[2] = {inLeft.data(), inRight.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  vst2::VstMidiEvent programChange{};
  programChange.type = vst2::kMidiEventType;
  programChange.byteSize = int32_t(sizeof(vst2::VstMidiEvent));
  programChange.midiData[0] = char(kProgramChangeStatus);
  vst2::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst2::VstEvent*>(&programChange);

  const double phaseStep = kTwoPi * kInputHz / kSampleRateHz;
  double phase = 0.0;
  size_t recorded = 0;
  while (!flags.stop.load(std::memory_order_relaxed)) {
    if (paced && blockClock.WaitForNextBlock() && flags.measuring.load(std::memory_order_relaxed)) {
      ++record.lateBlocks;
    }
    for (int i = 0; i < kBlockFrames; ++i, phase += phaseStep) {
      inLeft[size_t(i)] = inRight[size_t(i)] = float(kInputLevel * std::sin(phase));
    }
    phase = std::fmod(phase, kTwoPi);
    const int program = flags.programChange.exchange(-1, std::memory_order_relaxed);

    timespec wall0, cpu0, wall1, cpu1;
    rusage usage0, usage1;
    getrusage(RUSAGE_THREAD, &usage0);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu0);
    clock_gettime(CLOCK_MONOTONIC, &wall0);
    if (program >= 0) {
      programChange.midiData[1] = char(program);
      host.Dispatch(vst2::effProcessEvents, 0, 0, &events);
    }
    host.ProcessReplacing(inputs, outputs, kBlockFrames);
    clock_gettime(CLOCK_MONOTONIC, &wall1);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu1);
    getrusage(RUSAGE_THREAD, &usage1);

    if (flags.measuring.load(std::memory_order_relaxed) && recorded < calls.size()) {
      calls[recorded++] = {float(Milliseconds(wall0, wall1)), float(Milliseconds(cpu0, cpu1)),
                           usage1.ru_nvcsw != usage0.ru_nvcsw,
                           usage1.ru_nivcsw != usage0.ru_nivcsw,
                           uint32_t(usage1.ru_minflt - usage0.ru_minflt +
                                    usage1.ru_majflt - usage0.ru_majflt)};
    }
  }
  calls.resize(recorded);
}

// A triangle from 0 to 1 and back over the sweep.
float SweepValue(int tick) {
  const int half = kAutomationSweepTicks / 2;
  const int position = tick % kAutomationSweepTicks;
  return float(position < half ? position : kAutomationSweepTicks - position) / float(half);
}

// Interface thread.
void AutomateAtScreenRate(vsthost::PluginHost& host, RunFlags& flags) {
  const auto period = std::chrono::duration_cast<Clock::duration>(Seconds(1.0 / kAutomationHz));
  auto next = Clock::now();
  for (int tick = 0; !flags.stop.load(); ++tick) {
    next += period;
    std::this_thread::sleep_until(next);
    const int param = kAutomated[size_t(tick) % std::size(kAutomated)];
    host.SetParameter(param, SweepValue(tick));
    if (flags.browserStep.exchange(false)) {
      const auto start = Clock::now();
      PressBrowserNext(host);
      flags.browserStepMs.store(MillisecondsSince(start));
    }
  }
}

float ModelValue(int preset) { return float(preset * kModelStride) / float(kNumModels - 1); }

// Loading thread: asks the audio thread for a program change to a preset of another amp
// than the one playing and returns how long after the request that amp was in force
// (negative when it was not within the limit).
double ChangeProgram(vsthost::PluginHost& host, RunFlags& flags) {
  const float playing = host.GetParameter(kDstPreset);
  int program = 0;
  const auto sameAmp = [](float a, float b) { return std::fabs(a - b) < kModelValueTolerance; };
  while (program + 1 < kPresetCount && sameAmp(ModelValue(program), playing)) ++program;
  const auto start = Clock::now();
  flags.programChange.store(program);
  while (!sameAmp(host.GetParameter(kDstPreset), ModelValue(program))) {
    if (MillisecondsSince(start) > kProgramChangeLimitMs) return -1.0;
    std::this_thread::sleep_for(kProgramChangePoll);
  }
  return MillisecondsSince(start);
}

// Loading thread: load k at (k + 1/2) tenths of the run.
void LoadTenTimes(vsthost::PluginHost& host, RunFlags& flags, const std::vector<uint8_t>& chunk,
                  double seconds, std::vector<LoadRecord>& loads) {
  const auto start = Clock::now();
  for (int k = 0; k < kLoads; ++k) {
    const Seconds at((k + 0.5) * seconds / kLoads);
    std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(at));
    switch (k % kLoadKinds) {
      case 0: {
        const auto began = Clock::now();
        host.SetChunk(chunk, false);
        loads.push_back({"chunk", MillisecondsSince(began)});
        break;
      }
      case 1:
        flags.browserStepMs.store(-1.0);
        flags.browserStep.store(true);
        while (flags.browserStepMs.load() < 0.0 && !flags.stop.load()) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        loads.push_back({"browser", flags.browserStepMs.load()});
        break;
      default:
        loads.push_back({"program", ChangeProgram(host, flags)});
        break;
    }
  }
}

// One run on a fresh instance: warm-up, then `seconds` measured, with or without the loads.
bool Run(const std::string& plugin, const Options& options, bool withLoads, RunRecord& record,
         std::string& error) {
  const double seconds = options.seconds;
  std::vector<uint8_t> chunk;
  auto host = StartInstance(plugin, chunk, error);
  if (!host) return false;
  RunFlags flags;
  record.calls.assign(size_t(seconds * kMaxCallsPerSecond), CallRecord{});
  record.loads.reserve(kLoads);

  std::thread audio(PlayAudio, std::ref(*host), options.paced, std::ref(flags), std::ref(record));
  std::thread automation(AutomateAtScreenRate, std::ref(*host), std::ref(flags));
  std::this_thread::sleep_for(Seconds(kWarmUpSeconds));
  flags.measuring.store(true);
  const auto start = Clock::now();
  if (withLoads) {
    std::thread loading(LoadTenTimes, std::ref(*host), std::ref(flags), std::cref(chunk), seconds,
                        std::ref(record.loads));
    loading.join();
  }
  std::this_thread::sleep_until(start +
                                std::chrono::duration_cast<Clock::duration>(Seconds(seconds)));
  flags.stop.store(true);
  audio.join();
  automation.join();
  record.calls.shrink_to_fit();
  record.contention = uint64_t(host->Dispatch(vst2::effVendorSpecific, kContentionQuery));
  return true;
}

// ---------------------------------------------------------------------------------------
// Figures

struct Figures {
  size_t calls = 0;
  double longestMs = 0.0;
  double percentileMs = 0.0;
  double meanMs = 0.0;
  double longestCpuMs = 0.0;
  double longestUnpreemptedMs = 0.0;  // the longest call no other program interrupted
  size_t overBlock = 0;
  size_t waited = 0;
  size_t preempted = 0;
  size_t pageFaults = 0;
};

Figures FiguresOf(const std::vector<CallRecord>& calls) {
  Figures f;
  f.calls = calls.size();
  if (calls.empty()) return f;
  std::vector<double> wall;
  wall.reserve(calls.size());
  for (const CallRecord& call : calls) {
    wall.push_back(call.wallMs);
    f.longestCpuMs = std::max(f.longestCpuMs, double(call.cpuMs));
    if (!call.preempted) {
      f.longestUnpreemptedMs = std::max(f.longestUnpreemptedMs, double(call.wallMs));
    }
    f.overBlock += call.wallMs > kBlockMs;
    f.waited += call.waited;
    f.preempted += call.preempted;
    f.pageFaults += call.pageFaults;
  }
  std::sort(wall.begin(), wall.end());
  f.longestMs = wall.back();
  const size_t rank = size_t(std::ceil(kPercentile * double(wall.size())));
  f.percentileMs = wall[std::clamp<size_t>(rank, 1, wall.size()) - 1];
  f.meanMs = std::accumulate(wall.begin(), wall.end(), 0.0) / double(wall.size());
  return f;
}

void PrintHeader(const Options& options) {
  std::printf("load-stall bench: %s\n", options.plugin.c_str());
  std::printf("%.0f Hz, %d-frame calls (%.3f ms a block), process level real-time, %s, %.0f s "
              "measured per run after %.1f s of warm-up\n",
              kSampleRateHz, kBlockFrames, kBlockMs,
              options.paced ? "calls paced at block deadlines" : "calls back to back",
              options.seconds, kWarmUpSeconds);
  std::ifstream loadavg("/proc/loadavg");
  std::string one, five, fifteen;
  if (loadavg >> one >> five >> fifteen) {
    std::printf("load average %s %s %s on %u cores\n", one.c_str(), five.c_str(), fifteen.c_str(),
                std::thread::hardware_concurrency());
  }
  std::printf(
      "longest, p99.9, mean: wall time of the audio calls; cpu: the longest in the audio\n"
      "thread's own CPU time; unpre.: the longest call no other program interrupted; over:\n"
      "calls longer than a block; waited: calls in which the audio thread gave up the processor\n"
      "(a lock, a file); preempt.: calls in which the system gave it to another program;\n"
      "faults: page faults the audio thread took in its calls;\n"
      "contention: the plug-in's own count ('Vxct'), '-' when it answers 0 (a build without\n"
      "the query answers 0 as well)\n");
}

void PrintColumns() {
  std::printf("%-14s %7s %10s %7s %8s %7s %7s %9s %5s %6s %8s %6s %10s\n", "", "calls",
              "longest ms", "% block", "p99.9 ms", "mean ms", "cpu ms", "unpre. ms", "over",
              "waited", "preempt.", "faults", "contention");
}

void PrintRow(const char* name, const RunRecord& record) {
  const Figures f = FiguresOf(record.calls);
  const std::string contention = record.contention ? std::to_string(record.contention) : "-";
  std::printf("%-14s %7zu %10.3f %6.0f%% %8.3f %7.4f %7.3f %9.3f %5zu %6zu %8zu %6zu %10s\n",
              name, f.calls, f.longestMs, 100.0 * f.longestMs / kBlockMs, f.percentileMs,
              f.meanMs, f.longestCpuMs, f.longestUnpreemptedMs, f.overBlock, f.waited,
              f.preempted, f.pageFaults, contention.c_str());
}

void PrintRunNotes(const RunRecord& quiet, const RunRecord& loading, const Options& options) {
  if (options.paced) {
    std::printf("  audio thread %s; blocks begun late: %zu without loads, %zu with\n",
                quiet.realtimePriority && loading.realtimePriority ? "SCHED_FIFO"
                                                                   : "at normal priority",
                quiet.lateBlocks, loading.lateBlocks);
  }
  std::printf("  loads (call time; program: time until in force):");
  const char* separator = " ";
  for (const LoadRecord& load : loading.loads) {
    if (load.ms < 0.0) {
      std::printf("%s%s not in force", separator, load.kind);
    } else {
      std::printf("%s%s %.1f ms", separator, load.kind, load.ms);
    }
    separator = ", ";
  }
  std::printf("\n");
}

// ---------------------------------------------------------------------------------------
// Command line

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg.rfind("--benchmark_", 0) == 0) continue;
    if (arg == "--plugin" && hasValue) {
      options.plugin = argv[++i];
    } else if (arg == "--seconds" && hasValue) {
      options.seconds = std::atof(argv[++i]);
    } else if (arg == "--runs" && hasValue) {
      options.runs = std::atoi(argv[++i]);
    } else if (arg == "--paced") {
      options.paced = true;
    } else {
      std::fprintf(stderr, "load_stall_bench: unknown or incomplete option %s\n", arg.c_str());
      return false;
    }
  }
  if (options.seconds > 0.0 && options.runs > 0) return true;
  std::fprintf(stderr, "load_stall_bench: --seconds and --runs take positive numbers\n");
  return false;
}

// The threads a host makes run on any core; `make bench` pins each program to one, which
// would make the loads' work preempt the audio thread and measure the scheduler instead.
void UseEveryCore() {
  cpu_set_t all;
  CPU_ZERO(&all);
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned core = 0; core < cores && core < CPU_SETSIZE; ++core) CPU_SET(core, &all);
  sched_setaffinity(0, sizeof(all), &all);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  UseEveryCore();
  ScratchFolder scratch;
  std::string plugin, error;
  if (scratch.Root().empty() || !PrepareFolder(scratch.Root(), options.plugin, plugin, error)) {
    std::fprintf(stderr, "load_stall_bench: %s\n",
                 error.empty() ? "cannot make a scratch folder" : error.c_str());
    return 1;
  }
  PrintHeader(options);
  for (int run = 1; run <= options.runs; ++run) {
    RunRecord quiet, loading;
    if (!Run(plugin, options, false, quiet, error) || !Run(plugin, options, true, loading, error)) {
      std::fprintf(stderr, "load_stall_bench: %s\n", error.c_str());
      return 1;
    }
    std::printf("run %d of %d\n", run, options.runs);
    PrintColumns();
    PrintRow("without loads", quiet);
    PrintRow("with loads", loading);
    PrintRunNotes(quiet, loading, options);
  }
  return 0;
}
