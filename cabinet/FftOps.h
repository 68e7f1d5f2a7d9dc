// Complex arithmetic for the split-radix passes, one complex value per operand. The plain
// and SSE2 variants perform the same IEEE operations on each value in the same order, so
// both give bit-identical transforms. (The AVX2 variants, two values per operand, live in
// their own translation unit and keep the same per-value operations.)
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct PlainComplexOps {
  struct V {
    double re, im;
  };
  struct Twiddle {
    double re, im;
  };

  static V Load(const double* p) { return {p[0], p[1]}; }
  static void Store(double* p, V v) {
    p[0] = v.re;
    p[1] = v.im;
  }
  static Twiddle LoadTwiddle(const double* p) { return {p[0], p[1]}; }
  // The table entry with cos and sin exchanged (the mirrored angle of the quarter circle).
  static Twiddle LoadTwiddleSwapped(const double* p) { return {p[1], p[0]}; }

  static V Add(V a, V b) { return {a.re + b.re, a.im + b.im}; }
  static V Sub(V a, V b) { return {a.re - b.re, a.im - b.im}; }
  // a + i*b and a - i*b.
  static V AddI(V a, V b) { return {a.re - b.im, a.im + b.re}; }
  static V SubI(V a, V b) { return {a.re + b.im, a.im - b.re}; }
  static V Mul(V a, Twiddle w) { return {a.re * w.re - a.im * w.im, a.im * w.re + a.re * w.im}; }
  static V MulConj(V a, Twiddle w) {
    return {a.re * w.re + a.im * w.im, a.im * w.re - a.re * w.im};
  }
  // a * (c + ic) and a * (c - ic) with c = sqrt(1/2), as a sum and difference times c.
  static V MulSqrtHalf(V a, double c) { return {(a.re - a.im) * c, (a.im + a.re) * c}; }
  static V MulConjSqrtHalf(V a, double c) { return {(a.re + a.im) * c, (a.im - a.re) * c}; }
};

#if defined(__SSE2__)
// x - y and x + (-y) round identically, so the sign flips below match the plain variant.
struct Sse2ComplexOps {
  using V = __m128d;  // (re, im)
  struct Twiddle {
    __m128d re, im;  // each broadcast to both lanes
  };

  static V Load(const double* p) { return _mm_loadu_pd(p); }
  static void Store(double* p, V v) { _mm_storeu_pd(p, v); }
  static Twiddle LoadTwiddle(const double* p) { return {_mm_load1_pd(p), _mm_load1_pd(p + 1)}; }
  static Twiddle LoadTwiddleSwapped(const double* p) {
    return {_mm_load1_pd(p + 1), _mm_load1_pd(p)};
  }

  static V Add(V a, V b) { return _mm_add_pd(a, b); }
  static V Sub(V a, V b) { return _mm_sub_pd(a, b); }
  static V AddI(V a, V b) { return _mm_add_pd(a, _mm_xor_pd(Swap(b), NegateRe())); }
  static V SubI(V a, V b) { return _mm_add_pd(a, _mm_xor_pd(Swap(b), NegateIm())); }
  static V Mul(V a, Twiddle w) {
    return _mm_add_pd(_mm_mul_pd(a, w.re), _mm_xor_pd(_mm_mul_pd(Swap(a), w.im), NegateRe()));
  }
  static V MulConj(V a, Twiddle w) {
    return _mm_add_pd(_mm_mul_pd(a, w.re), _mm_xor_pd(_mm_mul_pd(Swap(a), w.im), NegateIm()));
  }
  static V MulSqrtHalf(V a, double c) {
    return _mm_mul_pd(_mm_add_pd(a, _mm_xor_pd(Swap(a), NegateRe())), _mm_set1_pd(c));
  }
  static V MulConjSqrtHalf(V a, double c) {
    return _mm_mul_pd(_mm_add_pd(a, _mm_xor_pd(Swap(a), NegateIm())), _mm_set1_pd(c));
  }

 private:
  static V Swap(V a) { return _mm_shuffle_pd(a, a, 1); }
  static V NegateRe() { return _mm_set_pd(0.0, -0.0); }
  static V NegateIm() { return _mm_set_pd(-0.0, 0.0); }
};
#endif
