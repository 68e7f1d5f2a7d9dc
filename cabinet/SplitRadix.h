// The split-radix transform as one routine per size, composed at compile time so that the
// recursion costs no run-time size tests. Forward is decimation in frequency (pass, two
// quarter transforms, half transform); inverse mirrors it in time.
//
// A kit names the complex arithmetic: One works on one complex value per operand, Two (or
// void) on two neighbouring values. Both perform the same operations on each value, so a
// kit with Two gives bit-identical results to one without.
#pragma once

#include <type_traits>

#include "cabinet/FftTables.h"

#define VOLTREX_FFT_INLINE inline __attribute__((always_inline))

namespace split_radix {

template <class OneOps, class TwoOps = void>
struct Kit {
  using One = OneOps;
  using Two = TwoOps;
};

// The complete butterfly of one element index k across the four quarters.
template <class Ops, bool kInverse>
struct Butterfly {
  using V = typename Ops::V;
  using Twiddle = typename Ops::Twiddle;

  // k = 0: the twiddle is 1, so no multiplication.
  static VOLTREX_FFT_INLINE void Untwiddled(double* p0, double* p1, double* p2, double* p3) {
    if constexpr (kInverse) {
      Combine(p0, p1, p2, p3, Ops::Load(p2), Ops::Load(p3));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, u);
      Ops::Store(p3, v);
    }
  }

  static VOLTREX_FFT_INLINE void Twiddled(double* p0, double* p1, double* p2, double* p3, Twiddle w) {
    if constexpr (kInverse) {
      Combine(p0, p1, p2, p3, Ops::MulConj(Ops::Load(p2), w), Ops::Mul(Ops::Load(p3), w));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, Ops::Mul(u, w));
      Ops::Store(p3, Ops::MulConj(v, w));
    }
  }

  // k = 0 and 1 as one pair: the products of k = 0 are discarded for the unmultiplied values.
  static VOLTREX_FFT_INLINE void FirstPair(double* p0, double* p1, double* p2, double* p3, Twiddle w) {
    if constexpr (kInverse) {
      const V x2 = Ops::Load(p2), x3 = Ops::Load(p3);
      Combine(p0, p1, p2, p3, Ops::KeepFirst(Ops::MulConj(x2, w), x2), Ops::KeepFirst(Ops::Mul(x3, w), x3));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, Ops::KeepFirst(Ops::Mul(u, w), u));
      Ops::Store(p3, Ops::KeepFirst(Ops::MulConj(v, w), v));
    }
  }

  // k = N/8: the twiddle is (sqrt 1/2, sqrt 1/2).
  static VOLTREX_FFT_INLINE void Diagonal(double* p0, double* p1, double* p2, double* p3, double sqrtHalf) {
    if constexpr (kInverse) {
      Combine(p0, p1, p2, p3, Ops::MulConjSqrtHalf(Ops::Load(p2), sqrtHalf),
              Ops::MulSqrtHalf(Ops::Load(p3), sqrtHalf));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, Ops::MulSqrtHalf(u, sqrtHalf));
      Ops::Store(p3, Ops::MulConjSqrtHalf(v, sqrtHalf));
    }
  }

 private:
  // Forward: a0 += a2, a1 += a3; u and v are the odd-bin combinations before twiddling.
  static VOLTREX_FFT_INLINE void Split(double* p0, double* p1, double* p2, double* p3, V& u, V& v) {
    const V x0 = Ops::Load(p0), x1 = Ops::Load(p1), x2 = Ops::Load(p2), x3 = Ops::Load(p3);
    const V d02 = Ops::Sub(x0, x2);
    const V d13 = Ops::Sub(x1, x3);
    Ops::Store(p0, Ops::Add(x0, x2));
    Ops::Store(p1, Ops::Add(x1, x3));
    u = Ops::AddI(d02, d13);
    v = Ops::SubI(d02, d13);
  }

  // Inverse: merges the twiddled quarters b2, b3 back into all four quarters.
  static VOLTREX_FFT_INLINE void Combine(double* p0, double* p1, double* p2, double* p3, V b2, V b3) {
    const V x0 = Ops::Load(p0), x1 = Ops::Load(p1);
    const V s = Ops::Add(b2, b3);
    const V d = Ops::Sub(b2, b3);
    Ops::Store(p0, Ops::Add(x0, s));
    Ops::Store(p2, Ops::Sub(x0, s));
    Ops::Store(p1, Ops::SubI(x1, d));
    Ops::Store(p3, Ops::AddI(x1, d));
  }
};

