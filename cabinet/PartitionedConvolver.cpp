#include "cabinet/PartitionedConvolver.h"

#include <algorithm>

#include "cabinet/Fft.h"

namespace {

constexpr int kDirectSamples = ConvolverStage::kMaxDirectTaps;
constexpr int kBlocksPerStage = 3;
constexpr int kMixReserveBlocks = 3;
// From this offset on, a stage with blocks as long as its offset would need transforms and
// products too large to finish within one short host block. Such stages take blocks of at
// most half their offset instead, which gives each result a whole block of slack to be
// computed in.
constexpr int kSpreadFromOffset = 4096;
// A spread stage takes the rest of the response if that is at most this many of its blocks
// (a response of up to 2.4 s at 48 kHz ends in the FFT 16384 stage): a further pair of
// spectra per job costs less per sample than the transforms of one more stage.
constexpr int kWidestSpreadBlocks = 12;
// Immediate stages with FFTs this large make a call heavy when their result falls due; such
// a call runs no step ahead.
constexpr int kHeavyImmediateFftSize = 2048;

struct StageShape {
  int fftSize;  // 0: direct
  int length;   // samples of the response the stage covers
};

// Blocks as long as the offset (an FFT of twice that), the result due as soon as its input
// block is complete: three blocks, or all that is left if fewer than three stages' worth
// remains. Offsets run 64, 256, 1024, so the last immediate stage ends at the first spread
// offset unless it takes the rest of a short response.
StageShape ImmediateStage(int offset, int remaining) {
  const int length = kBlocksPerStage * offset;
  return {2 * offset, kBlocksPerStage * length > remaining ? remaining : length};
}

// Blocks of half the largest power of two within the offset, up to the largest FFT: all that
// is left when that is a few blocks or the FFT is already the largest, else three offsets'
// worth.
StageShape SpreadStage(int offset, int remaining) {
  int fft = kFftMinSize;
  while (2 * fft <= std::min(offset, kFftMaxSize)) fft *= 2;
  const bool last = fft == kFftMaxSize || remaining <= kWidestSpreadBlocks * fft / 2;
  return {fft, last ? remaining : kBlocksPerStage * offset};
}

StageShape ShapeAt(int offset, int remaining) {
  if (offset == 0) return {0, std::min(kDirectSamples, remaining)};
  return offset < kSpreadFromOffset ? ImmediateStage(offset, remaining) : SpreadStage(offset, remaining);
}

}  // namespace

PartitionedConvolver::PartitionedConvolver() { ReserveQueues(); }

int PartitionedConvolver::LoadImpulse(const ImpulseBuffer& impulse) {
  stages_.clear();
  BuildStages(impulse);
  ReserveQueues();
  prime_ = true;
  return 0;
}

// The first stage always covers the first 64 samples directly; each later one starts where
// the previous one ended, its output delayed by that offset so the block latency is hidden.
void PartitionedConvolver::BuildStages(const ImpulseBuffer& impulse) {
  int offset = 0, remaining = impulse.Length();
  do {
    const StageShape shape = ShapeAt(offset, remaining);
    ConvolverStage& stage = stages_.emplace_back();
    stage.Load(impulse, shape.fftSize, offset, shape.length);
    stage.outputDelay = offset;
    remaining -= shape.length;
    offset += shape.length;
  } while (remaining > 0);
  // Immediate stages between the first and the last start a fraction of a block late, so
  // that the FFT work of different stages falls into different host blocks.
  for (size_t i = 1; i + 1 < stages_.size(); ++i)
    if (!stages_[i].HasSlack()) stages_[i].stagger = stages_[i].FftSize() / 2 / 4;
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
  const int heavyStepsBefore = HeavyImmediateSteps();
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
  if (HeavyImmediateSteps() == heavyStepsBefore) AdvanceOneStageInBackground();
  return std::min(mix_.Available(), want);
}

int PartitionedConvolver::HeavyImmediateSteps() const {
  int steps = 0;
  for (const auto& stage : stages_)
    if (!stage.HasSlack() && stage.FftSize() >= kHeavyImmediateFftSize) steps += stage.StepsRun();
  return steps;
}

// One step per host block across all stages, the earliest-due (smallest) stage first: the
// steps are sized so that one of them is a small part of a short block. Calls in which a
// large immediate stage computed its result run none, so the two never add up.
void PartitionedConvolver::AdvanceOneStageInBackground() {
  for (auto& stage : stages_)
    if (stage.AdvanceInBackground()) return;
}
