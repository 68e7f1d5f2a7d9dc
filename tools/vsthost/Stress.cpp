#include "tools/vsthost/Stress.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <mutex>
#include <numbers>
#include <random>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "amp/ParamIds.h"
#include "tools/vsthost/HostWindow.h"
#include "tools/vsthost/PluginHost.h"

namespace vsthost {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kHangLimitSeconds = 10.0;
constexpr auto kWatchdogPeriod = std::chrono::milliseconds(100);
// +80 dBFS. With every gain at its top the chain legitimately peaks near +60 dBFS on a
// full-scale input; a runaway filter goes far beyond before it overflows.
constexpr float kOutputBound = 10000.0f;
constexpr int kChannels = 2;
constexpr int kMaxAnnouncedBlock = 2048;
constexpr int kMaxBlockFrames = 2 * kMaxAnnouncedBlock;  // blocks beyond the announced size
constexpr double kStartRateHz = 48000.0;
constexpr int kStartBlock = 64;
constexpr int kInputToneHz = 110;
constexpr int kMaxControlPauseUs = 1000;
constexpr int kActionsPerCallClear = 256;  // the host's record of plug-in calls stays small
constexpr auto kEditorOpenTime = std::chrono::milliseconds(150);
constexpr auto kEditorIdlePeriod = std::chrono::milliseconds(10);
const double kSampleRates[] = {22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
const int kStepParams[] = {kIrPrev, kIrNext, kPresetPrev, kPresetNext, kDstPrev, kDstNext, kCabPrev, kCabNext};
const float kOddValues[] = {-1.0f, 2.0f, 1e9f, -0.0f, 0.0f, 1.0f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kPitchBend = 0xE0;
constexpr int32_t kFlagCanDoubleReplacing = 1 << 12;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The call a thread has in progress, for the watchdog: what it is and since when.
class CallWatch {
 public:
  explicit CallWatch(std::string thread) : thread_(std::move(thread)) {}
  void Begin(const char* what) {
    what_.store(what);
    startNs_.store(Clock::now().time_since_epoch().count());
  }
  void End() { startNs_.store(0); }
  double RunningSeconds() const {
    const auto start = startNs_.load();
    if (start == 0) return 0.0;
    return std::chrono::duration<double>(Clock::now().time_since_epoch() - Clock::duration(start)).count();
  }
  const char* What() const { return what_.load(); }
  const std::string& Thread() const { return thread_; }

 private:
  std::string thread_;
  std::atomic<const char*> what_{""};
  std::atomic<Clock::rep> startNs_{0};
};

// Brackets one call into the plug-in and returns how long it took.
template <class Call>
double Watched(CallWatch& watch, const char* what, Call call) {
  const auto start = Clock::now();
  watch.Begin(what);
  call();
  watch.End();
  return SecondsSince(start);
}

struct Counts {
  long audioCalls = 0;
  long frames = 0;
  double longestAudio = 0.0;
  int longestAudioFrames = 0;
  float peak = 0.0f;
  long parameterChanges = 0;
  long midiMessages = 0;
  long chunkRestores = 0;
  long steps = 0;
  long suspends = 0;
  long editorOpenings = 0;
  double longestControl = 0.0;
  const char* longestControlCall = "";
};

// The plug-in's count of audio blocks that found something they needed held by another
// thread (effVendorSpecific).
constexpr int32_t kAudioContentionQuery = 0x56786374;  // 'Vxct'

struct Instance {
  int number = 0;
  std::unique_ptr<PluginHost> host;
  std::mutex transport;  // the audio thread holds it while processing; a suspension takes it
  std::atomic<bool> suspendWanted{false};
  std::atomic<int> announcedBlock{kStartBlock};
  std::mutex midiLock;  // the host's own queue from the control thread to the audio thread
  std::vector<MidiBytes> midiInbox;
  CallWatch audioWatch, controlWatch;
  Counts audio, control;
  std::string fault;  // written by the audio thread only, read after it ends

  explicit Instance(int n)
      : number(n), audioWatch("audio " + std::to_string(n)), controlWatch("control " + std::to_string(n)) {}
};

// Mostly any size up to the announced one, sometimes exactly it, now and then more.
int PickFrames(std::mt19937& rng, int announced) {
  const int roll = int(rng() % 100);
  if (roll < 8) return announced;
  if (roll < 10) return std::min(kMaxBlockFrames, announced + 1 + int(rng() % unsigned(announced)));
  return 1 + int(rng() % unsigned(announced));
}

int PickAnnouncedBlock(std::mt19937& rng) {
  static const int kCommon[] = {32, 64, 128, 256, 512, 1024, 2048};
  if (rng() % 4 == 0) return 1 + int(rng() % kMaxAnnouncedBlock);
  return kCommon[rng() % std::size(kCommon)];
}

float PickValue(std::mt19937& rng) {
  if (rng() % 5 == 0) return kOddValues[rng() % std::size(kOddValues)];
  return std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
}

template <class Sample>
class AudioBuffers {
 public:
  AudioBuffers() : storage_(2 * kChannels, std::vector<Sample>(kMaxBlockFrames)) {
    for (int c = 0; c < kChannels; ++c) {
      inputs_[c] = storage_[c].data();
      outputs_[c] = storage_[kChannels + c].data();
    }
  }
  // A tone at up to full scale with a little noise, continuing from the last block.
  void FillInput(int frames, double rate, std::mt19937& rng) {
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    for (int i = 0; i < frames; ++i, ++position_) {
      const double x = 0.9 * std::sin(2.0 * std::numbers::pi * kInputToneHz * double(position_) / rate) + noise(rng);
      for (int c = 0; c < kChannels; ++c) inputs_[c][i] = Sample(x);
    }
  }
  Sample** Inputs() { return inputs_; }
  Sample** Outputs() { return outputs_; }

 private:
  std::vector<std::vector<Sample>> storage_;
  Sample* inputs_[kChannels];
  Sample* outputs_[kChannels];
  long position_ = 0;
};

void DeliverMidi(Instance& instance) {
  std::vector<MidiBytes> messages;
  {
    std::lock_guard<std::mutex> guard(instance.midiLock);
    messages.swap(instance.midiInbox);
  }
  if (messages.empty()) return;
  Watched(instance.audioWatch, "effProcessEvents", [&] { instance.host->SendMidi(messages); });
  instance.audio.midiMessages += long(messages.size());
}

// Returns false (and records why) when a sample is not finite or beyond the bound.
template <class Sample>
bool CheckOutput(Instance& instance, Sample** outputs, int frames, double rate) {
  for (int c = 0; c < kChannels; ++c)
    for (int i = 0; i < frames; ++i) {
      const double x = double(outputs[c][i]);
      if (std::isfinite(x) && std::fabs(x) <= kOutputBound) {
        instance.audio.peak = std::max(instance.audio.peak, float(std::fabs(x)));
        continue;
      }
      char text[200];
      std::snprintf(text, sizeof text,
                    "instance %d: output %g at channel %d, frame %d of a %d-frame block (call %ld) at %.0f Hz; "
                    "parameters:",
                    instance.number, x, c, i, frames, instance.audio.audioCalls, rate);
      instance.fault = text;
      for (int p = 0; p < instance.host->Effect()->numParams; ++p) {
        std::snprintf(text, sizeof text, " %d=%g", p, double(instance.host->GetParameter(p)));
        instance.fault += text;
      }
      return false;
    }
  return true;
}

template <class Sample>
void AudioLoop(Instance& instance, const std::atomic<bool>& stop, double* rate, unsigned seed) {
  std::mt19937 rng(seed);
  AudioBuffers<Sample> buffers;
  while (!stop) {
    if (instance.suspendWanted) {
      std::this_thread::yield();
      continue;
    }
    std::lock_guard<std::mutex> hold(instance.transport);
    const int frames = PickFrames(rng, instance.announcedBlock);
    buffers.FillInput(frames, *rate, rng);
    DeliverMidi(instance);
    const double took = Watched(instance.audioWatch, "process", [&] {
      if constexpr (std::is_same_v<Sample, double>)
        instance.host->ProcessDouble(buffers.Inputs(), buffers.Outputs(), frames);
      else
        instance.host->ProcessReplacing(buffers.Inputs(), buffers.Outputs(), frames);
    });
    Counts& counts = instance.audio;
    ++counts.audioCalls;
    counts.frames += frames;
    if (took > counts.longestAudio) {
      counts.longestAudio = took;
      counts.longestAudioFrames = frames;
    }
    if (!CheckOutput(instance, buffers.Outputs(), frames, *rate)) return;
  }
}

class Controller {
 public:
  Controller(Instance& instance, double* rate, unsigned seed) : instance_(instance), rate_(rate), rng_(seed) {}

  void Run(const std::atomic<bool>& stop) {
    for (long action = 1; !stop; ++action) {
      RunOneAction();
      if (action % kActionsPerCallClear == 0) instance_.host->ClearCalls();
      std::this_thread::sleep_for(std::chrono::microseconds(rng_() % kMaxControlPauseUs));
    }
  }

 private:
  void RunOneAction() {
    const int roll = int(rng_() % 100);
    if (roll < 45)
      AutomateParameter();
    else if (roll < 60)
      ReadParameter();
    else if (roll < 72)
      QueueMidi();
    else if (roll < 82)
      RestoreChunk();
    else if (roll < 92)
      PressStep();
    else if (roll < 96)
      SelectProgram();
    else
      SuspendAndReconfigure();
  }

  void Call(const char* what, const std::function<void()>& call) {
    const double took = Watched(instance_.controlWatch, what, call);
    if (took > instance_.control.longestControl) {
      instance_.control.longestControl = took;
      instance_.control.longestControlCall = what;
    }
  }

  // Now and then an index beyond the parameters, as a confused host might send.
  int PickIndex() {
    const int count = instance_.host->Effect()->numParams;
    if (rng_() % 50 == 0) return count + int(rng_() % 4);
    return int(rng_() % unsigned(count));
  }

  void AutomateParameter() {
    const int index = PickIndex();
    const float value = PickValue(rng_);
    Call("setParameter", [&] { instance_.host->SetParameter(index, value); });
    ++instance_.control.parameterChanges;
  }

  void ReadParameter() {
    const int index = PickIndex();
    Call("getParameter", [&] { instance_.host->GetParameter(index); });
    Call("effGetParamDisplay", [&] { instance_.host->ParamDisplay(index); });
  }

  void QueueMidi() {
    const uint8_t channel = uint8_t(rng_() % 16);
    MidiBytes message{};
    switch (rng_() % 4) {
      case 0:
        message = {uint8_t(kProgramChange | channel), uint8_t(rng_() % 128), 0};
        break;
      case 1:
        message = {uint8_t(kNoteOn | channel), uint8_t(rng_() % 128), uint8_t(rng_() % 128)};
        break;
      case 2:
        message = {uint8_t(kPitchBend | channel), uint8_t(rng_() % 128), uint8_t(rng_() % 128)};
        break;
      default:
        message = {uint8_t(kControlChange | channel), uint8_t(rng_() % 128), uint8_t(rng_() % 128)};
        break;
    }
    std::lock_guard<std::mutex> guard(instance_.midiLock);
    instance_.midiInbox.push_back(message);
  }

  // Saves and restores the program or the bank; one restore in five gets a truncated copy.
  void RestoreChunk() {
    const bool bank = rng_() % 2 == 0;
    std::vector<uint8_t> chunk;
    Call("effGetChunk", [&] { chunk = instance_.host->GetChunk(bank); });
    if (!chunk.empty() && rng_() % 5 == 0) chunk.resize(rng_() % chunk.size());
    if (chunk.empty()) return;
    Call("effSetChunk", [&] { instance_.host->SetChunk(chunk, bank); });
    ++instance_.control.chunkRestores;
  }

  // A button press as the editor sends it: down, then up.
  void PressStep() {
    const int index = kStepParams[rng_() % std::size(kStepParams)];
    Call("setParameter (step)", [&] { instance_.host->SetParameter(index, 1.0f); });
    Call("setParameter (step)", [&] { instance_.host->SetParameter(index, 0.0f); });
    ++instance_.control.steps;
  }

  void SelectProgram() {
    const int programs = std::max(1, instance_.host->Effect()->numPrograms);
    const int program = int(rng_() % unsigned(programs + 2));  // now and then beyond the last
    Call("effSetProgram", [&] { instance_.host->Dispatch(vst2::effSetProgram, 0, program); });
  }

  // As a host changes rate or buffer size: processing off, the new settings, on again; the
  // audio thread waits meanwhile.
  void SuspendAndReconfigure() {
    const double rate = kSampleRates[rng_() % std::size(kSampleRates)];
    const int block = PickAnnouncedBlock(rng_);
    instance_.suspendWanted = true;
    {
      std::lock_guard<std::mutex> hold(instance_.transport);
      Call("effMainsChanged off", [&] { instance_.host->Dispatch(vst2::effMainsChanged, 0, 0); });
      Call("effSetSampleRate", [&] { instance_.host->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, float(rate)); });
      Call("effSetBlockSize", [&] { instance_.host->Dispatch(vst2::effSetBlockSize, 0, block); });
      Call("effMainsChanged on", [&] { instance_.host->Dispatch(vst2::effMainsChanged, 0, 1); });
      *rate_ = rate;
      instance_.announcedBlock = block;
    }
    instance_.suspendWanted = false;
    ++instance_.control.suspends;
  }

  Instance& instance_;
  double* rate_;
  std::mt19937 rng_;
};

// Opens each instance's editor in turn in a window of the host's, idles it a while and
// closes it, until the run ends. Returns without work when no window can be made.
void EditorLoop(std::vector<std::unique_ptr<Instance>>& instances, CallWatch& watch, const std::atomic<bool>& stop,
                bool* available) {
  std::unique_ptr<HostWindow> window = HostWindow::Create();
  *available = window != nullptr;
  if (!window) return;
  for (size_t next = 0; !stop; next = (next + 1) % instances.size()) {
    Instance& instance = *instances[next];
    intptr_t opened = 0;
    Watched(watch, "effEditOpen",
            [&] { opened = instance.host->Dispatch(vst2::effEditOpen, 0, 0, window->NativeHandle()); });
    const auto openedAt = Clock::now();
    while (Clock::now() - openedAt < kEditorOpenTime && !stop) {
      Watched(watch, "effEditIdle", [&] { instance.host->Dispatch(vst2::effEditIdle); });
      window->PumpEvents();
      std::this_thread::sleep_for(kEditorIdlePeriod);
    }
    if (opened) {
      Watched(watch, "effEditClose", [&] { instance.host->Dispatch(vst2::effEditClose); });
      ++instance.control.editorOpenings;
    }
    window->PumpEvents();
  }
}

// Ends the process when a call has not returned within the hang limit: the hung thread
// cannot be stopped, and the run has failed.
void WatchdogLoop(const std::vector<CallWatch*>& watches, const std::atomic<bool>& stop) {
  while (!stop) {
    for (const CallWatch* watch : watches) {
      const double running = watch->RunningSeconds();
      if (running <= kHangLimitSeconds) continue;
      std::fprintf(stderr, "vsthost stress: FAULT: %s on the %s thread has not returned after %.1f s\n",
                   watch->What(), watch->Thread().c_str(), running);
      std::fflush(stderr);
      std::_Exit(3);
    }
    std::this_thread::sleep_for(kWatchdogPeriod);
  }
}

void Accumulate(Counts& total, const Counts& part, int instance, int* longestInstance) {
  total.audioCalls += part.audioCalls;
  total.frames += part.frames;
  if (part.longestAudio > total.longestAudio) {
    total.longestAudio = part.longestAudio;
    total.longestAudioFrames = part.longestAudioFrames;
    *longestInstance = instance;
  }
  total.peak = std::max(total.peak, part.peak);
  total.parameterChanges += part.parameterChanges;
  total.midiMessages += part.midiMessages;
  total.chunkRestores += part.chunkRestores;
  total.steps += part.steps;
  total.suspends += part.suspends;
  total.editorOpenings += part.editorOpenings;
  if (part.longestControl > total.longestControl) {
    total.longestControl = part.longestControl;
    total.longestControlCall = part.longestControlCall;
  }
}

}  // namespace

bool ParseStressArguments(int argc, char** argv, StressOptions* options) {
  if (argc < 1) return false;
  options->plugin = argv[0];
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") != 0 || i + 1 >= argc) return false;
    char* end = nullptr;
    const double seconds = std::strtod(argv[++i], &end);
    if (end == argv[i] || *end != '\0' || !(seconds > 0.0) || seconds > 86400.0) return false;
    options->seconds = seconds;
  }
  return true;
}