// Only the twiddle products of a forward pass, for quarters a2 and a3 that already hold u
// and v (the first pass over a zero-padded real signal, where the sums are known).
template <class Ops, bool kInverse>
struct TwiddleOnly {
  static_assert(!kInverse);
  static VOLTREX_FFT_INLINE void Untwiddled(double*, double*, double*, double*) {}
  static VOLTREX_FFT_INLINE void Twiddled(double*, double*, double* p2, double* p3, typename Ops::Twiddle w) {
    Ops::Store(p2, Ops::Mul(Ops::Load(p2), w));
    Ops::Store(p3, Ops::MulConj(Ops::Load(p3), w));
  }
  static VOLTREX_FFT_INLINE void FirstPair(double*, double*, double* p2, double* p3, typename Ops::Twiddle w) {
    const typename Ops::V x2 = Ops::Load(p2), x3 = Ops::Load(p3);
    Ops::Store(p2, Ops::KeepFirst(Ops::Mul(x2, w), x2));
    Ops::Store(p3, Ops::KeepFirst(Ops::MulConj(x3, w), x3));
  }
  static VOLTREX_FFT_INLINE void Diagonal(double*, double*, double* p2, double* p3, double sqrtHalf) {
    Ops::Store(p2, Ops::MulSqrtHalf(Ops::Load(p2), sqrtHalf));
    Ops::Store(p3, Ops::MulConjSqrtHalf(Ops::Load(p3), sqrtHalf));
  }
};

// Butterflies kBegin .. kEnd-1 with table entry k-1 (or, swapped, entry quarter-k-1 with
// cos and sin exchanged): two at a time where the kit can, the odd one last.
template <class K, template <class, bool> class Fly, bool kInverse, bool kSwapped, int kQuarter, int kBegin, int kEnd>
VOLTREX_FFT_INLINE void TwiddledRun(double* a0, double* a1, double* a2, double* a3, const double* w) {
  using One = typename K::One;
  int k = kBegin;
  if constexpr (!std::is_void_v<typename K::Two>) {
    using Two = typename K::Two;
    for (; k + 1 < kEnd; k += 2) {
      const int i = 2 * k;
      const auto t = kSwapped ? Two::LoadTwiddlePairSwapped(w + 2 * (kQuarter - k - 2))
                              : Two::LoadTwiddlePair(w + i - 2);
      Fly<Two, kInverse>::Twiddled(a0 + i, a1 + i, a2 + i, a3 + i, t);
    }
  }
  for (; k < kEnd; ++k) {
    const int i = 2 * k;
    const auto t = kSwapped ? One::LoadTwiddleSwapped(w + 2 * (kQuarter - k - 1)) : One::LoadTwiddle(w + i - 2);
    Fly<One, kInverse>::Twiddled(a0 + i, a1 + i, a2 + i, a3 + i, t);
  }
}

// One pass over the four quarters of a size-N signal (a points at 2N doubles).
template <class K, int N, bool kInverse, template <class, bool> class Fly = Butterfly>
VOLTREX_FFT_INLINE void Pass(double* a) {
  using One = Fly<typename K::One, kInverse>;
  constexpr int kQuarter = N / 4;
  constexpr int kEighth = N / 8;
  double* a0 = a;
  double* a1 = a + 2 * kQuarter;
  double* a2 = a + 4 * kQuarter;
  double* a3 = a + 6 * kQuarter;
  constexpr bool kPairs = !std::is_void_v<typename K::Two>;
  // Element 0 needs no twiddle; with pairs it rides along with element 1.
  constexpr int kFirstRun = kPairs && N >= 16 ? 2 : 1;
  if constexpr (kFirstRun == 2) {
    using Two = typename K::Two;
    Fly<Two, kInverse>::FirstPair(a0, a1, a2, a3, Two::LoadTwiddleAfterOne(fft_tables::Twiddles(N)));
  } else {
    One::Untwiddled(a0, a1, a2, a3);
  }
  if constexpr (N == 8) {
    One::Diagonal(a0 + 2, a1 + 2, a2 + 2, a3 + 2, fft_tables::SqrtHalf());
  } else if constexpr (N >= 16 && N < fft_tables::kFirstEighthTableSize) {
    TwiddledRun<K, Fly, kInverse, false, kQuarter, kFirstRun, kQuarter>(a0, a1, a2, a3, fft_tables::Twiddles(N));
  } else if constexpr (N >= fft_tables::kFirstEighthTableSize) {
    const double* w = fft_tables::Twiddles(N);
    TwiddledRun<K, Fly, kInverse, false, kQuarter, kFirstRun, kEighth>(a0, a1, a2, a3, w);
    const int d = 2 * kEighth;
    One::Diagonal(a0 + d, a1 + d, a2 + d, a3 + d, fft_tables::SqrtHalf());
    TwiddledRun<K, Fly, kInverse, true, kQuarter, kEighth + 1, kQuarter>(a0, a1, a2, a3, w);
  }
}

