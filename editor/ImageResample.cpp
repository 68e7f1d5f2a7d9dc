#include "editor/ImageResample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr int kChannels = 4;
constexpr double kCubicRadius = 2.0;  // Catmull-Rom reaches two source pixels each way

double CatmullRom(double t) {
  t = std::fabs(t);
  if (t < 1.0) return 1.5 * t * t * t - 2.5 * t * t + 1.0;
  if (t < 2.0) return -0.5 * t * t * t + 2.5 * t * t - 4.0 * t + 2.0;
  return 0.0;
}

// The taps of one output pixel along one axis: the first source index and its weights.
struct Taps {
  int first = 0;
  std::vector<double> weights;
};

// Output pixel i covers source pixels from i / factor to (i + 1) / factor.
std::vector<Taps> TapsFor(int targetSize, double factor) {
  const double ratio = 1.0 / factor;
  const double widen = std::max(1.0, ratio);
  std::vector<Taps> taps(static_cast<std::size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    const int first = static_cast<int>(std::floor(centre - kCubicRadius * widen)) + 1;
    const int last = static_cast<int>(std::ceil(centre + kCubicRadius * widen)) - 1;
    Taps& t = taps[static_cast<std::size_t>(i)];
    t.first = first;
    double sum = 0.0;
    for (int s = first; s <= last; ++s) {
      const double w = CatmullRom((s - centre) / widen);
      t.weights.push_back(w);
      sum += w;
    }
    for (double& w : t.weights) w /= sum;
  }
  return taps;
}

double Channel(std::uint32_t p, int c) { return static_cast<double>((p >> (8 * c)) & 0xFF); }

// Rounds and clamps one pixel; premultiplied colour never exceeds its alpha.
std::uint32_t Pack(const double* v) {
  auto byte = [](double x) { return static_cast<std::uint32_t>(std::clamp(std::lround(x), 0L, 255L)); };
  const std::uint32_t a = byte(v[3]);
  return (a << 24) | (std::min(byte(v[2]), a) << 16) | (std::min(byte(v[1]), a) << 8) |
         std::min(byte(v[0]), a);
}

int FrameTop(int height, int frames, int k) {
  return static_cast<int>((2LL * height * k + frames) / (2LL * frames));
}

}  // namespace

PixelImage ResizeFrames(const PixelImage& source, int frames, double factor) {
  PixelImage out;
  if (frames <= 0 || !(factor > 0.0) || source.width <= 0) return out;
  const int sourceFrameHeight = source.height / frames;
  const int width = static_cast<int>(std::ceil(source.width * factor));
  const int frameHeight = static_cast<int>(std::ceil(sourceFrameHeight * factor));
  if (sourceFrameHeight <= 0) return out;
  out.width = width;
  out.height = frameHeight * frames;
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  const std::vector<Taps> across = TapsFor(width, factor);
  const std::vector<Taps> down = TapsFor(frameHeight, factor);
  // Each frame: rows resized across into `wide`, then columns down into the result.
  std::vector<double> wide(static_cast<std::size_t>(width) * sourceFrameHeight * kChannels);
  for (int k = 0; k < frames; ++k) {
    const int top = FrameTop(source.height, frames, k);
    for (int y = 0; y < sourceFrameHeight; ++y) {
      const std::uint32_t* row = source.pixels.data() + static_cast<std::size_t>(top + y) * source.width;
      for (int x = 0; x < width; ++x) {
        const Taps& t = across[static_cast<std::size_t>(x)];
        double* v = &wide[(static_cast<std::size_t>(y) * width + x) * kChannels];
        std::fill(v, v + kChannels, 0.0);
        for (std::size_t i = 0; i < t.weights.size(); ++i) {
          const int sx = std::clamp(t.first + static_cast<int>(i), 0, source.width - 1);
          for (int c = 0; c < kChannels; ++c) v[c] += t.weights[i] * Channel(row[sx], c);
        }
      }
    }
    for (int y = 0; y < frameHeight; ++y) {
      const Taps& t = down[static_cast<std::size_t>(y)];
      std::uint32_t* target = out.pixels.data() + static_cast<std::size_t>(k * frameHeight + y) * width;
      for (int x = 0; x < width; ++x) {
        double v[kChannels] = {};
        for (std::size_t i = 0; i < t.weights.size(); ++i) {
          const int sy = std::clamp(t.first + static_cast<int>(i), 0, sourceFrameHeight - 1);
          const double* w = &wide[(static_cast<std::size_t>(sy) * width + x) * kChannels];
          for (int c = 0; c < kChannels; ++c) v[c] += t.weights[i] * w[c];
        }
        target[x] = Pack(v);
      }
    }
  }
  return out;
}
