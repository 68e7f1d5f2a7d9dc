#include "tools/vsthost/Loudness.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vsthost {

namespace {

// The analogue prototypes of the two stages, which the recommendation's 48 kHz
// coefficients come from; the bilinear transform places them at any rate.
constexpr double kShelfHz = 1681.974450955533;
constexpr double kShelfGainDb = 3.999843853973347;
constexpr double kShelfQ = 0.7071752369554196;
constexpr double kShelfBandShare = 0.4996667741545416;
constexpr double kHighpassHz = 38.13547087602444;
constexpr double kHighpassQ = 0.5003270373238773;

constexpr double kLoudnessOffsetDb = -0.691;
constexpr double kBlockSeconds = 0.4;
constexpr double kStepSeconds = 0.1;
constexpr double kAbsoluteGateLufs = -70.0;
constexpr double kRelativeGateLu = -10.0;

double Lufs(double meanSquare) { return kLoudnessOffsetDb + 10.0 * std::log10(meanSquare); }

std::vector<double> Filtered(std::vector<double> x, const std::array<double, 5>& c) {
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  for (double& v : x) {
    const double y = c[0] * v + c[1] * x1 + c[2] * x2 - c[3] * y1 - c[4] * y2;
    x2 = x1;
    x1 = v;
    y2 = y1;
    y1 = y;
    v = y;
  }
  return x;
}

// Running sums of the K-weighted squares of all channels, so that any block's mean square
// is one subtraction.
std::vector<double> WeightedEnergySums(const WavAudio& audio) {
  const KWeighting k = KWeightingAt(audio.sampleRate);
  std::vector<double> energy(size_t(audio.Frames()), 0.0);
  for (const std::vector<float>& channel : audio.channels) {
    const std::vector<double> weighted = Filtered(Filtered({channel.begin(), channel.end()}, k.shelf), k.highpass);
    for (size_t i = 0; i < energy.size(); ++i) energy[i] += weighted[i] * weighted[i];
  }
  std::vector<double> sums(energy.size() + 1, 0.0);
  for (size_t i = 0; i < energy.size(); ++i) sums[i + 1] = sums[i] + energy[i];
  return sums;
}

}  // namespace

KWeighting KWeightingAt(double sampleRate) {
  KWeighting k;
  double K = std::tan(std::numbers::pi * kShelfHz / sampleRate);
  const double vh = std::pow(10.0, kShelfGainDb / 20.0);
  const double vb = std::pow(vh, kShelfBandShare);
  double a0 = 1.0 + K / kShelfQ + K * K;
  k.shelf = {(vh + vb * K / kShelfQ + K * K) / a0, 2.0 * (K * K - vh) / a0,
             (vh - vb * K / kShelfQ + K * K) / a0, 2.0 * (K * K - 1.0) / a0,
             (1.0 - K / kShelfQ + K * K) / a0};
  K = std::tan(std::numbers::pi * kHighpassHz / sampleRate);
  a0 = 1.0 + K / kHighpassQ + K * K;
  k.highpass = {1.0, -2.0, 1.0, 2.0 * (K * K - 1.0) / a0, (1.0 - K / kHighpassQ + K * K) / a0};
  return k;
}

double IntegratedLoudness(const WavAudio& audio) {
  const std::vector<double> sums = WeightedEnergySums(audio);
  const auto block = size_t(std::lround(kBlockSeconds * audio.sampleRate));
  const auto step = size_t(std::lround(kStepSeconds * audio.sampleRate));
  std::vector<double> blocks;  // mean squares of the blocks that pass the absolute gate
  for (size_t start = 0; block > 0 && start + block < sums.size(); start += step) {
    const double meanSquare = (sums[start + block] - sums[start]) / double(block);
    if (Lufs(meanSquare) > kAbsoluteGateLufs) blocks.push_back(meanSquare);
  }
  if (blocks.empty()) return -INFINITY;
  double total = 0.0;
  for (double b : blocks) total += b;
  const double relativeGate = Lufs(total / double(blocks.size())) + kRelativeGateLu;
  double gated = 0.0;
  size_t count = 0;
  for (double b : blocks) {
    if (Lufs(b) > relativeGate) {
      gated += b;
      ++count;
    }
  }
  return Lufs(gated / double(count));
}

double SamplePeakDb(const WavAudio& audio) {
  double peak = 0.0;
  for (const std::vector<float>& channel : audio.channels)
    for (float s : channel) peak = std::max(peak, std::fabs(double(s)));
  return 20.0 * std::log10(peak);
}

}  // namespace vsthost
