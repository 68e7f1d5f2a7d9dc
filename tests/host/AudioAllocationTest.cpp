// Counts the heap allocations the plug-in binary makes on the host's processing thread.
// This program replaces operator new and the C allocator (forwarding to glibc's own), and
// counts only while a flag of the processing thread is set, so the host's set-up on the
// main thread is free to allocate. The first counted allocation keeps its call stack for
// the failure message.
#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "amp/ParamIds.h"
#include "tests/host/PluginFixture.h"

extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
extern "C" void* __libc_memalign(std::size_t, std::size_t);
extern "C" void __libc_free(void*);

namespace {

thread_local bool tCounting = false;
std::atomic<long> gCounted{0};
constexpr int kStackDepth = 24;
void* gFirstStack[kStackDepth];
int gFirstStackDepth = 0;

void NoteAllocation() {
  if (!tCounting) return;
  if (gCounted.fetch_add(1) == 0) {
    tCounting = false;  // backtrace may allocate on its first use
    gFirstStackDepth = backtrace(gFirstStack, kStackDepth);
    tCounting = true;
  }
}

}  // namespace

extern "C" {
void* malloc(std::size_t size) {
  NoteAllocation();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  NoteAllocation();
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
  NoteAllocation();
  return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
  NoteAllocation();
  return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
  NoteAllocation();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  NoteAllocation();
  *out = __libc_memalign(alignment, size);
  return *out ? 0 : ENOMEM;
}
void free(void* p) { __libc_free(p); }
}

