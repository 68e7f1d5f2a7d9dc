// Zero-latency convolution of a mono signal with a long impulse response: the first 64
// samples by a direct FIR stage, each later portion by an FFT stage whose size grows with
// its offset, its output delayed by a prefill of zeros equal to that offset so that the
// stage's block latency is hidden. Every sample pushed can be read back in the same call.
// Stages from 4096 samples on take blocks of at most half their offset, which leaves a block
// of slack before each result is due; their work runs a step per call ahead of time, so that
// no single short host block carries a whole job of theirs.
//
// Per block: PushSamples(in, n); m = min(n, ProduceOutput(n)); read m samples at
// OutputPointer(); ConsumeOutput(m). Construction, LoadImpulse and SetMaxBlockSize
// allocate; after them the processing calls allocate nothing while blocks stay within the
// maximum block size, with or without a response loaded.
// No lock of its own: callers serialise loads and processing.
#pragma once

#include <vector>

#include "cabinet/ConvolverStage.h"
#include "cabinet/ImpulseBuffer.h"
#include "cabinet/SampleQueue.h"

class PartitionedConvolver {
 public:
  static constexpr int kDefaultMaxBlock = 4096;

  // Sized for the default block, so that a convolver without a response passes silence on
  // without allocating.
  PartitionedConvolver();

  // Replaces all stages with new ones built from channel 0; the next push starts from
  // silence, cutting the previous response's tail. Returns 0.
  int LoadImpulse(const ImpulseBuffer& impulse);
  void PushSamples(const double* in, int n);  // null in: n zeros
  int ProduceOutput(int want);                // samples ready, at most want
  const double* OutputPointer() const { return mix_.Data(); }
  void ConsumeOutput(int n) { mix_.Consume(n); }

  // The largest host block to size the queues for (the host announces it before
  // processing). Larger blocks still work but make the queues grow.
  void SetMaxBlockSize(int samples);

  int StageCount() const { return static_cast<int>(stages_.size()); }
  const ConvolverStage& Stage(int index) const { return stages_[index]; }

 private:
  void BuildStages(const ImpulseBuffer& impulse);
  void PrimeStage(ConvolverStage& stage, const double* in, int n);
  void ReserveQueues();
  void AdvanceOneStageInBackground();
  int HeavyImmediateSteps() const;

  std::vector<ConvolverStage> stages_;
  SampleQueue mix_;
  int maxBlock_ = kDefaultMaxBlock;
  bool prime_ = false;
};
