#include "cabinet/Resampler.h"

#include <algorithm>
#include <cmath>

bool Resample(const std::vector<double>& in, double fromRate, double toRate, std::vector<double>& out) {
  if (!(fromRate > 0.0) || !(toRate > 0.0)) return false;
  const double ratio = fromRate / toRate;
  const int inLength = static_cast<int>(in.size());
  const double outLength = ratio == 1.0 ? inLength : std::floor(inLength / ratio);
  if (outLength > kMaxResponseSamples) return false;
  if (ratio == 1.0) {
    out = in;
    return true;
  }
  out.resize(static_cast<size_t>(outLength));
  double position = 0.0;
  for (double& sample : out) {
    const int k = std::min(static_cast<int>(position), inLength - 1);
    const double next = k + 1 < inLength ? in[k + 1] : 0.0;
    sample = in[k] + (next - in[k]) * (position - k);
    position += ratio;
  }
  return true;
}

double ResponseNormalisationGain(const std::vector<double>& response) {
  double energy = 0.0;
  for (double sample : response) energy += sample * sample;
  const double gain = 1.0 / (std::sqrt(energy) * std::sqrt(2.0));
  return energy > 0.0 && std::isfinite(gain) ? gain : 1.0;
}
