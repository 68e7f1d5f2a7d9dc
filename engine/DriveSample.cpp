#include "engine/DriveSample.h"

#include "engine/Clippers.h"
#include "engine/Engine.h"
#include "engine/ModelCatalogue.h"

namespace {

constexpr double kClip = 0.5;  // clipper ceiling of every kernel but the fuzz
constexpr double kFuzzClip = 0.3;
constexpr double kLongCombFeedback = 0.99;
constexpr double kShortCombFeedback = 0.73;
constexpr double kBodyCombFeedback = 0.835;
constexpr double kSubOctaveMix = 0.75;

// Band weights of the multi-band kernels, single-precision numbers used as doubles.
constexpr double kThreeBandSLowGain = 5.65f;
constexpr double kThreeBandMHighGain = 5.6f;
constexpr double kThreeBandMLowGain = 5.05f;
constexpr double kThreeBandMBodyGain = 6.85f;
constexpr double kThreeBandJHighGain = 8.3f;
constexpr double kThreeBandJBodyGain = 2.4f;
constexpr double kDualBandLowGain = 5.15f;
constexpr double kDualBandHighGain = 9.55f;

// Input gains and comb weights of the clean amps designed here.
constexpr double kClean2InputGain = 2.5;
constexpr double kClean4InputGain = 1.2;
constexpr double kClean4RingWeight = 0.04;  // its 1-sample combs ring at up to 40 dB
constexpr double kDarktorsionOutputGain = 0.5;  // level with the other high-gain amps

double Clip(double v) { return SoftClip(v, kClip); }

double Limit01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// Four combs on low-passed copies of x: c1 and c3 short-feedback, c2 and c4 ringing.
struct CombQuad {
  double c1, c2, c3, c4;
};

CombQuad RunCombs(DspBank& b, double x, int firstSlot, int firstLine) {
  const double a = b.StepBiquad(firstSlot, x);
  const double c1 = b.StepComb(firstLine, kShortCombFeedback, b.StepBiquad(firstSlot + 1, a));
  const double c2 = b.StepComb(firstLine + 1, kLongCombFeedback, a);
  const double a2 = b.StepBiquad(firstSlot + 2, x);
  const double c3 = b.StepComb(firstLine + 2, kShortCombFeedback, b.StepBiquad(firstSlot + 3, a2));
  const double c4 = b.StepComb(firstLine + 3, kLongCombFeedback, a2);
  return {c1, c2, c3, c4};
}

// The treble branch of the comb amps: a one-pole high-pass through three peaks.
double RunSheen(DspBank& b, double x, int highpass, int firstSlot) {
  const double h = b.StepHighpassB(highpass, x);
  return b.StepBiquad(firstSlot + 2, b.StepBiquad(firstSlot + 1, b.StepBiquad(firstSlot, h)));
}

double CombCleanA(Engine& e, double x) {
  DspBank& b = e.bank;
  const CombQuad c = RunCombs(b, x, 108, 8);
  const double h = RunSheen(b, x, 4, 112);
  const double s = c.c1 + c.c3 + h;
  const double u = Clip(2.0 * e.knobs.drive * b.StepBiquad(115, s));
  const double d = Limit01(e.knobs.drive);
  return b.StepBiquad(116, ((1.0 - d) * s + d * u + (c.c2 + c.c4) * 0.5) * 0.5);
}

// Clean 2: glassy and bright. The drive knob breaks up only the treble branch (the pick
// attack) while the combs' body stays clean, so it adds edge without muddying the lows.
double CombClean2(Engine& e, double x) {
  DspBank& b = e.bank;
  const CombQuad c = RunCombs(b, x, 108, 8);
  const double h = RunSheen(b, x, 4, 112);
  const double d = Limit01(e.knobs.drive);
  const double u = Clip(2.0 * e.knobs.drive * h);
  return b.StepBiquad(116, ((1.0 - d) * h + d * u + c.c1 + c.c3 + (c.c2 + c.c4) * 0.5) * 0.5);
}

double CombCleanB(Engine& e, double x) {
  DspBank& b = e.bank;
  const CombQuad c = RunCombs(b, x, 108, 8);
  const double r = b.StepBiquad(113, b.StepBiquad(112, b.StepHighpassB(4, x)));
  const double w = b.StepBiquad(114, r);
  const double m = r + w;
  const double u = b.StepBiquad(116, b.StepBiquad(115, Clip(e.knobs.drive * m)));
  const double d = Limit01(e.knobs.drive);
  return b.StepBiquad(117, ((1.0 - d) * m + d * (3.0 - 2.0 * e.knobs.drive) * u + c.c1 + c.c3 +
                            (c.c2 + c.c4) * 0.5) *
                               0.5);
}

// Clean 4: a big scooped clean with a long slap (12 ms) and a drive-tracking high-pass in
// front of its break-up, like Clean 1. Its short combs are one-sample leaky integrators,
// so their ring is mixed in low.
double CombClean4(Engine& e, double x) {
  DspBank& b = e.bank;
  const CombQuad c = RunCombs(b, x, 108, 8);
  const double h = RunSheen(b, x, 4, 112);
  const double s = c.c1 + c.c3 + h;
  const double u = Clip(2.0 * e.knobs.drive * b.StepBiquad(115, s));
  const double d = Limit01(e.knobs.drive);
  return ((1.0 - d) * s + d * u + (c.c2 + c.c4) * kClean4RingWeight) * 0.5;
}

double Body(DspBank& b, double x) {
  const double a = b.StepBiquad(108, x);
  const double e12 = b.StepComb(12, kLongCombFeedback, a);
  const double bass = b.StepBiquad(109, x);
  const double e = b.StepBiquad(110, bass);
  const double e13 = b.StepComb(13, kLongCombFeedback, bass);
  double sum = b.StepComb(0, kBodyCombFeedback, e);
  for (int line = 1; line < 12; ++line) sum += b.StepComb(line, kBodyCombFeedback, e);
  const double r = b.StepBiquad(112, 0.7 * sum);
  const double h = b.StepBiquad(111, b.StepHighpassB(4, x));
  return (h + r + e12 + e13) * 3.0;
}

double TwoStageClipper(Engine& e, double x) {
  DspBank& b = e.bank;
  const double l1 = b.StepLowpassA(1, x);
  const double h1 = l1 - b.StepLowpassB(1, l1);
  const double s2 = Clip(Clip(h1 * e.secondDrive));
  const double l2 = b.StepLowpassA(2, s2);
  const double h2 = l2 - b.StepLowpassB(2, l2);
  return (h2 * e.colourMix + l2) * 0.6;
}

double LowBranch(Engine& e, double x) {
  DspBank& b = e.bank;
  const double bass = b.StepBiquad(81, x * e.knobs.low);
  const double h = bass - b.StepLowpassB(0, bass);
  const double l = b.StepLowpassA(0, Clip(h * e.lowDrive) + bass);
  return b.StepBiquad(82, l);
}

// Band-limits x through two slots, clips it and smooths it with set-A one-pole `smoothing`.
double ClipBand(Engine& e, double x, int first, int second, int smoothing) {
  DspBank& b = e.bank;
  const double c = b.StepBiquad(second, b.StepBiquad(first, x));
  return b.StepLowpassA(smoothing, Clip(c * e.drive));
}

double ThreeBandS(Engine& e, double x) {
  DspBank& b = e.bank;
  const double c = b.StepBiquad(106, b.StepBiquad(84, b.StepBiquad(83, x)));
  const double l = b.StepLowpassA(3, Clip(c * e.drive));
  return (b.StepBiquad(86, l) * 1.8 * 10.0 + b.StepBiquad(85, l) * kThreeBandSLowGain +
          b.StepBiquad(87, l) * 7.25) *
         0.1;
}

double ThreeBandM(Engine& e, double x) {
  DspBank& b = e.bank;
  const double l = ClipBand(e, x, 83, 84, 3);
  return (b.StepBiquad(86, l) * 1.8 * kThreeBandMHighGain + b.StepBiquad(85, l) * kThreeBandMLowGain +
          b.StepBiquad(87, l) * kThreeBandMBodyGain) *
         0.1;
}

double NarrowM(Engine& e, double x) {
  const double l = ClipBand(e, x, 95, 96, 5);
  return e.bank.StepBiquad(97, l) * 5.0 * 0.1;
}

double ThreeBandJ(Engine& e, double x) {
  DspBank& b = e.bank;
  const double l = ClipBand(e, x, 83, 84, 3);
  return (b.StepBiquad(85, l) * kThreeBandJHighGain +
          b.StepBiquad(107, b.StepBiquad(86, l)) * 11.0 +
          b.StepBiquad(87, l) * kThreeBandJBodyGain) *
         0.24;
}

double CombMixerJ(DspBank& b, double x) {
  const CombQuad c = RunCombs(b, x, 108, 4);
  const double h = RunSheen(b, x, 4, 112);
  return b.StepBiquad(115, ((c.c2 + c.c4) * 0.5 + c.c3 + c.c1 + h) * 0.5);
}

double CombMixer(DspBank& b, double x) {
  const CombQuad c = RunCombs(b, x, 88, 0);
  const double h = RunSheen(b, x, 3, 92);
  return ((c.c2 + c.c4) * 0.5 + c.c3 + c.c1 + h) * 0.5;
}

double DualBand(Engine& e, double x) {
  DspBank& b = e.bank;
  const double c = b.StepBiquad(103, b.StepBiquad(99, b.StepBiquad(98, x)));
  const double l = b.StepLowpassA(4, Clip(c * e.drive));
  return (b.StepBiquad(100, l) * kDualBandLowGain +
          b.StepBiquad(102, b.StepBiquad(101, l) * 1.65) * kDualBandHighGain) *
         0.1;
}

double SingleBand(Engine& e, double x) {
  DspBank& b = e.bank;
  const double c = b.StepBiquad(104, b.StepBiquad(96, b.StepBiquad(95, x)));
  const double l = b.StepLowpassA(5, Clip(c * e.drive));
  return b.StepBiquad(105, b.StepBiquad(97, l)) * 2.65 * 0.25;
}

double MetalStyle(Engine& e, double x) {
  const double bands = ThreeBandS(e, x);
  const double low = LowBranch(e, x);
  const double twoStage = TwoStageClipper(e, x);
  return CombMixer(e.bank, (low + bands) + twoStage);
}

// Darktorsion: the amp-voicing comb mixer J feeds a tight, hard-driven clipper (high-pass
// at 800 Hz before it, so the low end stays firm at any drive), and the second comb mixer
// puts cabinet weight and sizzle back behind it.
double Darktorsion(Engine& e, double x) {
  DspBank& b = e.bank;
  const double voiced = CombMixerJ(b, x);
  const double c = b.StepBiquad(84, b.StepBiquad(83, voiced));
  const double clipped = b.StepBiquad(85, Clip(c * e.drive));
  return CombMixer(b, clipped) * kDarktorsionOutputGain;
}

double HighPassClipper(Engine& e, double x) {
  DspBank& b = e.bank;
  const double s = Clip(b.StepHighpassB(0, x) * e.drive);
  return b.StepBiquad(82, b.StepBiquad(64, b.StepBiquad(81, s)));
}

double OctaveClipper(Engine& e, double x) {
  DspBank& b = e.bank;
  double a = b.StepBiquad(81, x);
  if (e.subOctaveOn) a = a + kSubOctaveMix * OctaveVoice(e, a);
  const double s = Clip(a * e.drive);
  return b.StepBiquad(85, b.StepBiquad(84, b.StepBiquad(83, b.StepBiquad(82, s))));
}

double TwinPathClipper(Engine& e, double x) {
  DspBank& b = e.bank;
  const double p = b.StepLowpassA(0, b.StepHighpassB(0, x));
  const double q = b.StepLowpassA(2, b.StepLowpassA(1, Clip(p * e.drive)));
  const double r = b.StepBiquad(83, b.StepBiquad(82, b.StepBiquad(81, q)));
  const double p2 = b.StepLowpassA(3, b.StepHighpassB(1, x));
  const double q2 = b.StepLowpassA(4, b.StepBiquad(85, Clip(p2 * e.drive)));
  return b.StepBiquad(84, 2.0 * q2 + r);
}

// The pedal's low, mid and high filters.
double GroupFilters(DspBank& b, double y) {
  return b.StepBiquad(66, b.StepBiquad(65, b.StepBiquad(64, y)));
}

// The group filters without slot 64, for kernels that run slot 64 themselves or not at all.
double MidHighFilters(DspBank& b, double y) { return b.StepBiquad(66, b.StepBiquad(65, y)); }

double Kernel(Engine& e, double x, int model) {
  DspBank& b = e.bank;
  switch (model) {
    case 0: return GroupFilters(b, CombCleanA(e, 3.9 * x));
    case 1: return GroupFilters(b, CombClean2(e, kClean2InputGain * x));
    case 2: return GroupFilters(b, CombCleanB(e, 1.5 * x));
    case 3: return GroupFilters(b, CombClean4(e, kClean4InputGain * x));
    case 4: return GroupFilters(b, Body(b, x));
    case 5: return GroupFilters(b, TwoStageClipper(e, x));
    case 6: return MidHighFilters(b, AsymmetricClip(b.StepBiquad(64, x), kFuzzClip, e.drive));
    case 7: {
      const double s = 0.5 * Clip(b.StepBiquad(64, b.StepBiquad(80, x)) * e.drive);
      return MidHighFilters(b, b.StepBiquad(83, b.StepBiquad(82, b.StepBiquad(81, s))));
    }
    case 8: {
      const double bands = ThreeBandM(e, x);
      return GroupFilters(b, NarrowM(e, x) + bands);
    }
    case 9: return MidHighFilters(b, MetalStyle(e, x));
    case 10: return GroupFilters(b, ThreeBandJ(e, CombMixerJ(b, x)));
    case 11: {
      const double dual = DualBand(e, x);
      return GroupFilters(b, SingleBand(e, x) + dual);
    }
    case 12: return GroupFilters(b, Darktorsion(e, x));
    case 13: return HighPassClipper(e, x);
    case 14: return OctaveClipper(e, x);
    default: return TwinPathClipper(e, x);
  }
}

}  // namespace

double DriveSample(Engine& e, double x, int model) {
  if (model < 0 || model >= kDriveModelCount) return x;
  DspBank& b = e.bank;
  const double t = b.StepBiquad(72, Kernel(e, x, model));
  return (b.StepBiquad(71, t) * e.presenceMix + t) * e.driveLevel;
}
