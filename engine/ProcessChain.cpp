#include "engine/ProcessChain.h"

#include <algorithm>
#include <cmath>

#include "cabinet/PartitionedConvolver.h"
#include "engine/DriveSample.h"
#include "engine/EngineControls.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

// The amp sleeps after this many chunks in a row with exactly silent input and an output
// below audibility, so that a response's tail and the filters' ring-down play out first.
constexpr int kSilenceChunkFrames = 64;
constexpr int kQuietChunksBeforeSleep = 3;
constexpr double kInaudibleLevel = 1e-6;  // -120 dBFS, far below a 16-bit output's floor

// The first frame at which either input is not exactly zero (a NaN counts), or frames.
int FirstSoundingFrame(const double* const* inputs, int frames) {
  for (int i = 0; i < frames; ++i) {
    if (!(inputs[0][i] == 0.0 && inputs[1][i] == 0.0)) return i;
  }
  return frames;
}

double Peak(const double* samples, int frames) {
  double peak = 0.0;
  for (int i = 0; i < frames; ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

// The amp takes a non-finite sample as silence, so that one bad sample cannot stick in the
// filters' states or reach the host's mix.
double FiniteOr0(double x) { return std::isfinite(x) ? x : 0.0; }

void WriteSilence(double* const* outputs, int frames) {
  for (int i = 0; i < frames; ++i) outputs[0][i] = outputs[1][i] = 0.0;
}

void RunTuner(Engine& e, const double* const* inputs, double* const* outputs, int frames) {
  for (int i = 0; i < frames; ++i) {
    const double left = inputs[0][i];
    const double right = inputs[1][i];
    TunerSample(e, left);
    outputs[0][i] = left;
    outputs[1][i] = right;
  }
}

double AddAntiDenormal(Engine& e, double x) {
  if (++e.antiDenormalIndex >= kAntiDenormalTableSize) e.antiDenormalIndex = 0;
  return x + e.antiDenormal[e.antiDenormalIndex];
}

// Shelves with parallel band-pass boosts fed from the shelves' outputs.
double ToneSection(DspBank& b, double bassMix, double loudnessMix, double x) {
  const double a = b.StepBiquad(kBassShelfSlot, x);
  const double bass = a + bassMix * b.StepBiquad(kBassBandSlot, a);
  const double treble = b.StepBiquad(kTrebleShelfSlot, bass);
  const double d = b.StepBiquad(kLoudnessShelfSlot, treble);
  return d + loudnessMix * b.StepBiquad(kLoudnessBandSlot, d);
}

void RunAmp(Engine& e, const double* const* inputs, double* const* outputs, int frames) {
  const bool driving = e.driveOn && e.model >= 0 && e.model < kDriveModelCount;
  for (int i = 0; i < frames; ++i) {
    double x = FiniteOr0(inputs[0][i]) + FiniteOr0(inputs[1][i]);
    if (e.gateOn) x = AddAntiDenormal(e, GateSample(e, x));
    if (driving) x = DriveSample(e, x, e.model);
    x = RunCascade(e, x);
    x = ToneSection(e.bank, e.bassMix, e.loudnessMix, x);
    outputs[0][i] = outputs[1][i] = x * e.masterVolume;
  }
}

// Mixes the convolved left output with the dry one; frames the convolver cannot deliver
// yet keep the dry chain's signal.
void MixImpulseResponse(const Engine& e, PartitionedConvolver& convolver,
                        double* const* outputs, int frames) {
  convolver.PushSamples(outputs[0], frames);
  const int ready = std::min(frames, convolver.ProduceOutput(frames));
  if (ready <= 0) return;
  const double* wet = convolver.OutputPointer();
  const double wetGain = e.impulseLevel * e.wetGain;
  for (int i = 0; i < ready; ++i) {
    outputs[0][i] = outputs[1][i] = wet[i] * wetGain + e.dryGain * outputs[0][i];
  }
  convolver.ConsumeOutput(ready);
}

// Runs frames of one chunk through the tuner's pass-through or the amp.
void RunAwake(Engine& e, PartitionedConvolver& convolver, const double* const* inputs,
              double* const* outputs, int frames) {
  if (e.tuner.on) {
    RunTuner(e, inputs, outputs, frames);
  } else {
    RunAmp(e, inputs, outputs, frames);
    if (e.cabinetOn) MixImpulseResponse(e, convolver, outputs, frames);
  }
}

// Frames within one chunk. Asleep, frames stay silent up to the first sound, which wakes
// the amp in place, so that a note starting inside a block keeps its attack.
void RunFrames(Engine& e, PartitionedConvolver& convolver, const double* const* inputs,
               double* const* outputs, int frames) {
  SilenceWatch& w = e.silence;
  const int sound = FirstSoundingFrame(inputs, frames);
  int start = 0;
  if (e.sleeping) {
    WriteSilence(outputs, sound);
    if (sound == frames) return;
    e.sleeping = false;
    start = sound;
  }
  if (sound < frames) w.inputHeard = true;
  const double* in[2] = {inputs[0] + start, inputs[1] + start};
  double* out[2] = {outputs[0] + start, outputs[1] + start};
  RunAwake(e, convolver, in, out, frames - start);
  w.outputPeak = std::max({w.outputPeak, Peak(out[0], frames - start), Peak(out[1], frames - start)});
}

// At a chunk's end: counts it as quiet or not and sleeps after enough quiet chunks.
void EndChunk(Engine& e) {
  SilenceWatch& w = e.silence;
  const bool quiet = !w.inputHeard && w.outputPeak < kInaudibleLevel;
  w.quietChunks = quiet ? w.quietChunks + 1 : 0;
  if (w.quietChunks >= kQuietChunksBeforeSleep) e.sleeping = true;
  w.framesInChunk = 0;
  w.inputHeard = false;
  w.outputPeak = 0.0;
}

}  // namespace

void ProcessChain(Engine& e, PartitionedConvolver& convolver, const double* const* inputs,
                  double* const* outputs, int frames) {
  for (int done = 0; done < frames;) {
    const int n = std::min(frames - done, kSilenceChunkFrames - e.silence.framesInChunk);
    const double* in[2] = {inputs[0] + done, inputs[1] + done};
    double* out[2] = {outputs[0] + done, outputs[1] + done};
    RunFrames(e, convolver, in, out, n);
    done += n;
    e.silence.framesInChunk += n;
    if (e.silence.framesInChunk == kSilenceChunkFrames) EndChunk(e);
  }
}

double GateSample(Engine& e, double x) {
  const double envelope = e.bank.StepFollower(kGateFollower, std::fabs(x));
  const double open = envelope > e.gateThreshold ? 1.0 : 0.0;
  return x * e.bank.StepAdsr(kGateEnvelope, open);
}

double RunCascade(Engine& e, double x) {
  for (int slot = 0; slot < e.cascadeLength; ++slot) x = e.bank.StepBiquad(slot, x);
  return x * e.cascadeGain;
}
