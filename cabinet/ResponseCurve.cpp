#include "cabinet/ResponseCurve.h"

#include <algorithm>
#include <cmath>

#include "cabinet/Fft.h"

namespace {

constexpr int kHalf = kResponseCurveSamples / 2;
constexpr double kLowestHz = 20.0;
constexpr double kDecadesOfOctaves = 1024.0;  // 20 Hz .. 20480 Hz
constexpr double kDisplayRateHz = 44100.0;    // the axis assumes this rate, whatever the host's
constexpr double kTopDb = 40.0;
constexpr double kRangeDb = 120.0;
constexpr double kFloorMagnitude = 1e-5;
constexpr int kGuardEntries = 3;  // zeros past the end for the interpolation's look-ahead

double CatmullRom(const double* y, int j, double t) {
  const int a = std::max(j, 1);
  const double y0 = y[a - 1], y1 = y[a], y2 = y[a + 1], y3 = y[a + 2];
  return ((((y1 - y2) * 3.0 - y0 + y3) * 0.5 * t + (y2 * 2.0 + y0 - (y1 * 5.0 + y3) * 0.5)) * t +
          (y2 - y0) * 0.5) * t + y1;
}

// |X[k]| in natural bin order for k < N/2, zero beyond; returns the largest magnitude.
double MagnitudeSpectrum(const CurveSamples& samples, std::vector<double>& magnitude) {
  std::vector<double> spectrum(2 * kResponseCurveSamples, 0.0);
  for (int i = 0; i < kResponseCurveSamples; ++i) spectrum[2 * i] = samples[i];
  Fft(spectrum.data(), kResponseCurveSamples, 0);
  magnitude.assign(kResponseCurveSamples + kGuardEntries, 0.0);
  double peak = 0.0;
  for (int p = 0; p < kResponseCurveSamples; ++p) {
    const int bin = FftBinAt(kResponseCurveSamples, p);
    if (bin >= kHalf) continue;
    // Not std::hypot: a display curve needs no overflow guard, and the Linux binaries would
    // then need a newer glibc (hypot was versioned anew in 2.35).
    const double re = spectrum[2 * p], im = spectrum[2 * p + 1];
    magnitude[bin] = std::sqrt(re * re + im * im);
    peak = std::max(peak, magnitude[bin]);
  }
  return peak;
}

// The magnitudes resampled onto a logarithmic frequency axis; zero beyond N/2.
std::vector<double> LogFrequencyMagnitudes(const std::vector<double>& magnitude) {
  std::vector<double> g(kHalf + kGuardEntries, 0.0);
  const double logLowest = std::log10(kLowestHz), logSpan = std::log10(kDecadesOfOctaves);
  for (int i = 0; i < kHalf; ++i) {
    const double hz = std::pow(10.0, static_cast<double>(i) / kHalf * logSpan + logLowest);
    const double x = hz * kHalf / (kDisplayRateHz * 0.5);
    const int j = static_cast<int>(x);
    g[i] = CatmullRom(magnitude.data(), j, x - j);
  }
  return g;
}

}  // namespace

CurveSamples CurveSamplesOf(const std::vector<double>& response) {
  CurveSamples samples{};
  std::copy_n(response.begin(), std::min<size_t>(response.size(), kResponseCurveSamples), samples.begin());
  return samples;
}

double ComputeResponseCurve(const CurveSamples& samples, int width, int height, double* columnTop) {
  std::vector<double> magnitude;
  const double peak = MagnitudeSpectrum(samples, magnitude);
  const std::vector<double> g = LogFrequencyMagnitudes(magnitude);
  const double step = static_cast<double>(kHalf) / std::max(width, 1);
  double q = 0.0;
  for (int c = 0; c < width; ++c) {
    const int j = static_cast<int>(q);
    const double v = std::max(CatmullRom(g.data(), j, q - j), kFloorMagnitude);
    const double y = (kTopDb - 20.0 * std::log10(v)) * height / kRangeDb;
    columnTop[c] = std::clamp(y, 0.0, static_cast<double>(height));
    q += step;
  }
  return peak > 0.0 ? 1.0 / peak : 0.0;
}
