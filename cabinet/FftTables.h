// The twiddle tables shared by every FFT size: for N = 16 .. 32768, entry k-1 holds
// (cos k*theta, sin k*theta), theta = 2 pi / N, for k = 1 .. N/4-1 (N <= 512) or
// k = 1 .. N/8-1 (N >= 1024: the larger sizes use an eighth of the circle by symmetry).
#pragma once

namespace fft_tables {

constexpr int kMinTableSize = 16;
constexpr int kMaxTableSize = 32768;
constexpr int kFirstEighthTableSize = 1024;

constexpr int EntryCount(int n) { return n < kFirstEighthTableSize ? n / 4 - 1 : n / 8 - 1; }

// Offset of size n's table, in doubles, in the one array that holds them all.
constexpr int OffsetOf(int n) {
  int offset = 0;
  for (int size = kMinTableSize; size < n; size *= 2) offset += 2 * EntryCount(size);
  return offset;
}

constexpr int kTotalDoubles = OffsetOf(2 * kMaxTableSize);

// Written once by Fill, read-only afterwards.
extern double values[kTotalDoubles];

// Fills every table on its first call; later calls return at once. Thread-safe.
void Fill();

// Interleaved (cos, sin) pairs of size n; valid once Fill has run.
inline const double* Twiddles(int n) { return values + OffsetOf(n); }

// cos(pi/4) as the tables hold it (the cosine of entry 2 of the N = 16 table).
inline double SqrtHalf() { return values[OffsetOf(16) + 2]; }

}  // namespace fft_tables
