// Compiled for AVX2 by the pragma below, after every shared header (see FftAvx2.cpp).
#include "cabinet/ConvolverKernels.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif
#include <immintrin.h>

namespace {

constexpr int kFirRegs = 4;
constexpr int kFirBlock = 4 * kFirRegs;

// Sixteen outputs: four registers of four, each with an even and an odd sum.
void FirBlock(const double* p, const double* h, int taps, double* out) {
  __m256d even[kFirRegs], odd[kFirRegs];
  for (int r = 0; r < kFirRegs; ++r) even[r] = odd[r] = _mm256_setzero_pd();
  int j = 0;
  for (; j + 1 < taps; j += 2) {
    const __m256d he = _mm256_broadcast_sd(h + j), ho = _mm256_broadcast_sd(h + j + 1);
    for (int r = 0; r < kFirRegs; ++r) {
      even[r] = _mm256_add_pd(even[r], _mm256_mul_pd(_mm256_loadu_pd(p + 4 * r + j), he));
      odd[r] = _mm256_add_pd(odd[r], _mm256_mul_pd(_mm256_loadu_pd(p + 4 * r + j + 1), ho));
    }
  }
  if (j < taps) {
    const __m256d he = _mm256_broadcast_sd(h + j);
    for (int r = 0; r < kFirRegs; ++r)
      even[r] = _mm256_add_pd(even[r], _mm256_mul_pd(_mm256_loadu_pd(p + 4 * r + j), he));
  }
  for (int r = 0; r < kFirRegs; ++r) _mm256_storeu_pd(out + 4 * r, _mm256_add_pd(even[r], odd[r]));
}

// x * h for two complex values: (xr hr - xi hi, xi hr + xr hi) each, as the baseline.
__m256d Product(const double* x, const float* h) {
  const __m256d hv = _mm256_cvtps_pd(_mm_loadu_ps(h));
  const __m256d xv = _mm256_loadu_pd(x);
  return _mm256_addsub_pd(_mm256_mul_pd(xv, _mm256_movedup_pd(hv)),
                          _mm256_mul_pd(_mm256_permute_pd(xv, 0x5), _mm256_permute_pd(hv, 0xF)));
}

// The same for a single complex value.
__m128d ProductOfOne(const double* x, const float* h) {
  const __m128d hv = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(h))));
  const __m128d xv = _mm_loadu_pd(x);
  return _mm_addsub_pd(_mm_mul_pd(xv, _mm_movedup_pd(hv)), _mm_mul_pd(_mm_permute_pd(xv, 1), _mm_permute_pd(hv, 3)));
}

}  // namespace

void AccumulateSpectraAvx2(double* work, const double* const* x, const float* const* h, int pairs, int n) {
  int i = 0;
  for (; i + 4 <= 2 * n; i += 4) {
    __m256d sum = Product(x[0] + i, h[0] + i);
    for (int p = 1; p < pairs; ++p) sum = _mm256_add_pd(sum, Product(x[p] + i, h[p] + i));
    _mm256_storeu_pd(work + i, sum);
  }
  if (i < 2 * n) {
    __m128d sum = ProductOfOne(x[0] + i, h[0] + i);
    for (int p = 1; p < pairs; ++p) sum = _mm_add_pd(sum, ProductOfOne(x[p] + i, h[p] + i));
    _mm_storeu_pd(work + i, sum);
  }
}

void DirectFirAvx2(const double* s, const double* h, int taps, double* out, int count) {
  int t = 0;
  for (; t + kFirBlock <= count; t += kFirBlock) FirBlock(s + t, h, taps, out + t);
  for (; t < count; ++t) out[t] = DirectFirAt(s + t, h, taps);
}

#if defined(__clang__)
#pragma clang attribute pop
#endif
