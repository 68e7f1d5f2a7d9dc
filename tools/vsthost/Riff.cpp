#include "tools/vsthost/Riff.h"

#include <cstdint>
#include <vector>

namespace vsthost {

namespace {

constexpr double kNoteSeconds = 0.25;
constexpr double kLoopDecay = 0.996;
constexpr double kPeak = 0.5;
// E2 E2 G2 A2, E2 D3 C#3 A2: a low riff on the bottom strings.
constexpr double kNotesHz[] = {82.41, 82.41, 98.0, 110.0, 82.41, 146.83, 138.59, 110.0};

// One plucked note: a delay line one period long, filled with noise, averaged and damped
// on every pass.
void Pluck(double frequencyHz, double sampleRate, uint32_t& seed, std::vector<float>& out, size_t start,
           size_t length) {
  std::vector<double> loop(size_t(sampleRate / frequencyHz));
  for (double& s : loop) {
    seed = seed * 1664525u + 1013904223u;
    s = kPeak * (double(seed >> 8) / double(1u << 24) * 2.0 - 1.0);
  }
  size_t at = 0;
  for (size_t i = 0; i < length; ++i) {
    const size_t next = (at + 1) % loop.size();
    const double y = loop[at];
    loop[at] = kLoopDecay * 0.5 * (loop[at] + loop[next]);
    at = next;
    out[start + i] = float(y);
  }
}

}  // namespace

WavAudio SynthesiseRiff(double sampleRate) {
  const auto noteFrames = size_t(kNoteSeconds * sampleRate);
  WavAudio riff;
  riff.sampleRate = sampleRate;
  riff.channels = {std::vector<float>(noteFrames * std::size(kNotesHz))};
  uint32_t seed = 1;
  for (size_t n = 0; n < std::size(kNotesHz); ++n) {
    Pluck(kNotesHz[n], sampleRate, seed, riff.channels[0], n * noteFrames, noteFrames);
  }
  if (riff.channels[0][0] == 0.0f) riff.channels[0][0] = 1e-3f;
  return riff;
}

WavAudio SynthesisePluck(double sampleRate, double frequencyHz, double seconds) {
  const auto frames = size_t(seconds * sampleRate);
  WavAudio pluck;
  pluck.sampleRate = sampleRate;
  pluck.channels = {std::vector<float>(frames)};
  uint32_t seed = 1;
  Pluck(frequencyHz, sampleRate, seed, pluck.channels[0], 0, frames);
  return pluck;
}

}  // namespace vsthost
