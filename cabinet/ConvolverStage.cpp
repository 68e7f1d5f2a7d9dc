#include "cabinet/ConvolverStage.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cabinet/ConvolverKernels.h"
#include "cabinet/Fft.h"

namespace {

constexpr int kMinAutoFftSize = 32;
constexpr double kSilentImpulsePeak = 1e-14;
constexpr double kSilentInputPeak = 1e-6;
// Products per job step, in bins times pairs: a slice small enough that a step of the
// largest stages stays a small part of a short host block, however many pairs it has; but
// never so few bins that the steps become many and tiny.
constexpr int kPairBinsPerStep = 16384;
constexpr int kMinBinsPerStep = 256;
// The sub-transforms (FftSubTransform's parts) that hold the bins the products use; part 1
// holds only the partners of part 0's bins.
constexpr int kSpectrumParts[] = {0, 2};
constexpr int kSpectrumPartCount = static_cast<int>(std::size(kSpectrumParts));

struct BinRun {
  int first;  // position in the transform's scrambled order
  int count;
};

// The positions of the bins a stage multiplies. For each nested size m = n, n/2, ..., 8 of
// the scrambled order, [m/2, 3m/4) holds one bin of each conjugate pair and [3m/4, m) the
// partners; positions 0 and 1 hold bins 0 and n/2, their own partners, and position 2 the
// last pair's kept bin (m = 4). Run 0 is [0, 3); run r > 0 belongs to m = 8 << (r - 1).
int KeptRunCount(int n) {
  int runs = 0;
  for (int m = 4; m <= n; m *= 2) ++runs;
  return runs;
}

BinRun KeptRun(int run) {
  if (run == 0) return {0, 3};
  const int m = 8 << (run - 1);
  return {m / 2, m / 4};
}

// Bins 0 and n/2 enter the sum once; every other kept bin stands for its partner too.
constexpr int kUndoubledBins = 2;

// Whether any sample lies beyond +-threshold; branch-free so that it vectorises.
bool Exceeds(const double* samples, int count, double threshold) {
  bool exceeds = false;
  for (int i = 0; i < count; ++i) exceeds |= std::fabs(samples[i]) > threshold;
  return exceeds;
}

// Writes (sample * scale, 0) for each sample, then zeros up to n complex values.
void SpreadAsComplex(const double* samples, int count, double scale, double* complex, int n) {
  for (int i = 0; i < count; ++i) {
    complex[2 * i] = samples[i] * scale;
    complex[2 * i + 1] = 0.0;
  }
  std::fill(complex + 2 * count, complex + 2 * n, 0.0);
}

}  // namespace

void ConvolverStage::Load(const ImpulseBuffer& impulse, int fftSize, int offset, int maxLength) {
  InitFftTables();
  int length = std::max(0, impulse.Length() - offset);
  if (maxLength > 0) length = std::min(length, maxLength);
  impulseLength_ = length;
  const double* portion = length > 0 ? impulse.Channel(0) + offset : nullptr;
  if (length <= kMaxDirectTaps && fftSize <= 0) {
    LoadDirect(portion);
  } else {
    if (fftSize <= 0) {
      fftSize = kMinAutoFftSize;
      while (fftSize < 2 * length && fftSize < kFftMaxSize) fftSize *= 2;
    }
    fftSize_ = fftSize;
    LoadSpectra(portion);
  }
  primed_ = false;
}

void ConvolverStage::LoadDirect(const double* portion) {
  fftSize_ = 0;
  blockCount_ = 0;
  impulse_.resize(impulseLength_);
  directTaps_.resize(impulseLength_);
  for (int j = 0; j < impulseLength_; ++j) {
    impulse_[j] = static_cast<float>(portion[impulseLength_ - 1 - j]);
    directTaps_[j] = impulse_[j];
  }
  output_.Clear();
  history_.Clear();
  input_.Clear();
  ringPosition_ = 0;
}