template <class Ops>
VOLTREX_FFT_INLINE void Butterfly2(double* a) {
  const auto x0 = Ops::Load(a), x1 = Ops::Load(a + 2);
  Ops::Store(a, Ops::Add(x0, x1));
  Ops::Store(a + 2, Ops::Sub(x0, x1));
}

// Sizes up to this are inlined whole into their callers: calls would cost more than the
// work of such small transforms.
constexpr int kLargestInlinedSize = 32;

template <class K, int N>
void Forward(double* a);
template <class K, int N>
void Inverse(double* a);

// A sub-transform: inlined when small, otherwise a call to that size's routine.
template <class K, int N, bool kInverse>
VOLTREX_FFT_INLINE void Sub(double* a);

template <class K, int N>
VOLTREX_FFT_INLINE void ForwardBody(double* a) {
  if constexpr (N == 2) {
    Butterfly2<typename K::One>(a);
  } else if constexpr (N >= 4) {
    Pass<K, N, false>(a);
    Sub<K, N / 4, false>(a + N);
    Sub<K, N / 4, false>(a + 3 * N / 2);
    Sub<K, N / 2, false>(a);
  }
}

template <class K, int N>
VOLTREX_FFT_INLINE void InverseBody(double* a) {
  if constexpr (N == 2) {
    Butterfly2<typename K::One>(a);
  } else if constexpr (N >= 4) {
    Sub<K, N / 2, true>(a);
    Sub<K, N / 4, true>(a + N);
    Sub<K, N / 4, true>(a + 3 * N / 2);
    Pass<K, N, true>(a);
  }
}

template <class K, int N, bool kInverse>
VOLTREX_FFT_INLINE void Sub(double* a) {
  if constexpr (N > kLargestInlinedSize)
    kInverse ? Inverse<K, N>(a) : Forward<K, N>(a);
  else if constexpr (kInverse)
    InverseBody<K, N>(a);
  else
    ForwardBody<K, N>(a);
}

template <class K, int N>
void Forward(double* a) {
  ForwardBody<K, N>(a);
}

template <class K, int N>
void Inverse(double* a) {
  InverseBody<K, N>(a);
}

// The forward transform of the signal (x[i], 0) for i < N/2 and zeros beyond, written to a
// (N >= 4).
// Its first pass reduces to spreading: a0 and a1 are the samples, a2 and a3 hold
// u = x[k] + i x[k + N/4] and v = x[k] - i x[k + N/4] before their twiddles.
template <class K, int N>
void ForwardPaddedRealPass(const double* x, double* a);

template <class K, int N>
void ForwardPaddedReal(const double* x, double* a) {
  ForwardPaddedRealPass<K, N>(x, a);
  Sub<K, N / 4, false>(a + N);
  Sub<K, N / 4, false>(a + 3 * N / 2);
  Sub<K, N / 2, false>(a);
}

// The first pass of Forward and the last of Inverse on their own (N >= 4), for transforms
// run in parts: the three sub-transforms between are independent of one another.
template <class K, int N>
void ForwardPass(double* a) {
  Pass<K, N, false>(a);
}

template <class K, int N>
void InversePass(double* a) {
  Pass<K, N, true>(a);
}

// ForwardPaddedReal's spreading and first pass.
template <class K, int N>
void ForwardPaddedRealPass(const double* x, double* a) {
  constexpr int kQuarter = N / 4;
  double* a0 = a;
  double* a1 = a + 2 * kQuarter;
  double* a2 = a + 4 * kQuarter;
  double* a3 = a + 6 * kQuarter;
  for (int k = 0; k < kQuarter; ++k) {
    const double low = x[k], high = x[kQuarter + k];
    a0[2 * k] = low;
    a0[2 * k + 1] = 0.0;
    a1[2 * k] = high;
    a1[2 * k + 1] = 0.0;
    a2[2 * k] = low;
    a2[2 * k + 1] = high;
    a3[2 * k] = low;
    a3[2 * k + 1] = -high;
  }
  Pass<K, N, false, TwiddleOnly>(a);
}

}  // namespace split_radix

#undef VOLTREX_FFT_INLINE