int StressCommand(int argc, char** argv) {
  StressOptions options;
  if (!ParseStressArguments(argc, argv, &options)) {
    std::fprintf(stderr, "usage: vsthost stress PLUGIN [--seconds N]\n");
    return 2;
  }
  return RunStress(options);
}

// Runs on the main thread: loads and starts the instances, runs the threads for the given
// time, then reports.
int RunStress(const StressOptions& options) {
  std::vector<std::unique_ptr<Instance>> instances;
  std::vector<double> rates(size_t(options.instances), kStartRateHz);
  for (int n = 0; n < options.instances; ++n) {
    auto instance = std::make_unique<Instance>(n);
    std::string error;
    instance->host = PluginHost::Load(options.plugin, &error);
    if (!instance->host) {
      std::fprintf(stderr, "vsthost: cannot load %s: %s\n", options.plugin.c_str(), error.c_str());
      return 1;
    }
    // A live host: automation and MIDI on the audio thread must not wait for the plug-in.
    instance->host->SetProcessLevel(vst2::kProcessLevelRealtime);
    instance->host->Start(kStartRateHz, kStartBlock);
    instances.push_back(std::move(instance));
  }
  std::atomic<bool> stop{false}, watchdogStop{false};
  CallWatch editorWatch("editor");
  std::vector<CallWatch*> watches{&editorWatch};
  for (auto& instance : instances) {
    watches.push_back(&instance->audioWatch);
    watches.push_back(&instance->controlWatch);
  }
  std::thread watchdog(WatchdogLoop, std::cref(watches), std::cref(watchdogStop));
  std::vector<std::thread> threads;
  for (size_t n = 0; n < instances.size(); ++n) {
    Instance& instance = *instances[n];
    const unsigned seed = unsigned(1000 + n);
    // One instance in the double-precision path where the plug-in has it, as some hosts do.
    if (n == 1 && (instance.host->Effect()->flags & kFlagCanDoubleReplacing))
      threads.emplace_back(AudioLoop<double>, std::ref(instance), std::cref(stop), &rates[n], seed);
    else
      threads.emplace_back(AudioLoop<float>, std::ref(instance), std::cref(stop), &rates[n], seed);
    threads.emplace_back([&instance, &stop, rate = &rates[n], seed] { Controller(instance, rate, seed).Run(stop); });
  }
  bool editors = false;
  threads.emplace_back(EditorLoop, std::ref(instances), std::ref(editorWatch), std::cref(stop), &editors);
  std::this_thread::sleep_for(std::chrono::duration<double>(options.seconds));
  stop = true;
  for (auto& thread : threads) thread.join();
  watchdogStop = true;
  watchdog.join();

  Counts total;
  int longestInstance = 0;
  std::string faults;
  intptr_t contention = 0;
  for (auto& instance : instances) {
    contention += instance->host->Dispatch(vst2::effVendorSpecific, kAudioContentionQuery);
    Accumulate(total, instance->audio, instance->number, &longestInstance);
    Accumulate(total, instance->control, instance->number, &longestInstance);
    if (!instance->fault.empty()) faults += "  " + instance->fault + "\n";
  }
  std::printf("stress: %d instances for %.1f s: %ld audio calls (%ld frames), %ld parameter changes, %ld MIDI "
              "messages, %ld chunk restores, %ld steps, %ld suspensions, %ld editor openings%s\n",
              options.instances, options.seconds, total.audioCalls, total.frames, total.parameterChanges,
              total.midiMessages, total.chunkRestores, total.steps, total.suspends, total.editorOpenings,
              editors ? "" : " (no window: editors not opened)");
  std::printf("longest audio call: %.2f ms (%d frames, instance %d)\n", 1e3 * total.longestAudio,
              total.longestAudioFrames, longestInstance);
  std::printf("longest control call: %.2f ms (%s)\n", 1e3 * total.longestControl, total.longestControlCall);
  std::printf("output peak: %.3f\n", double(total.peak));
  // Plug-ins that do not answer the query report 0.
  std::printf("audio thread found the plug-in held: %ld times\n", long(contention));
  if (contention > 0) {
    std::printf("FAULT: the audio thread found something it needed held by another thread\n");
    return 1;
  }
  if (!faults.empty()) {
    std::printf("FAULT: output not finite or beyond %.0f:\n%s", double(kOutputBound), faults.c_str());
    return 1;
  }
  std::printf("faults: none\n");
  return 0;
}

}  // namespace vsthost
