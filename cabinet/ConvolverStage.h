// One portion of an impulse response, applied either by a direct FIR sum (up to 64 taps,
// computed as samples arrive) or by a uniformly partitioned FFT convolver of size N with
// blocks of N/2 (computed lazily, when output is asked for). Impulse spectra are single
// precision; products and sums are double.
//
// Input and response are real, so each spectrum holds every bin twice (bin N-k is the
// conjugate of bin k), and so does their product. A stage multiplies one bin of each such
// pair, doubled, and zeros its partner: the inverse transform's real part, the only part
// the overlap-add reads, is then the same convolution, for half the products. The partners
// of the largest group fill one sub-transform of each transform, which is skipped.
//
// An FFT stage computes each output block as a job of steps: transform the input block (a
// pass and two sub-transforms), multiply the spectra a slice of bins at a time, inverse-
// transform (two sub-transforms and a pass) and overlap-add. A stage whose output is
// delayed by at least two blocks has a block of slack between its input completing and its
// result falling due, so its caller can run these steps one per host block
// (AdvanceInBackground) instead of all in the block where the result is due.
//
// Load and Reserve allocate everything; afterwards the stage allocates nothing as long as
// host blocks stay within the reserved block size.
#pragma once

#include <cstdint>
#include <vector>

#include "cabinet/ImpulseBuffer.h"
#include "cabinet/SampleQueue.h"

class ConvolverStage {
 public:
  static constexpr int kMaxDirectTaps = 64;

  // Takes channel 0 from offset on, at most maxLength samples (0: all). fftSize <= 0 with
  // at most 64 samples selects direct mode; fftSize <= 0 with more picks a size itself.
  void Load(const ImpulseBuffer& impulse, int fftSize, int offset, int maxLength);
  // Sizes the queues for host blocks of up to maxBlock samples, given outputDelay and
  // stagger, so that processing allocates nothing.
  void Reserve(int maxBlock);

  void PushSamples(const double* in, int count);  // null in: count zeros
  int ProduceOutput(int want);                    // returns the samples ready
  // Runs one step of the next output block's work ahead of demand, if the stage has slack
  // and the step's input is there. Returns whether it ran one.
  bool AdvanceInBackground();
  int StepsRun() const { return stepsRun_; }  // job steps so far, demanded or ahead
  bool HasSlack() const { return fftSize_ > 0 && blockCount_ > 0 && outputDelay >= 2 * BlockSize(); }
  void PrefillSilence(int count);
  void ConsumeOutput(int count);
  const double* OutputPointer() const { return output_.Data(); }

  int FftSize() const { return fftSize_; }
  int ImpulseLength() const { return impulseLength_; }
  int BlockCount() const { return blockCount_; }
  int outputDelay = 0;  // the portion's offset: zeros prefilled into the output
  int stagger = 0;      // zeros fed in once at priming and dropped from the output once

 private:
  enum BlockFlag : std::uint8_t { kSilentBlock = 0, kUsedBlock = 2 };
  enum class JobPhase : std::uint8_t { kAwaitingInput, kTransformingParts, kMultiplying, kInvertingParts, kInverting };

  void LoadDirect(const double* portion);
  void LoadSpectra(const double* portion);
  void Prime();
  void RunDirect(const double* in, int count);
  bool CanRunStep() const;
  void RunJobStep();
  void StartJob();
  bool TransformInputBlock();
  void TransformPart();
  void StartProducts();
  void GatherPairs();
  void MultiplySlice();
  void MultiplyBins(int first, int count);
  void ClearPartnerBins();
  void InvertPart();
  void FinishJob();
  void OverlapAdd();

  int BlockSize() const { return fftSize_ / 2; }

  std::vector<float> impulse_;  // direct: reversed taps; FFT: blockCount_ spectra of 2N floats
  std::vector<double> directTaps_;  // the reversed taps widened once, for the FIR loop
  std::vector<std::uint8_t> impulseFlags_;
  int fftSize_ = 0;  // 0: direct mode
  int impulseLength_ = 0;
  int blockCount_ = 0;
  bool primed_ = false;
  SampleQueue output_;
  SampleQueue history_;
  SampleQueue input_;
  int ringPosition_ = 0;
  std::vector<double> ring_;  // blockCount_ input spectra of 2N doubles
  std::vector<std::uint8_t> ringFlags_;
  std::vector<double> overlap_;  // N/2 doubles
  std::vector<double> work_;     // 2N doubles
  // The spectra multiplied for the current block, gathered so the products run bin by bin,
  // and the same pointers advanced to the slice of bins a step multiplies.
  std::vector<const double*> pairInputs_;
  std::vector<const float*> pairImpulses_;
  std::vector<const double*> sliceInputs_;
  std::vector<const float*> sliceImpulses_;
  int pairCount_ = 0;
  int binsPerStep_ = 0;
  int run_ = 0;           // the run of kept bins being multiplied
  int binsIntoRun_ = 0;   // of which this many are done
  int part_ = 0;          // sub-transforms done in the current transform
  int stepsRun_ = 0;
  double* slot_ = nullptr;  // the ring slot of the input block of the current job
  JobPhase phase_ = JobPhase::kAwaitingInput;
};
