#include "engine/ProcessChain.h"

#include <algorithm>
#include <cmath>

#include "cabinet/PartitionedConvolver.h"
#include "engine/DriveSample.h"
#include "engine/EngineControls.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr int kBlocksBetweenSilenceChecks = 2;  // a check every third block

enum class BlockKind { kAsleep, kChecked, kUnchecked };

// Counts the block's first left sample towards the silence check, which every third block
// makes. A block without frames counts as silent.
BlockKind ClassifyBlock(Engine& e, const double* left, int frames) {
  e.silenceSum += frames > 0 ? left[0] : 0.0;
  if (e.silenceSum != 0.0) e.sleeping = false;  // a NaN also wakes
  if (e.sleeping) return BlockKind::kAsleep;
  if (e.silenceBlocks <= kBlocksBetweenSilenceChecks) return BlockKind::kUnchecked;
  e.silenceBlocks = 0;
  if (e.silenceSum != 0.0) return BlockKind::kChecked;
  e.sleeping = true;
  return BlockKind::kAsleep;
}

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
    double x = inputs[0][i] + inputs[1][i];
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

}  // namespace

void ProcessChain(Engine& e, PartitionedConvolver& convolver, const double* const* inputs,
                  double* const* outputs, int frames) {
  const BlockKind kind = ClassifyBlock(e, inputs[0], frames);
  if (kind == BlockKind::kAsleep) {
    WriteSilence(outputs, frames);
  } else if (e.tuner.on) {
    RunTuner(e, inputs, outputs, frames);
  } else {
    RunAmp(e, inputs, outputs, frames);
    if (e.cabinetOn && frames > 0) MixImpulseResponse(e, convolver, outputs, frames);
  }
  if (kind != BlockKind::kUnchecked) e.silenceSum = 0.0;
  ++e.silenceBlocks;
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
