#include "cabinet/PartitionedConvolver.h"

#include <algorithm>

#include "cabinet/Fft.h"

namespace {

constexpr int kDirectSamples = ConvolverStage::kMaxDirectTaps;
constexpr int kBlocksPerStage = 3;
constexpr int kMixReserveBlocks = 3;

}  // namespace

PartitionedConvolver::PartitionedConvolver() { ReserveQueues(); }

int PartitionedConvolver::LoadImpulse(const ImpulseBuffer& impulse) {
  stages_.clear();
  BuildStages(impulse);
  ReserveQueues();
  prime_ = true;
  return 0;
}

// The first stage always covers the first 64 samples directly. Each later stage starts
// where the previous one ended, uses an FFT twice its offset (blocks as long as the
// offset, so the prefill hides the block latency) and covers three blocks, unless fewer
// than three further blocks would remain; the 32768 FFT takes all that is left.
void PartitionedConvolver::BuildStages(const ImpulseBuffer& impulse) {
  const int length = impulse.Length();
  int offset = 0, chunk = kDirectSamples, fft = 0, remaining = length;
  do {
    if (offset == 0) {
      chunk = std::min(kDirectSamples, remaining);
    } else if (kBlocksPerStage * chunk > remaining) {
      chunk = remaining;
    }
    if (fft >= kFftMaxSize) {
      fft = kFftMaxSize;
      chunk = remaining;
    }
    ConvolverStage& stage = stages_.emplace_back();
    stage.Load(impulse, fft, offset, chunk);
    stage.outputDelay = offset;
    remaining -= chunk;
    offset += chunk;
    chunk = kBlocksPerStage * offset;
    fft = 2 * offset;
  } while (remaining > 0);
  // Stages between the first and the last start a fraction of a block late, so that the
  // FFT work of different stages falls into different host blocks.
  for (size_t i = 1; i + 1 < stages_.size(); ++i) stages_[i].stagger = stages_[i].FftSize() / 2 / 4;
}

void PartitionedConvolver::SetMaxBlockSize(int samples) {
  if (samples <= maxBlock_) return;
  maxBlock_ = samples;
  ReserveQueues();
}

void PartitionedConvolver::ReserveQueues() {
  for (auto& stage : stages_) stage.Reserve(maxBlock_);
  mix_.Reserve(kMixReserveBlocks * maxBlock_);
}

void PartitionedConvolver::PushSamples(const double* in, int n) {
  const bool priming = prime_;
  prime_ = false;
  for (auto& stage : stages_) {
    if (priming)
      PrimeStage(stage, in, n);
    else
      stage.PushSamples(in, n);
  }
}

void PartitionedConvolver::PrimeStage(ConvolverStage& stage, const double* in, int n) {
  if (stage.stagger > 0) stage.PushSamples(nullptr, stage.stagger);
  stage.PushSamples(in, n);
  stage.PrefillSilence(stage.outputDelay);
}

int PartitionedConvolver::ProduceOutput(int want) {
  if (want <= 0) return 0;
  int ready = want;
  for (auto& stage : stages_)
    ready = std::min(ready, stage.ProduceOutput(want + stage.stagger) - stage.stagger);
  if (stages_.empty()) {
    mix_.Append(nullptr, want);
  } else if (ready > 0) {
    double* mix = mix_.AppendUninitialised(ready);
    std::fill(mix, mix + ready, 0.0);
    for (auto& stage : stages_) {
      if (stage.stagger > 0) {
        stage.ConsumeOutput(stage.stagger);
        stage.stagger = 0;
      }
      const double* out = stage.OutputPointer();
      for (int i = 0; i < ready; ++i) mix[i] += out[i];
      stage.ConsumeOutput(ready);
    }
  }
  return std::min(mix_.Available(), want);
}
