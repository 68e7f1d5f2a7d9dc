#include "engine/EngineLink.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

// How long a thread that must hold the audio copy sleeps between tries: short against a
// block, long enough not to spin.
constexpr std::chrono::microseconds kHoldRetry{50};

// The settings copy never runs audio: its delay cells (a second of samples per line, some
// megabytes in all) are given back. Length changes skip lines without cells.
void DropDelayCells(Engine& engine) {
  for (auto& cells : engine.bank.delayBuffer) std::vector<double>().swap(cells);
  for (auto& cells : engine.bank.fractionalBuffer) std::vector<double>().swap(cells);
}

}  // namespace

EngineLink::EngineLink() : convolver_(std::make_unique<PartitionedConvolver>()) {}

EngineLink::~EngineLink() {
  QueuedChange queued;
  while (changes_.Pop(queued)) delete queued.convolver;
  FreeRetiredConvolvers();
}

void EngineLink::Init(double sampleRate) {
  HoldAudioCopy();
  InitEngine(audio_, sampleRate);
  // A copy, so that the plug-in takes one anti-denormal table from the shared sequence
  // as a single engine does.
  settings_ = audio_;
  DropDelayCells(settings_);
  EndBlock();
}

void EngineLink::Reset(double sampleRate, int maxBlock) {
  HoldAudioCopy();
  TakeQueuedChanges();
  if (ResetEngine(settings_, sampleRate)) DropDelayCells(settings_);
  ResetEngine(audio_, sampleRate);
  if (maxBlock > 0) convolver_->SetMaxBlockSize(maxBlock);
  EndBlock();
  FreeRetiredConvolvers();
}

void EngineLink::Apply(Change change, double value) {
  change(settings_, value);
  Queue({change, value, nullptr});
}

void EngineLink::InstallConvolver(std::unique_ptr<PartitionedConvolver> convolver) {
  if (!convolver) return;
  Queue({nullptr, 0.0, convolver.release()});
}

void EngineLink::Queue(const QueuedChange& change) {
  FreeRetiredConvolvers();
  if (changes_.Push(change)) return;
  // The audio thread has not run for a whole queue of changes (stopped, or thousands of
  // changes between two blocks): bring the audio copy up to date here.
  HoldAudioCopy();
  TakeQueuedChanges();
  EndBlock();
  FreeRetiredConvolvers();
  changes_.Push(change);
}

void EngineLink::HoldAudioCopy() {
  while (audioBusy_.exchange(true, std::memory_order_acquire)) std::this_thread::sleep_for(kHoldRetry);
}

bool EngineLink::BeginBlock() {
  if (audioBusy_.exchange(true, std::memory_order_acquire)) return false;
  TakeQueuedChanges();
  return true;
}

// Applies queued changes in order. The return queue holds as many convolvers as the
// change queue, and every Queue empties it first, so handing one back cannot fail.
void EngineLink::TakeQueuedChanges() {
  QueuedChange queued;
  while (changes_.Pop(queued)) {
    if (queued.convolver) {
      retired_.Push(convolver_.release());
      convolver_.reset(queued.convolver);
    } else {
      queued.change(audio_, queued.value);
    }
  }
}

void EngineLink::FreeRetiredConvolvers() {
  PartitionedConvolver* old = nullptr;
  while (retired_.Pop(old)) delete old;
}
