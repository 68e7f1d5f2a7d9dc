#include "engine/OctaveVoice.h"

#include "engine/Engine.h"

#include <algorithm>

namespace {

constexpr double kPhaseCyclesPerSecond = 4.0;
constexpr double kDepthSeconds = 0.125;

double StepTap(DspBank& bank, int line, double phase, double depth, double v) {
  const int size = bank.fractionalSize[line];
  double* cells = bank.fractionalBuffer[line].data();
  const int pos = bank.fractionalPos[line];
  const int whole = static_cast<int>((1.0 - phase * depth) * size);
  cells[pos] = v;
  const double tap = cells[(pos + whole) % size];
  bank.fractionalPos[line] = (pos + 1) % size;
  return tap;
}

}  // namespace

double OctaveVoice(Engine& engine, double v) {
  OctaveVoiceState& o = engine.octave;
  o.phaseA += o.phaseStep;
  o.phaseB += o.phaseStep;
  if (o.phaseA > 1.0) {
    o.phaseA = 0.0;
    o.crossfade = 0.0;
    o.phaseB = 0.5;
  }
  if (o.phaseB > 1.0) o.phaseB = 0.0;
  o.crossfade += o.phaseA > 0.5 ? -o.crossfadeStep : o.crossfadeStep;

  const double tapA = StepTap(engine.bank, kOctaveLineA, o.phaseA, o.depthSeconds, v);
  const double tapB = StepTap(engine.bank, kOctaveLineB, o.phaseB, o.depthSeconds, v);
  const double c = o.crossfade < 0.0 ? 0.0 : (o.crossfade > 1.0 ? 1.0 : o.crossfade);
  return (1.0 - c) * tapB + c * tapA;
}

void CreateOctaveVoice(Engine& engine) {
  OctaveVoiceState& o = engine.octave;
  o.depthSeconds = kDepthSeconds;
  o.phaseStep = kPhaseCyclesPerSecond / engine.sampleRate;
  o.crossfadeStep = 2.0 * o.phaseStep;
  engine.bank.InitFractionalDelay(kOctaveLineA, engine.sampleRate);
  engine.bank.InitFractionalDelay(kOctaveLineB, engine.sampleRate);
  ResetOctaveVoice(engine);
}

void ResetOctaveVoice(Engine& engine) {
  OctaveVoiceState& o = engine.octave;
  o.phaseA = 0.0;
  o.crossfade = 0.0;
  o.phaseB = 0.5;
  for (int line : {kOctaveLineA, kOctaveLineB}) {
    std::fill(engine.bank.fractionalBuffer[line].begin(), engine.bank.fractionalBuffer[line].end(), 0.0);
    engine.bank.fractionalPos[line] = 0;
  }
}
