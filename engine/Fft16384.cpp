#include "engine/Fft16384.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr int kStages = 14;  // 2^14 = 16,384

// Radix-2 decimation-in-frequency butterflies; each stage advances its twiddle by a
// cosine/sine recurrence instead of calling sin and cos per butterfly group.
void Butterflies(double* re, double* im) {
  for (int span = kFft16384Size / 2; span >= 1; span /= 2) {
    const double step = -std::numbers::pi / span;
    const double stepCos = std::cos(step);
    const double stepSin = std::sin(step);
    double wr = 1.0;
    double wi = 0.0;
    for (int j = 0; j < span; ++j) {
      for (int i = j; i < kFft16384Size; i += 2 * span) {
        const int k = i + span;
        const double dr = re[i] - re[k];
        const double di = im[i] - im[k];
        re[i] += re[k];
        im[i] += im[k];
        re[k] = dr * wr - di * wi;
        im[k] = dr * wi + di * wr;
      }
      const double t = wr;
      wr = wr * stepCos - wi * stepSin;
      wi = wi * stepCos + t * stepSin;
    }
  }
}

int ReverseBits(int index) {
  int reversed = 0;
  for (int bit = 0; bit < kStages; ++bit) {
    reversed = (reversed << 1) | ((index >> bit) & 1);
  }
  return reversed;
}

}  // namespace

void Fft16384(double* re, double* im) {
  Butterflies(re, im);
  for (int i = 0; i < kFft16384Size; ++i) {
    const int j = ReverseBits(i);
    if (j > i) {
      std::swap(re[i], re[j]);
      std::swap(im[i], im[j]);
    }
  }
}
