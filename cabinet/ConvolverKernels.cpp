#include "cabinet/ConvolverKernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cabinet/CpuFeatures.h"

namespace {

#if defined(__SSE2__)
// Eight outputs at a time: four registers of two, each with an even and an odd sum.
void DirectFirBlocks(const double* s, const double* h, int taps, double* out, int blocks) {
  constexpr int kRegs = 4;
  for (int b = 0; b < blocks; ++b) {
    const double* p = s + 8 * b;
    __m128d even[kRegs], odd[kRegs];
    for (int r = 0; r < kRegs; ++r) even[r] = odd[r] = _mm_setzero_pd();
    int j = 0;
    for (; j + 1 < taps; j += 2) {
      const __m128d he = _mm_set1_pd(h[j]), ho = _mm_set1_pd(h[j + 1]);
      for (int r = 0; r < kRegs; ++r) {
        even[r] = _mm_add_pd(even[r], _mm_mul_pd(_mm_loadu_pd(p + 2 * r + j), he));
        odd[r] = _mm_add_pd(odd[r], _mm_mul_pd(_mm_loadu_pd(p + 2 * r + j + 1), ho));
      }
    }
    if (j < taps) {
      const __m128d he = _mm_set1_pd(h[j]);
      for (int r = 0; r < kRegs; ++r) even[r] = _mm_add_pd(even[r], _mm_mul_pd(_mm_loadu_pd(p + 2 * r + j), he));
    }
    for (int r = 0; r < kRegs; ++r) _mm_storeu_pd(out + 8 * b + 2 * r, _mm_add_pd(even[r], odd[r]));
  }
}
constexpr int kFirBlock = 8;
#else
void DirectFirBlocks(const double*, const double*, int, double*, int) {}
constexpr int kFirBlock = 1 << 30;
#endif

}  // namespace

void AccumulateSpectraBaseline(double* work, const double* const* x, const float* const* h, int pairs, int n) {
#if defined(__SSE2__)
  const __m128d negateRe = _mm_set_pd(0.0, -0.0);
  for (int i = 0; i < 2 * n; i += 2) {
    __m128d sum = _mm_setzero_pd();
    for (int p = 0; p < pairs; ++p) {
      const __m128d hv = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(h[p] + i))));
      const __m128d xv = _mm_loadu_pd(x[p] + i);
      const __m128d product = _mm_add_pd(_mm_mul_pd(xv, _mm_unpacklo_pd(hv, hv)),
                                         _mm_xor_pd(_mm_mul_pd(_mm_shuffle_pd(xv, xv, 1), _mm_unpackhi_pd(hv, hv)), negateRe));
      sum = p == 0 ? product : _mm_add_pd(sum, product);
    }
    _mm_storeu_pd(work + i, sum);
  }
#else
  for (int i = 0; i < 2 * n; i += 2) {
    double re = 0.0, im = 0.0;
    for (int p = 0; p < pairs; ++p) {
      const double xr = x[p][i], xi = x[p][i + 1];
      const double hr = h[p][i], hi = h[p][i + 1];
      const double productRe = xr * hr - xi * hi;
      const double productIm = xi * hr + xr * hi;
      re = p == 0 ? productRe : re + productRe;
      im = p == 0 ? productIm : im + productIm;
    }
    work[i] = re;
    work[i + 1] = im;
  }
#endif
}

void DirectFirBaseline(const double* s, const double* h, int taps, double* out, int count) {
  const int blocks = count / kFirBlock;
  DirectFirBlocks(s, h, taps, out, blocks);
  for (int t = blocks * kFirBlock; t < count; ++t) out[t] = DirectFirAt(s + t, h, taps);
}

void AccumulateSpectra(double* work, const double* const* x, const float* const* h, int pairs, int n) {
  if (CpuHasAvx2())
    AccumulateSpectraAvx2(work, x, h, pairs, n);
  else
    AccumulateSpectraBaseline(work, x, h, pairs, n);
}

void DirectFir(const double* s, const double* h, int taps, double* out, int count) {
  if (CpuHasAvx2())
    DirectFirAvx2(s, h, taps, out, count);
  else
    DirectFirBaseline(s, h, taps, out, count);
}
