#include "cabinet/ConvolverStage.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cabinet/Fft.h"

namespace {

constexpr int kMinAutoFftSize = 32;
constexpr double kSilentImpulsePeak = 1e-14;
constexpr double kSilentInputPeak = 1e-6;

double Peak(const double* samples, int count) {
  double peak = 0.0;
  for (int i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

// Writes (sample * scale, 0) for each sample, then zeros up to n complex values.
void SpreadAsComplex(const double* samples, int count, double scale, double* complex, int n) {
  for (int i = 0; i < count; ++i) {
    complex[2 * i] = samples[i] * scale;
    complex[2 * i + 1] = 0.0;
  }
  std::fill(complex + 2 * count, complex + 2 * n, 0.0);
}

// work (+)= x * h over n complex values; h is single precision, widened.
template <bool kFirst>
void MultiplySpectra(double* work, const double* x, const float* h, int n) {
#if defined(__SSE2__)
  const __m128d negateRe = _mm_set_pd(0.0, -0.0);
  for (int i = 0; i < 2 * n; i += 2) {
    const __m128d hv = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(h + i))));
    const __m128d xv = _mm_loadu_pd(x + i);
    const __m128d swapped = _mm_shuffle_pd(xv, xv, 1);
    const __m128d product = _mm_add_pd(_mm_mul_pd(xv, _mm_unpacklo_pd(hv, hv)),
                                       _mm_xor_pd(_mm_mul_pd(swapped, _mm_unpackhi_pd(hv, hv)), negateRe));
    _mm_storeu_pd(work + i, kFirst ? product : _mm_add_pd(_mm_loadu_pd(work + i), product));
  }
#else
  for (int i = 0; i < 2 * n; i += 2) {
    const double hr = h[i], hi = h[i + 1];
    const double re = x[i] * hr - x[i + 1] * hi;
    const double im = x[i + 1] * hr + x[i] * hi;
    work[i] = kFirst ? re : work[i] + re;
    work[i + 1] = kFirst ? im : work[i + 1] + im;
  }
#endif
}

// out[x] = sum over j of s[x + j] * h[j]. Two outputs at a time with four partial sums
// each, so eight independent additions are in flight instead of one long chain.
void DirectSum(const double* s, const float* h, int taps, double* out, int count) {
  const int taps4 = taps & ~3;
  int x = 0;
  for (; x + 1 < count; x += 2) {
    double a0 = 0.0, a1 = 0.0, a2 = 0.0, a3 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0, b3 = 0.0;
    const double* p = s + x;
    for (int j = 0; j < taps4; j += 4) {
      const double h0 = h[j], h1 = h[j + 1], h2 = h[j + 2], h3 = h[j + 3];
      a0 += p[j] * h0;
      a1 += p[j + 1] * h1;
      a2 += p[j + 2] * h2;
      a3 += p[j + 3] * h3;
      b0 += p[j + 1] * h0;
      b1 += p[j + 2] * h1;
      b2 += p[j + 3] * h2;
      b3 += p[j + 4] * h3;
    }
    for (int j = taps4; j < taps; ++j) {
      a0 += p[j] * h[j];
      b0 += p[j + 1] * h[j];
    }
    out[x] = (a0 + a1) + (a2 + a3);
    out[x + 1] = (b0 + b1) + (b2 + b3);
  }
  for (; x < count; ++x) {
    double sum = 0.0;
    for (int j = 0; j < taps; ++j) sum += s[x + j] * h[j];
    out[x] = sum;
  }
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
  for (int j = 0; j < impulseLength_; ++j) impulse_[j] = static_cast<float>(portion[impulseLength_ - 1 - j]);
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
  const double scale = 1.0 / n;
  for (int b = 0; b < blockCount_; ++b) {
    const double* samples = portion + b * block;
    const int count = std::min(block, impulseLength_ - b * block);
    if (Peak(samples, count) <= kSilentImpulsePeak) continue;
    SpreadAsComplex(samples, count, scale, work_.data(), n);
    Fft(work_.data(), n, 0);
    std::copy(work_.begin(), work_.end(), impulse_.begin() + static_cast<size_t>(b) * 2 * n);
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
  DirectSum(s, impulse_.data(), taps, output_.AppendUninitialised(count), count);
  history_.Consume(count);
}

int ConvolverStage::ProduceOutput(int want) {
  if (fftSize_ > 0)
    while (input_.Available() >= BlockSize() && output_.Available() < want) ProcessBlock();
  return output_.Available();
}

void ConvolverStage::ProcessBlock() {
  ringPosition_ = (ringPosition_ + 1) % blockCount_;
  double* slot = ring_.data() + static_cast<size_t>(ringPosition_) * 2 * fftSize_;
  ringFlags_[ringPosition_] = TransformInputBlock(slot) ? kUsedBlock : kSilentBlock;
  input_.Consume(BlockSize());
  if (AccumulateProducts())
    Fft(work_.data(), fftSize_, 1);
  else
    std::fill(work_.begin(), work_.end(), 0.0);
  OverlapAdd();
}

// A block whose samples all lie within the silence threshold is neither copied nor
// transformed; its slot is flagged silent and skipped by the products.
bool ConvolverStage::TransformInputBlock(double* slot) {
  const double* samples = input_.Data();
  if (Peak(samples, BlockSize()) <= kSilentInputPeak) return false;
  SpreadAsComplex(samples, BlockSize(), 1.0, slot, fftSize_);
  Fft(slot, fftSize_, 0);
  return true;
}

// work = sum over impulse blocks i of X[newest - i] * H[i], skipping silent pairs.
bool ConvolverStage::AccumulateProducts() {
  const size_t spectrum = static_cast<size_t>(2) * fftSize_;
  bool first = true;
  for (int i = 0; i < blockCount_; ++i) {
    const int s = (ringPosition_ - i + blockCount_) % blockCount_;
    if (impulseFlags_[i] != kUsedBlock || ringFlags_[s] != kUsedBlock) continue;
    const double* x = ring_.data() + s * spectrum;
    const float* h = impulse_.data() + i * spectrum;
    if (first)
      MultiplySpectra<true>(work_.data(), x, h, fftSize_);
    else
      MultiplySpectra<false>(work_.data(), x, h, fftSize_);
    first = false;
  }
  return !first;
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