void* operator new(std::size_t size) {
  if (void* p = malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  if (void* p = memalign(static_cast<std::size_t>(alignment), size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, std::size_t) noexcept { free(p); }
void operator delete[](void* p, std::size_t) noexcept { free(p); }
void operator delete(void* p, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { free(p); }

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 64;
constexpr int kBlocksAfterSelection = 16;
constexpr int kCountedBlocks = 750;    // one second at 64 frames
constexpr int kCabinetWithResponse = 20;
constexpr int kProgramChanges = 8;
constexpr int kBlocksPerLoad = 200;    // about a quarter of a second at 64 frames
constexpr int32_t kAudioContentionQuery = 0x56786374;  // 'Vxct'

std::string FirstStack() {
  if (gFirstStackDepth == 0) return {};
  char** names = backtrace_symbols(gFirstStack, gFirstStackDepth);
  std::string text = "first allocation:\n";
  for (int i = 0; names && i < gFirstStackDepth; ++i) text += std::string("  ") + names[i] + "\n";
  free(names);
  return text;
}

class AudioAllocationTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    host->Start(kSampleRate, kBlockFrames);
    host->RecordCalls(false);
    for (int c = 0; c < 2; ++c) {
      inputs[c].assign(kBlockFrames, 0.0f);
      outputs[c].assign(kBlockFrames, 0.0f);
      in[c] = inputs[c].data();
      out[c] = outputs[c].data();
    }
  }

  // Runs work on a thread of its own, as a host's audio thread; returns the allocations
  // it made while counting. An empty block processed first, uncounted, gives the thread
  // its share of the binary's thread-local storage, which the loader allocates at the
  // first use in each thread.
  long OnProcessingThread(const std::function<void()>& work) {
    gCounted = 0;
    gFirstStackDepth = 0;
    std::thread([&] {
      host->ProcessReplacing(in, out, 0);
      tCounting = true;
      work();
      tCounting = false;
    }).join();
    return gCounted.load();
  }

  void ProcessBlocks(int blocks) {
    for (int b = 0; b < blocks; ++b) {
      for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kBlockFrames; ++i) inputs[c][i] = 0.3f * float((phase_++ % 97) - 48) / 48.0f;
      host->ProcessReplacing(in, out, kBlockFrames);
    }
  }

  static float Normalized(int value, int count) { return float(value) / float(count - 1); }

  std::vector<float> inputs[2], outputs[2];
  float* in[2];
  float* out[2];
  int phase_ = 0;
};

// Every model, cabinet off and on, the impulse stage off and on (no response loaded), tuner
// on: the blocks after the set-up allocate nothing, from the first one on.
TEST_F(AudioAllocationTest, NoneInSteadyStateForEveryModelCabinetAndTuner) {
  host->SetParameter(kTunerButton, 1.0f);
  for (float impulseStage : {0.0f, 1.0f}) {
    host->SetParameter(kIrLed, impulseStage);
    for (int cabinet : {0, kCabinetWithResponse}) {
      host->SetParameter(kCabPreset, Normalized(cabinet, kNumCabinets));
      for (int model = 0; model < kNumModels; ++model) {
        host->SetParameter(kDstPreset, Normalized(model, kNumModels));
        const long counted = OnProcessingThread([&] { ProcessBlocks(kCountedBlocks); });
        EXPECT_EQ(counted, 0) << "model " << model << ", cabinet " << cabinet << ", impulse stage "
                              << impulseStage << "\n" << FirstStack();
      }
    }
  }
}

// A host automating the model on its audio thread: the selection and the blocks after it
// allocate nothing, for every model in both directions.
TEST_F(AudioAllocationTest, NoneWhenTheAudioThreadSelectsModels) {
  host->SetParameter(kTunerButton, 1.0f);
  for (int pass = 0; pass < 2; ++pass) {
    for (int step = 0; step < kNumModels; ++step) {
      const int model = pass == 0 ? step : kNumModels - 1 - step;
      const long counted = OnProcessingThread([&] {
        host->SetParameter(kDstPreset, Normalized(model, kNumModels));
        ProcessBlocks(kBlocksAfterSelection);
      });
      EXPECT_EQ(counted, 0) << "model " << model << "\n" << FirstStack();
    }
  }
}

// A live host (real-time process level): program changes arrive on the audio thread,
// the browser and response steps are automated there, and another thread restores chunks
// meanwhile. The loads run on the plug-in's loader thread and the restoring thread; the
// audio thread's blocks allocate nothing and never find the plug-in held.
TEST_F(AudioAllocationTest, NoneWhileLoadsHappenElsewhere) {
  host->SetProcessLevel(vst2::kProcessLevelRealtime);
  const std::vector<uint8_t> restored = host->GetChunk(false);
  const float firstPreset = host->GetParameter(kPresetSelect);
  std::atomic<bool> audioDone{false};
  std::thread restorer([&] {
    while (!audioDone) {
      host->SetChunk(restored, false);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  });
  vst2::VstMidiEvent change{};
  change.type = vst2::kMidiEventType;
  change.byteSize = sizeof change;
  vst2::VstEvents list{1, 0, {reinterpret_cast<vst2::VstEvent*>(&change), nullptr}};
  const long counted = OnProcessingThread([&] {
    for (int program = 0; program < kProgramChanges; ++program) {
      change.midiData[0] = char(0xC0);
      change.midiData[1] = char(program);
      host->Dispatch(vst2::effProcessEvents, 0, 0, &list);
      ProcessBlocks(kBlocksPerLoad);
      for (int step : {kIrNext, kPresetNext}) {
        host->SetParameter(step, 1.0f);
        ProcessBlocks(1);
        host->SetParameter(step, 0.0f);
        ProcessBlocks(kBlocksPerLoad);
      }
    }
  });
  audioDone = true;
  restorer.join();
  EXPECT_EQ(counted, 0) << FirstStack();
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, kAudioContentionQuery), 0);
  // A last program change is loaded by the loader thread a moment later.
  change.midiData[1] = char(kProgramChanges - 1);
  OnProcessingThread([&] { host->Dispatch(vst2::effProcessEvents, 0, 0, &list); });
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (host->GetParameter(kPresetSelect) == firstPreset && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_NE(host->GetParameter(kPresetSelect), firstPreset);
}

}  // namespace
