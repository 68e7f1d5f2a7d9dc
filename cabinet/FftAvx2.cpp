// Everything up to the target pragma is compiled for the baseline, so that inline code the
// headers share with other files is never emitted with AVX instructions. The kit types live
// in an unnamed namespace, which keeps every routine instantiated here private to this file.
#include "cabinet/FftAvx2.h"

#include <array>
#include <type_traits>
#include <utility>

#include "cabinet/FftTables.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif
#include <immintrin.h>

#include "cabinet/FftRoutines.h"

namespace {

// One complex value per operand, with the same per-value operations as the plain kit:
// addsub computes (a.re - b.re, a.im + b.im), and x - y rounds like x + (-y).
struct OneOps {
  using V = __m128d;
  struct Twiddle {
    __m128d re, im;
  };

  static V Load(const double* p) { return _mm_loadu_pd(p); }
  static void Store(double* p, V v) { _mm_storeu_pd(p, v); }
  static Twiddle LoadTwiddle(const double* p) { return {_mm_loaddup_pd(p), _mm_loaddup_pd(p + 1)}; }
  static Twiddle LoadTwiddleSwapped(const double* p) { return {_mm_loaddup_pd(p + 1), _mm_loaddup_pd(p)}; }

  static V Add(V a, V b) { return _mm_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm_sub_pd(a, b); }
  static V AddI(V a, V b) { return _mm_addsub_pd(a, Swap(b)); }
  static V SubI(V a, V b) { return _mm_add_pd(a, _mm_xor_pd(Swap(b), NegateIm())); }
  static V Mul(V a, Twiddle w) { return _mm_addsub_pd(_mm_mul_pd(a, w.re), _mm_mul_pd(Swap(a), w.im)); }
  static V MulConj(V a, Twiddle w) {
    return _mm_add_pd(_mm_mul_pd(a, w.re), _mm_xor_pd(_mm_mul_pd(Swap(a), w.im), NegateIm()));
  }
  static V MulSqrtHalf(V a, double c) { return _mm_mul_pd(_mm_addsub_pd(a, Swap(a)), _mm_set1_pd(c)); }
  static V MulConjSqrtHalf(V a, double c) {
    return _mm_mul_pd(_mm_add_pd(a, _mm_xor_pd(Swap(a), NegateIm())), _mm_set1_pd(c));
  }

 private:
  static V Swap(V a) { return _mm_permute_pd(a, 1); }
  static V NegateIm() { return _mm_set_pd(-0.0, 0.0); }
};

// Two neighbouring complex values per operand (element indices k and k + 1).
struct TwoOps {
  using V = __m256d;
  struct Twiddle {
    __m256d re, im, negatedIm;  // re and im broadcast within each value
  };

  static V Load(const double* p) { return _mm256_loadu_pd(p); }
  static void Store(double* p, V v) { _mm256_storeu_pd(p, v); }
  // Table entries for k and k + 1, stored in that order at p.
  static Twiddle LoadTwiddlePair(const double* p) { return Spread(_mm256_loadu_pd(p)); }
  // Entries for k + 1 and k stored in that order at p, each with cos and sin exchanged.
  static Twiddle LoadTwiddlePairSwapped(const double* p) {
    const __m256d entries = _mm256_permute2f128_pd(_mm256_loadu_pd(p), _mm256_loadu_pd(p), 1);
    return Spread(_mm256_permute_pd(entries, 0x5));
  }

  // The twiddle 1 for element k = 0 and table entry 0 (at p) for k = 1.
  static Twiddle LoadTwiddleAfterOne(const double* p) {
    return Spread(_mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_set_pd(0.0, 1.0)), _mm_loadu_pd(p), 1));
  }
  // The first value of a, the second of b.
  static V KeepFirst(V b, V a) { return _mm256_blend_pd(b, a, 0x3); }

  static V Add(V a, V b) { return _mm256_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm256_sub_pd(a, b); }
  static V AddI(V a, V b) { return _mm256_addsub_pd(a, Swap(b)); }
  static V SubI(V a, V b) { return _mm256_add_pd(a, _mm256_xor_pd(Swap(b), NegateIm())); }
  static V Mul(V a, const Twiddle& w) { return _mm256_addsub_pd(_mm256_mul_pd(a, w.re), _mm256_mul_pd(Swap(a), w.im)); }
  static V MulConj(V a, const Twiddle& w) {
    return _mm256_addsub_pd(_mm256_mul_pd(a, w.re), _mm256_mul_pd(Swap(a), w.negatedIm));
  }

 private:
  static Twiddle Spread(__m256d entries) {
    const __m256d im = _mm256_permute_pd(entries, 0xF);
    return {_mm256_movedup_pd(entries), im, _mm256_xor_pd(im, _mm256_set1_pd(-0.0))};
  }
  static V Swap(V a) { return _mm256_permute_pd(a, 0x5); }
  static V NegateIm() { return _mm256_set_pd(-0.0, 0.0, -0.0, 0.0); }
};

using Avx2Kit = split_radix::Kit<OneOps, TwoOps>;
using Routines = fft_routines::Routines<Avx2Kit>;

}  // namespace

void FftAvx2(double* data, int sizeIndex, int inverse) {
  (inverse ? Routines::kInverse : Routines::kForward)[sizeIndex](data);
}

void FftPaddedRealAvx2(const double* samples, double* spectrum, int sizeIndex) {
  Routines::kPaddedReal[sizeIndex](samples, spectrum);
}

void FftSplitPassAvx2(double* data, int sizeIndex, int inverse) {
  (inverse ? Routines::kInversePass : Routines::kForwardPass)[sizeIndex](data);
}

void FftPaddedRealSplitPassAvx2(const double* samples, double* spectrum, int sizeIndex) {
  Routines::kPaddedRealPass[sizeIndex](samples, spectrum);
}

#if defined(__clang__)
#pragma clang attribute pop
#endif
