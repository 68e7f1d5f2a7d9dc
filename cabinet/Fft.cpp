#include "cabinet/Fft.h"

#include <array>

#include "cabinet/FftOps.h"
#include "cabinet/FftTables.h"
#include "cabinet/SplitRadix.h"

namespace {

using Transform = void (*)(double*);
constexpr int kSizeCount = 15;  // 2^1 .. 2^15

template <class Ops, bool kInverse>
constexpr std::array<Transform, kSizeCount> MakeTransforms() {
  using namespace split_radix;
  if constexpr (kInverse) {
    return {Inverse<Ops, 2>,    Inverse<Ops, 4>,    Inverse<Ops, 8>,     Inverse<Ops, 16>,
            Inverse<Ops, 32>,   Inverse<Ops, 64>,   Inverse<Ops, 128>,   Inverse<Ops, 256>,
            Inverse<Ops, 512>,  Inverse<Ops, 1024>, Inverse<Ops, 2048>,  Inverse<Ops, 4096>,
            Inverse<Ops, 8192>, Inverse<Ops, 16384>, Inverse<Ops, 32768>};
  } else {
    return {Forward<Ops, 2>,    Forward<Ops, 4>,    Forward<Ops, 8>,     Forward<Ops, 16>,
            Forward<Ops, 32>,   Forward<Ops, 64>,   Forward<Ops, 128>,   Forward<Ops, 256>,
            Forward<Ops, 512>,  Forward<Ops, 1024>, Forward<Ops, 2048>,  Forward<Ops, 4096>,
            Forward<Ops, 8192>, Forward<Ops, 16384>, Forward<Ops, 32768>};
  }
}

// Index into the transform tables, or -1 for an unsupported size.
int SizeIndex(int n) {
  if (n < kFftMinSize || n > kFftMaxSize || (n & (n - 1)) != 0) return -1;
  int index = 0;
  while ((2 << index) < n) ++index;
  return index;
}

template <class Ops>
void Run(double* data, int n, int inverse) {
  static constexpr auto kForward = MakeTransforms<Ops, false>();
  static constexpr auto kInverse = MakeTransforms<Ops, true>();
  const int index = SizeIndex(n);
  if (index < 0) return;
  fft_tables::Fill();
  (inverse ? kInverse : kForward)[index](data);
}

}  // namespace

void Fft(double* data, int n, int inverse) {
#if defined(__SSE2__)
  Run<Sse2ComplexOps>(data, n, inverse);
#else
  Run<PlainComplexOps>(data, n, inverse);
#endif
}

void FftPlain(double* data, int n, int inverse) { Run<PlainComplexOps>(data, n, inverse); }

void InitFftTables() { fft_tables::Fill(); }

int FftBinAt(int n, int position) {
  if (n <= 2) return position;
  const int half = n / 2, quarter = n / 4;
  if (position < half) return 2 * FftBinAt(half, position);
  if (position < half + quarter) return 4 * FftBinAt(quarter, position - half) + 1;
  return (4 * FftBinAt(quarter, position - half - quarter) - 1 + n) % n;
}
