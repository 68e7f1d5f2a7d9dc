// The split-radix transform as one routine per size, composed at compile time so that the
// recursion costs no run-time size tests. Forward is decimation in frequency (pass, two
// quarter transforms, half transform); inverse mirrors it in time.
#pragma once

#include "cabinet/FftTables.h"

namespace split_radix {

template <class Ops, bool kInverse>
struct Butterfly {
  using V = typename Ops::V;
  using Twiddle = typename Ops::Twiddle;

  // k = 0: the twiddle is 1, so no multiplication.
  static void Untwiddled(double* p0, double* p1, double* p2, double* p3) {
    if constexpr (kInverse) {
      Combine(p0, p1, p2, p3, Ops::Load(p2), Ops::Load(p3));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, u);
      Ops::Store(p3, v);
    }
  }

  static void Twiddled(double* p0, double* p1, double* p2, double* p3, Twiddle w) {
    if constexpr (kInverse) {
      Combine(p0, p1, p2, p3, Ops::MulConj(Ops::Load(p2), w), Ops::Mul(Ops::Load(p3), w));
    } else {
      V u, v;
      Split(p0, p1, p2, p3, u, v);
      Ops::Store(p2, Ops::Mul(u, w));
      Ops::Store(p3, Ops::MulConj(v, w));
    }
  }

  // k = N/8: the twiddle is (sqrt 1/2, sqrt 1/2).
  static void Diagonal(double* p0, double* p1, double* p2, double* p3, double sqrtHalf) {
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
  static void Split(double* p0, double* p1, double* p2, double* p3, V& u, V& v) {
    const V x0 = Ops::Load(p0), x1 = Ops::Load(p1), x2 = Ops::Load(p2), x3 = Ops::Load(p3);
    const V d02 = Ops::Sub(x0, x2);
    const V id13 = Ops::MulI(Ops::Sub(x1, x3));
    Ops::Store(p0, Ops::Add(x0, x2));
    Ops::Store(p1, Ops::Add(x1, x3));
    u = Ops::Add(d02, id13);
    v = Ops::Sub(d02, id13);
  }

  // Inverse: merges the twiddled quarters b2, b3 back into all four quarters.
  static void Combine(double* p0, double* p1, double* p2, double* p3, V b2, V b3) {
    const V x0 = Ops::Load(p0), x1 = Ops::Load(p1);
    const V s = Ops::Add(b2, b3);
    const V id = Ops::MulI(Ops::Sub(b2, b3));
    Ops::Store(p0, Ops::Add(x0, s));
    Ops::Store(p2, Ops::Sub(x0, s));
    Ops::Store(p1, Ops::Sub(x1, id));
    Ops::Store(p3, Ops::Add(x1, id));
  }
};

// One pass over the four quarters of a size-N signal (a points at 2N doubles).
template <class Ops, int N, bool kInverse>
inline void Pass(double* a) {
  using B = Butterfly<Ops, kInverse>;
  constexpr int kQuarter = N / 4;
  constexpr int kEighth = N / 8;
  double* a0 = a;
  double* a1 = a + 2 * kQuarter;
  double* a2 = a + 4 * kQuarter;
  double* a3 = a + 6 * kQuarter;
  B::Untwiddled(a0, a1, a2, a3);
  if constexpr (N == 8) {
    B::Diagonal(a0 + 2, a1 + 2, a2 + 2, a3 + 2, fft_tables::SqrtHalf());
  } else if constexpr (N >= 16 && N < fft_tables::kFirstEighthTableSize) {
    const double* w = fft_tables::Twiddles(N);  // entry k-1 serves index k
    for (int k = 1; k < kQuarter; ++k) {
      const int i = 2 * k;
      B::Twiddled(a0 + i, a1 + i, a2 + i, a3 + i, Ops::LoadTwiddle(w + i - 2));
    }
  } else if constexpr (N >= fft_tables::kFirstEighthTableSize) {
    const double* w = fft_tables::Twiddles(N);
    for (int k = 1; k < kEighth; ++k) {
      const int i = 2 * k;
      B::Twiddled(a0 + i, a1 + i, a2 + i, a3 + i, Ops::LoadTwiddle(w + i - 2));
    }
    const int d = 2 * kEighth;
    B::Diagonal(a0 + d, a1 + d, a2 + d, a3 + d, fft_tables::SqrtHalf());
    for (int k = kEighth + 1; k < kQuarter; ++k) {
      const int i = 2 * k;
      B::Twiddled(a0 + i, a1 + i, a2 + i, a3 + i, Ops::LoadTwiddleSwapped(w + 2 * (kQuarter - k - 1)));
    }
  }
}

template <class Ops>
inline void Butterfly2(double* a) {
  const auto x0 = Ops::Load(a), x1 = Ops::Load(a + 2);
  Ops::Store(a, Ops::Add(x0, x1));
  Ops::Store(a + 2, Ops::Sub(x0, x1));
}

template <class Ops, int N>
void Forward(double* a) {
  if constexpr (N == 2) {
    Butterfly2<Ops>(a);
  } else if constexpr (N >= 4) {
    Pass<Ops, N, false>(a);
    Forward<Ops, N / 4>(a + N);
    Forward<Ops, N / 4>(a + 3 * N / 2);
    Forward<Ops, N / 2>(a);
  }
}

template <class Ops, int N>
void Inverse(double* a) {
  if constexpr (N == 2) {
    Butterfly2<Ops>(a);
  } else if constexpr (N >= 4) {
    Inverse<Ops, N / 2>(a);
    Inverse<Ops, N / 4>(a + N);
    Inverse<Ops, N / 4>(a + 3 * N / 2);
    Pass<Ops, N, true>(a);
  }
}

}  // namespace split_radix