void ConvolverStage::LoadSpectra(const double* portion) {
  const int n = fftSize_, block = BlockSize();
  blockCount_ = (impulseLength_ + block - 1) / block;
  impulse_.assign(static_cast<size_t>(blockCount_) * 2 * n, 0.0f);
  impulseFlags_.assign(blockCount_, kSilentBlock);
  ring_.assign(static_cast<size_t>(blockCount_) * 2 * n, 0.0);
  ringFlags_.assign(blockCount_, kSilentBlock);
  overlap_.assign(block, 0.0);
  work_.assign(2 * n, 0.0);
  pairInputs_.assign(blockCount_, nullptr);
  pairImpulses_.assign(blockCount_, nullptr);
  sliceInputs_.assign(blockCount_, nullptr);
  sliceImpulses_.assign(blockCount_, nullptr);
  phase_ = JobPhase::kAwaitingInput;
  const double scale = 1.0 / n;
  for (int b = 0; b < blockCount_; ++b) {
    const double* samples = portion + b * block;
    const int count = std::min(block, impulseLength_ - b * block);
    if (!Exceeds(samples, count, kSilentImpulsePeak)) continue;
    SpreadAsComplex(samples, count, scale, work_.data(), n);
    Fft(work_.data(), n, 0);
    float* spectrum = impulse_.data() + static_cast<size_t>(b) * 2 * n;
    for (int run = 0; run < KeptRunCount(n); ++run) {
      const BinRun bins = KeptRun(run);
      for (int i = 2 * bins.first; i < 2 * (bins.first + bins.count); ++i)
        spectrum[i] = static_cast<float>(i < 2 * kUndoubledBins ? work_[i] : 2.0 * work_[i]);
    }
    impulseFlags_[b] = kUsedBlock;
  }
}

// Bounds on what each queue can hold between two host blocks of up to maxBlock samples:
// a block of input not yet transformed, the prefill and stagger, and one block of output
// beyond what was asked for. The factor covers the slack of moving data only at half.
void ConvolverStage::Reserve(int maxBlock) {
  const int pending = maxBlock + outputDelay + stagger + 2 * BlockSize() + impulseLength_;
  output_.Reserve(3 * pending);
  input_.Reserve(fftSize_ > 0 ? 3 * pending : 0);
  history_.Reserve(fftSize_ > 0 ? 0 : 3 * pending);
}

void ConvolverStage::Prime() {
  primed_ = true;
  ringPosition_ = 0;
  std::fill(ringFlags_.begin(), ringFlags_.end(), kSilentBlock);
  std::fill(overlap_.begin(), overlap_.end(), 0.0);
  phase_ = JobPhase::kAwaitingInput;
  if (blockCount_ == 0 && input_.Available() > 0) {
    output_.Append(input_.Data(), input_.Available());
    input_.Clear();
  }
}

void ConvolverStage::PushSamples(const double* in, int count) {
  if (count <= 0) return;
  if (fftSize_ == 0) {
    RunDirect(in, count);
    return;
  }
  if (!primed_) Prime();
  if (impulseLength_ < 1 || blockCount_ == 0)
    output_.Append(in, count);
  else
    input_.Append(in, count);
}

// The FIR sum runs as samples arrive: s[0] is the first new sample, preceded by at least
// impulseLength_ older ones; taps are stored reversed.
void ConvolverStage::RunDirect(const double* in, int count) {
  const int taps = impulseLength_;
  if (taps < 1) {
    output_.Append(in, count);
    return;
  }
  if (history_.Available() < taps) history_.Append(nullptr, taps - history_.Available());
  history_.Append(in, count);
  const double* s = history_.Data() + history_.Available() - count - taps + 1;
  DirectFir(s, directTaps_.data(), taps, output_.AppendUninitialised(count), count);
  history_.Consume(count);
}

int ConvolverStage::ProduceOutput(int want) {
  if (fftSize_ > 0)
    while (output_.Available() < want && CanRunStep()) RunJobStep();
  return output_.Available();
}

bool ConvolverStage::AdvanceInBackground() {
  if (!HasSlack() || !CanRunStep()) return false;
  RunJobStep();
  return true;
}

// A job starts once a whole input block is queued; its later steps need nothing more.
bool ConvolverStage::CanRunStep() const {
  return phase_ != JobPhase::kAwaitingInput || (blockCount_ > 0 && input_.Available() >= BlockSize());
}

void ConvolverStage::RunJobStep() {
  ++stepsRun_;
  switch (phase_) {
    case JobPhase::kAwaitingInput:
      StartJob();
      break;
    case JobPhase::kTransformingParts:
      TransformPart();
      break;
    case JobPhase::kMultiplying:
      MultiplySlice();
      break;
    case JobPhase::kInvertingParts:
      InvertPart();
      break;
    case JobPhase::kInverting:
      FinishJob();
      break;
  }
}

void ConvolverStage::StartJob() {
  ringPosition_ = (ringPosition_ + 1) % blockCount_;
  slot_ = ring_.data() + static_cast<size_t>(ringPosition_) * 2 * fftSize_;
  const bool used = TransformInputBlock();
  ringFlags_[ringPosition_] = used ? kUsedBlock : kSilentBlock;
  input_.Consume(BlockSize());
  part_ = 0;
  if (used)
    phase_ = JobPhase::kTransformingParts;
  else
    StartProducts();
}

