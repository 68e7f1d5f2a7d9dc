// The loudness measure the factory levels are set by, against ITU-R BS.1770-4: the
// published 48 kHz K-weighting coefficients, the reading of a full-scale 997 Hz sine, and
// the gates.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/vsthost/Loudness.h"

namespace {

vsthost::WavAudio Sine(double rate, double seconds, double amplitude, int channels = 1) {
  vsthost::WavAudio audio;
  audio.sampleRate = rate;
  audio.channels.assign(size_t(channels), std::vector<float>(size_t(seconds * rate)));
  for (auto& channel : audio.channels)
    for (size_t i = 0; i < channel.size(); ++i)
      channel[i] = float(amplitude * std::sin(2.0 * std::numbers::pi * 997.0 * double(i) / rate));
  return audio;
}

void Append(vsthost::WavAudio& a, const vsthost::WavAudio& b) {
  for (size_t c = 0; c < a.channels.size(); ++c)
    a.channels[c].insert(a.channels[c].end(), b.channels[c].begin(), b.channels[c].end());
}

}  // namespace

TEST(Loudness, KWeightingAt48kHzIsTheRecommendationsTable) {
  const vsthost::KWeighting k = vsthost::KWeightingAt(48000.0);
  const std::array<double, 5> shelf = {1.53512485958697, -2.69169618940638, 1.19839281085285,
                                       -1.69065929318241, 0.73248077421585};
  const std::array<double, 5> highpass = {1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(k.shelf[i], shelf[i], 1e-12) << i;
    EXPECT_NEAR(k.highpass[i], highpass[i], 1e-12) << i;
  }
}

// A 997 Hz sine at full scale in one channel reads -3.01 LUFS at any rate; in two
// channels 3 LU more; 20 dB down reads 20 LU less.
TEST(Loudness, FullScaleSineReadsMinusThreeLufsAtEveryRate) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    EXPECT_NEAR(vsthost::IntegratedLoudness(Sine(rate, 2.0, 1.0)), -3.01, 0.02) << rate;
    EXPECT_NEAR(vsthost::IntegratedLoudness(Sine(rate, 2.0, 1.0, 2)), 0.0, 0.02) << rate;
    EXPECT_NEAR(vsthost::IntegratedLoudness(Sine(rate, 2.0, 0.1)), -23.01, 0.02) << rate;
    EXPECT_NEAR(vsthost::SamplePeakDb(Sine(rate, 2.0, 0.1)), -20.0, 0.01) << rate;
  }
}

// Passages 20 LU below the rest fall under the relative gate, silence under the absolute
// one; audio too short for one block or wholly silent has no loudness.
TEST(Loudness, QuietPassagesAndSilenceAreGatedOut) {
  vsthost::WavAudio audio = Sine(48000.0, 2.0, 0.1);
  Append(audio, Sine(48000.0, 2.0, 0.01));
  Append(audio, Sine(48000.0, 2.0, 0.0));
  // Blocks straddling the change count with the loud part: 18.5 of 20 blocks' energy.
  EXPECT_NEAR(vsthost::IntegratedLoudness(audio), -23.01 + 10.0 * std::log10(18.5 / 20.0), 0.05);
  EXPECT_EQ(vsthost::IntegratedLoudness(Sine(48000.0, 2.0, 0.0)), -INFINITY);
  EXPECT_EQ(vsthost::IntegratedLoudness(Sine(48000.0, 0.3, 1.0)), -INFINITY);
}
