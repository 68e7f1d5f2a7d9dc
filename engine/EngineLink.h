// The engine in two copies, so that the audio thread never waits for a parameter change:
// the settings copy, which the parameter handler changes and reads under the plug-in lock
// on whichever thread changes a parameter, and the audio copy, which only the audio thread
// runs. Every change is applied to the settings at once and queued, wait-free, for the
// audio copy, which takes the queued changes in order at the start of its next block, so
// both copies see the same changes in the same order. A new impulse response arrives the
// same way: a convolver prepared away from the audio thread, swapped in at block start,
// the old one handed back to be freed elsewhere.
//
// No allocation on the audio thread after Init: the queues are fixed arrays.
#pragma once

#include <atomic>
#include <memory>

#include "cabinet/ImpulseFiles.h"
#include "cabinet/PartitionedConvolver.h"
#include "engine/Engine.h"
#include "realtime/WaitFreeQueue.h"

class EngineLink : public ConvolverSink {
 public:
  using Change = void (*)(Engine& engine, double value);

  EngineLink();
  ~EngineLink();
  EngineLink(const EngineLink&) = delete;
  EngineLink& operator=(const EngineLink&) = delete;

  // Set-up: both copies to their starting state at the rate (allocates).
  void Init(double sampleRate);
  // Set-up: a new rate for both copies (see ResetEngine) and room for blocks of up to
  // maxBlock frames in the convolver. Waits for a block in progress; allocates.
  void Reset(double sampleRate, int maxBlock);

  // Any thread but the audio thread, under the plug-in lock: change(settings, value) now,
  // the same on the audio copy at its next block. Waits for the audio thread only if a
  // full queue must be emptied (thousands of changes between two blocks).
  void Apply(Change change, double value);
  // The same for a prepared convolver (ConvolverSink).
  void InstallConvolver(std::unique_ptr<PartitionedConvolver> convolver) override;
  // What the handler designs from and reads back.
  const Engine& Settings() const { return settings_; }

  // Audio thread: takes the queued changes; false (and nothing to run) in the rare case
  // another thread holds the audio copy (emptying a full queue, or a host changing the
  // rate while processing). After true, run Audio() and AudioConvolver(), then EndBlock().
  bool BeginBlock();
  Engine& Audio() { return audio_; }
  PartitionedConvolver& AudioConvolver() { return *convolver_; }
  void EndBlock() { audioBusy_.store(false, std::memory_order_release); }

 private:
  struct QueuedChange {
    Change change = nullptr;
    double value = 0.0;
    PartitionedConvolver* convolver = nullptr;  // a swap when not null; owned while queued
  };
  static constexpr std::size_t kQueuedChanges = 4096;
  static constexpr std::size_t kRetiredConvolvers = kQueuedChanges;

  void Queue(const QueuedChange& change);
  // Holder of the audio copy: the audio thread, or a thread that takes it while the audio
  // thread waits its turn.
  void HoldAudioCopy();
  void TakeQueuedChanges();
  void FreeRetiredConvolvers();

  Engine settings_;
  Engine audio_;
  std::unique_ptr<PartitionedConvolver> convolver_;
  WaitFreeQueue<QueuedChange, kQueuedChanges> changes_;
  WaitFreeQueue<PartitionedConvolver*, kRetiredConvolvers> retired_;
  std::atomic<bool> audioBusy_{false};
};
