// The convolver's inner loops. Each has a baseline version and an AVX2 one chosen at run
// time; both perform the same operations on each output value, so results do not depend
// on the processor.
#pragma once

// work[i] = sum over p < pairs of x[p][i] * h[p][i] for n complex values (interleaved
// re, im), products and sums in double with h widened from float, added in order of p.
// pairs >= 1.
void AccumulateSpectra(double* work, const double* const* x, const float* const* h, int pairs, int n);
void AccumulateSpectraBaseline(double* work, const double* const* x, const float* const* h, int pairs, int n);

// out[t] = sum over j < taps of s[t + j] * h[j] for t < count: even taps and odd taps
// summed separately (each in order of j) and then added, so that many sums are in flight.
void DirectFir(const double* s, const double* h, int taps, double* out, int count);
void DirectFirBaseline(const double* s, const double* h, int taps, double* out, int count);

// One output of DirectFir, for the outputs that do not fill a vector block.
inline double DirectFirAt(const double* s, const double* h, int taps) {
  double even = 0.0, odd = 0.0;
  int j = 0;
  for (; j + 1 < taps; j += 2) {
    even += s[j] * h[j];
    odd += s[j + 1] * h[j + 1];
  }
  if (j < taps) even += s[j] * h[j];
  return even + odd;
}

// The AVX2 versions; call only when CpuHasAvx2().
void AccumulateSpectraAvx2(double* work, const double* const* x, const float* const* h, int pairs, int n);
void DirectFirAvx2(const double* s, const double* h, int taps, double* out, int count);
