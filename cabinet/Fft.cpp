#include "cabinet/Fft.h"

#include "cabinet/CpuFeatures.h"
#include "cabinet/FftAvx2.h"
#include "cabinet/FftOps.h"
#include "cabinet/FftRoutines.h"
#include "cabinet/FftTables.h"

namespace {

#if defined(__SSE2__)
using BaselineKit = split_radix::Kit<Sse2ComplexOps>;
#else
using BaselineKit = split_radix::Kit<PlainComplexOps>;
#endif
using PlainKit = split_radix::Kit<PlainComplexOps>;

// Index into the routine tables, or -1 for an unsupported size.
int SizeIndex(int n, int smallest) {
  if (n < smallest || n > kFftMaxSize || (n & (n - 1)) != 0) return -1;
  int index = 0;
  while ((2 << index) < n) ++index;
  return index;
}

template <class K>
void Run(double* data, int n, int inverse) {
  using Routines = fft_routines::Routines<K>;
  const int index = SizeIndex(n, kFftMinSize);
  if (index < 0) return;
  fft_tables::Fill();
  (inverse ? Routines::kInverse : Routines::kForward)[index](data);
}

template <class K>
void RunPaddedReal(const double* samples, double* spectrum, int n) {
  const int index = SizeIndex(n, kFftMinPaddedSize);
  if (index < 0) return;
  fft_tables::Fill();
  fft_routines::Routines<K>::kPaddedReal[index](samples, spectrum);
}

}  // namespace

void Fft(double* data, int n, int inverse) {
  if (CpuHasAvx2()) {
    const int index = SizeIndex(n, kFftMinSize);
    if (index < 0) return;
    fft_tables::Fill();
    FftAvx2(data, index, inverse);
  } else {
    Run<BaselineKit>(data, n, inverse);
  }
}

void FftPlain(double* data, int n, int inverse) { Run<PlainKit>(data, n, inverse); }

void FftBaseline(double* data, int n, int inverse) { Run<BaselineKit>(data, n, inverse); }

void FftPaddedReal(const double* samples, double* spectrum, int n) {
  if (CpuHasAvx2()) {
    const int index = SizeIndex(n, kFftMinPaddedSize);
    if (index < 0) return;
    fft_tables::Fill();
    FftPaddedRealAvx2(samples, spectrum, index);
  } else {
    RunPaddedReal<BaselineKit>(samples, spectrum, n);
  }
}

void FftPaddedRealPlain(const double* samples, double* spectrum, int n) {
  RunPaddedReal<PlainKit>(samples, spectrum, n);
}

void FftSplitPass(double* data, int n, int inverse) {
  const int index = SizeIndex(n, kFftMinPaddedSize);
  if (index < 0) return;
  fft_tables::Fill();
  if (CpuHasAvx2()) {
    FftSplitPassAvx2(data, index, inverse);
  } else {
    using Routines = fft_routines::Routines<BaselineKit>;
    (inverse ? Routines::kInversePass : Routines::kForwardPass)[index](data);
  }
}

void FftPaddedRealSplitPass(const double* samples, double* spectrum, int n) {
  const int index = SizeIndex(n, kFftMinPaddedSize);
  if (index < 0) return;
  fft_tables::Fill();
  if (CpuHasAvx2())
    FftPaddedRealSplitPassAvx2(samples, spectrum, index);
  else
    fft_routines::Routines<BaselineKit>::kPaddedRealPass[index](samples, spectrum);
}

void InitFftTables() { fft_tables::Fill(); }

int FftBinAt(int n, int position) {
  if (n <= 2) return position;
  const int half = n / 2, quarter = n / 4;
  if (position < half) return 2 * FftBinAt(half, position);
  if (position < half + quarter) return 4 * FftBinAt(quarter, position - half) + 1;
  return (4 * FftBinAt(quarter, position - half - quarter) - 1 + n) % n;
}
