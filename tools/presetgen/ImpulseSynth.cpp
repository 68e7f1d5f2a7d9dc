#include "tools/presetgen/ImpulseSynth.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "engine/CabinetVoicings.h"
#include "engine/DspBank.h"

namespace {

constexpr double kPeakLevel = 0.89;
constexpr double kMicLowCutHz = 70.0;
constexpr double kMicHighCutHz = 7000.0;
constexpr double kButterworthOctaves = 1.4;  // the bandwidth the engine's designs use for Q ~ 0.7
constexpr double kRoomOnsetMs = 2.0;
constexpr double kDirectSoundSeconds = 0.05;
constexpr double kRoomDecaysKept = 6.0;  // e^-6: the tail ends about 52 dB down

struct Reflection {
  double delayMs;
  double gain;
};
constexpr Reflection kEarlyReflections[] = {{1.1, 0.45}, {2.3, -0.3}, {3.7, 0.2}, {5.2, -0.12}};

// A fixed pseudo-random sequence (xorshift32) mapped to -1 .. 1.
class NoiseSource {
 public:
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_) / 2147483647.5 - 1.0;
  }

 private:
  std::uint32_t state_ = 0x9E3779B9u;
};

std::vector<double> DryRoom(const FactoryImpulse& impulse, int length) {
  std::vector<double> room(length, 0.0);
  room[0] = 1.0;
  for (const Reflection& r : kEarlyReflections) {
    const int at = int(std::lround(r.delayMs * 1e-3 * kImpulseSampleRateHz));
    if (at < length) room[at] += r.gain;
  }
  NoiseSource noise;
  const double decaySamples = impulse.roomDecayMs * 1e-3 * kImpulseSampleRateHz;
  const double onsetSamples = kRoomOnsetMs * 1e-3 * kImpulseSampleRateHz;
  for (int n = 1; n < length; ++n) {
    const double onset = std::min(1.0, n / onsetSamples);
    room[n] += impulse.roomLevel * onset * std::exp(-n / decaySamples) * noise.Next();
  }
  return room;
}

// The voicing's cascade and the microphone's band limits, run over the samples in place.
void Colour(std::vector<double>& samples, int voicing) {
  auto bank = std::make_unique<DspBank>();
  const CabinetVoicing& cabinet = CabinetVoicingAt(voicing);
  for (int i = 0; i < cabinet.length; ++i) {
    const CabinetFilter& f = cabinet.filters[i];
    bank->DesignBiquad(i, f.type, f.frequencyHz, f.bandwidthOctaves, f.gainDb, kImpulseSampleRateHz);
  }
  const int lowCut = cabinet.length, highCut = cabinet.length + 1;
  bank->DesignBiquad(lowCut, kHighpass, kMicLowCutHz, kButterworthOctaves, 0.0, kImpulseSampleRateHz);
  bank->DesignBiquad(highCut, kLowpass, kMicHighCutHz, kButterworthOctaves, 0.0, kImpulseSampleRateHz);
  for (double& x : samples)
    for (int slot = 0; slot <= highCut; ++slot) x = bank->StepBiquad(slot, x);
}

void NormalisePeak(std::vector<double>& samples) {
  double peak = 0.0;
  for (const double x : samples) peak = std::max(peak, std::fabs(x));
  if (peak > 0.0)
    for (double& x : samples) x *= kPeakLevel / peak;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

}  // namespace

std::vector<double> SynthesiseImpulse(const FactoryImpulse& impulse) {
  const double seconds = kDirectSoundSeconds + kRoomDecaysKept * impulse.roomDecayMs * 1e-3;
  const int length = int(seconds * kImpulseSampleRateHz);
  std::vector<double> samples = DryRoom(impulse, length);
  Colour(samples, impulse.voicing);
  NormalisePeak(samples);
  return samples;
}

std::vector<std::uint8_t> EncodeWave16(const std::vector<double>& samples, int sampleRateHz) {
  constexpr int kBytesPerSample = 2;
  const std::uint32_t dataBytes = std::uint32_t(samples.size() * kBytesPerSample);
  std::vector<std::uint8_t> out;
  PutTag(out, "RIFF");
  PutLe(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, std::uint32_t(sampleRateHz), 4);
  PutLe(out, std::uint32_t(sampleRateHz * kBytesPerSample), 4);
  PutLe(out, kBytesPerSample, 2);
  PutLe(out, 16, 2);
  PutTag(out, "data");
  PutLe(out, dataBytes, 4);
  for (const double x : samples) {
    const long s = std::lround(std::clamp(x, -1.0, 1.0) * 32767.0);
    PutLe(out, std::uint32_t(std::int16_t(s)), 2);
  }
  return out;
}
