#include "cabinet/FftTables.h"

#include <cmath>
#include <numbers>

namespace fft_tables {

double values[kTotalDoubles];

namespace {

bool FillOnce() {
  for (int n = kMinTableSize; n <= kMaxTableSize; n *= 2) {
    const double theta = 2.0 * std::numbers::pi / n;
    double* entry = values + OffsetOf(n);
    for (int k = 1; k <= EntryCount(n); ++k) {
      *entry++ = std::cos(k * theta);
      *entry++ = std::sin(k * theta);
    }
  }
  return true;
}

}  // namespace

void Fill() {
  // A function-local static runs its initialiser exactly once, even when two plug-in
  // instances load their first responses on different threads.
  static const bool filled = FillOnce();
  (void)filled;
}

}  // namespace fft_tables
