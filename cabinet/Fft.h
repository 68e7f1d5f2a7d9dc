// In-place complex FFT of power-of-two sizes 2 to 32768 on interleaved doubles
// (real, imaginary). Split-radix, unnormalised, and left in its own scrambled bin order:
// position p of a forward result holds bin FftBinAt(n, p), and the inverse takes that same
// order, so forward, element-wise product and inverse need no reordering.
#pragma once

constexpr int kFftMinSize = 2;
constexpr int kFftMaxSize = 32768;
constexpr int kFftMinPaddedSize = 4;

// Forward (inverse == 0): X[m] = sum x[j] e^(+2 pi i j m / n), scrambled output.
// Inverse: x[j] = sum X[m] e^(-2 pi i j m / n) from scrambled input to natural order.
// Sizes other than the powers of two from 2 to 32768 leave data unchanged.
// Uses AVX2 where the processor has it, else SSE2; no allocation.
void Fft(double* data, int n, int inverse);

// The same transform in plain scalar arithmetic, and with the x86-64 baseline (SSE2) that
// Fft falls back to without AVX2; results are identical to Fft's.
void FftPlain(double* data, int n, int inverse);
void FftBaseline(double* data, int n, int inverse);

// The forward transform of the n complex values (samples[i], 0) for i < n/2 followed by
// n/2 zeros, written to spectrum (2n doubles): the same spectrum as Fft of that signal,
// computed without the work the zeros make trivial (the first pass reduces to spreading).
// Sizes 4 to 32768; others leave spectrum unchanged.
void FftPaddedReal(const double* samples, double* spectrum, int n);
void FftPaddedRealPlain(const double* samples, double* spectrum, int n);

// The transforms in parts, for callers that spread one over several calls. A forward
// transform of size n (4 to 32768) equals FftSplitPass(data, n, 0) followed by the three
// independent sub-transforms of FftSubTransform (forward, any order); an inverse equals the
// three sub-transforms (inverse) followed by FftSplitPass(data, n, 1); FftPaddedReal equals
// FftPaddedRealSplitPass followed by the forward sub-transforms. Results are identical to
// the whole transforms'. Other sizes leave data unchanged.
void FftSplitPass(double* data, int n, int inverse);
void FftPaddedRealSplitPass(const double* samples, double* spectrum, int n);

struct FftPart {
  int offset;  // in doubles from the start of the data
  int size;
};
constexpr int kFftSubTransforms = 3;
constexpr FftPart FftSubTransform(int n, int index) {
  return index == 0 ? FftPart{n, n / 4} : index == 1 ? FftPart{3 * n / 2, n / 4} : FftPart{0, n / 2};
}

// Fills the shared twiddle tables once (thread-safe). Fft calls it too, but callers that
// must not compute on the audio thread call it ahead, when they set up.
void InitFftTables();

// The bin held at position p of a forward transform of size n (the scrambled order).
int FftBinAt(int n, int position);