// A block whose samples all lie within the silence threshold is neither copied nor
// transformed; its slot is flagged silent and skipped by the products. Otherwise this makes
// the transform's first pass.
bool ConvolverStage::TransformInputBlock() {
  const double* samples = input_.Data();
  if (!Exceeds(samples, BlockSize(), kSilentInputPeak)) return false;
  FftPaddedRealSplitPass(samples, slot_, fftSize_);
  return true;
}

void ConvolverStage::TransformPart() {
  const FftPart part = FftSubTransform(fftSize_, kSpectrumParts[part_]);
  Fft(slot_ + part.offset, part.size, 0);
  if (++part_ == kSpectrumPartCount) StartProducts();
}

void ConvolverStage::StartProducts() {
  GatherPairs();
  binsPerStep_ = std::max(kMinBinsPerStep, kPairBinsPerStep / std::max(pairCount_, 1));
  run_ = binsIntoRun_ = 0;
  phase_ = pairCount_ > 0 ? JobPhase::kMultiplying : JobPhase::kInverting;
}

// The pairs X[newest - i] * H[i] of this job, skipping silent ones.
void ConvolverStage::GatherPairs() {
  const size_t spectrum = static_cast<size_t>(2) * fftSize_;
  pairCount_ = 0;
  for (int i = 0; i < blockCount_; ++i) {
    const int s = (ringPosition_ - i + blockCount_) % blockCount_;
    if (impulseFlags_[i] != kUsedBlock || ringFlags_[s] != kUsedBlock) continue;
    pairInputs_[pairCount_] = ring_.data() + s * spectrum;
    pairImpulses_[pairCount_] = impulse_.data() + i * spectrum;
    ++pairCount_;
  }
}

// The next slice of kept bins, crossing from run to run; once all are done, the partners are
// zeroed for the inverse. Each bin's sum is the same whatever the slicing.
void ConvolverStage::MultiplySlice() {
  const int runs = KeptRunCount(fftSize_);
  for (int budget = binsPerStep_; budget > 0 && run_ < runs;) {
    const BinRun bins = KeptRun(run_);
    const int count = std::min(budget, bins.count - binsIntoRun_);
    MultiplyBins(bins.first + binsIntoRun_, count);
    budget -= count;
    binsIntoRun_ += count;
    if (binsIntoRun_ == bins.count) {
      ++run_;
      binsIntoRun_ = 0;
    }
  }
  if (run_ < runs) return;
  ClearPartnerBins();
  part_ = 0;
  phase_ = JobPhase::kInvertingParts;
}

// work = sum of the pairs' products over count bins from position first.
void ConvolverStage::MultiplyBins(int first, int count) {
  for (int p = 0; p < pairCount_; ++p) {
    sliceInputs_[p] = pairInputs_[p] + 2 * first;
    sliceImpulses_[p] = pairImpulses_[p] + 2 * first;
  }
  AccumulateSpectra(work_.data() + 2 * first, sliceInputs_.data(), sliceImpulses_.data(), pairCount_, count);
}

void ConvolverStage::ClearPartnerBins() {
  for (int m = 4; m <= fftSize_; m *= 2) std::fill(work_.data() + 3 * m / 2, work_.data() + 2 * m, 0.0);
}

// The largest group of partners is all of part 1, whose inverse would be zeros: the part
// stays as cleared.
void ConvolverStage::InvertPart() {
  const FftPart part = FftSubTransform(fftSize_, kSpectrumParts[part_]);
  Fft(work_.data() + part.offset, part.size, 1);
  if (++part_ == kSpectrumPartCount) phase_ = JobPhase::kInverting;
}

// The inverse transform's last pass and the overlap-add; no products: silence.
void ConvolverStage::FinishJob() {
  if (pairCount_ == 0)
    std::fill(work_.begin(), work_.end(), 0.0);
  else
    FftSplitPass(work_.data(), fftSize_, 1);
  OverlapAdd();
  phase_ = JobPhase::kAwaitingInput;
}

void ConvolverStage::OverlapAdd() {
  const int block = BlockSize();
  double* out = output_.AppendUninitialised(block);
  for (int j = 0; j < block; ++j) {
    out[j] = work_[2 * j] + overlap_[j];
    overlap_[j] = work_[2 * (block + j)];
  }
}

void ConvolverStage::PrefillSilence(int count) { output_.Append(nullptr, count); }

void ConvolverStage::ConsumeOutput(int count) { output_.Consume(count); }
