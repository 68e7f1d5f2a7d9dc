#include "engine/ModelCatalogue.h"

#include <cmath>

#include "engine/Engine.h"
#include "engine/LevelCurve.h"

namespace {

// Cut-offs that are the single-precision numbers nearest to the decimals.
constexpr double kTwoStageLowCutHz = 720.484f;
constexpr double kTwoStageHighCutHz = 723.431f;
constexpr double kAnyShelfBandwidth = 1.0;  // shelves ignore the bandwidth

// Designs slots at the engine's rate, in the notation of the model tables.
class SlotDesigner {
 public:
  explicit SlotDesigner(Engine& e) : e_(e) {}

  void Lp(int slot, double hz, double octaves) { Biquad(slot, kLowpass, hz, octaves, 0.0); }
  void Hp(int slot, double hz, double octaves) { Biquad(slot, kHighpass, hz, octaves, 0.0); }
  void Bp(int slot, double hz, double octaves) { Biquad(slot, kBandpass, hz, octaves, 0.0); }
  void Pk(int slot, double hz, double octaves, double db) { Biquad(slot, kPeaking, hz, octaves, db); }
  void Ls(int slot, double hz, double octaves, double db) { Biquad(slot, kLowShelf, hz, octaves, db); }
  void Hs(int slot, double hz, double octaves, double db) { Biquad(slot, kHighShelf, hz, octaves, db); }
  void Lsn(int slot, double hz, double octaves, double db) {
    Biquad(slot, kNarrowLowShelf, hz, octaves, db);
  }
  void La(int slot, double hz) { e_.bank.SetLowpassA(slot, hz, e_.sampleRate); }
  void Lb(int slot, double hz) { e_.bank.SetLowpassB(slot, hz, e_.sampleRate); }
  void DelayMs(int line, double ms) { e_.bank.SetDelay(line, ms * 0.001, e_.sampleRate); }
  // Four comb lines: two long and two short, pairwise alike.
  void CombDelaysMs(int firstLine, double longMs, double shortMs) {
    DelayMs(firstLine, longMs);
    DelayMs(firstLine + 1, shortMs);
    DelayMs(firstLine + 2, longMs);
    DelayMs(firstLine + 3, shortMs);
  }

 private:
  void Biquad(int slot, int type, double hz, double octaves, double db) {
    e_.bank.DesignBiquad(slot, type, hz, octaves, db, e_.sampleRate);
  }
  Engine& e_;
};

// Gain law of the plain tone knobs: -12 dB to +12 dB.
double KnobDb(double v) { return 24.0 * v - 12.0; }

// The low-pass pairs in front of the comb lines of the clean amps and of comb mixer J.
void DesignCombFront(SlotDesigner& s) {
  s.Lb(4, 500);
  s.Lp(108, 87, 1.4);
  s.Lp(109, 87, 1.4);
  s.Lp(110, 161, 1.4);
  s.Lp(111, 161, 1.4);
}

// The same for the comb mixer on lines 0 to 3.
void DesignSecondCombFront(SlotDesigner& s) {
  s.Lb(3, 500);
  s.Lp(88, 87, 1.4);
  s.Lp(89, 87, 1.4);
  s.Lp(90, 120, 1.4);
  s.Lp(91, 161, 1.4);
}

void SetupDriveFor(Engine& e, int model) {
  SlotDesigner s(e);
  const double d = e.knobs.drive;
  switch (model) {
    case 0: s.Hp(115, 900 * d, 1.4); break;
    case 3: s.Hp(115, 425 * d, 1.4); break;
    case 5:
      e.drive = DriveAmount(d);
      e.secondDrive = e.drive + 0.5;
      break;
    case 9:
      e.drive = DriveAmount(d);
      e.secondDrive = 0.15 * e.drive + 3.0;
      break;
    case 6: case 7: case 8: case 10: case 11: case 12: e.drive = DriveAmount(d); break;
    case 13: e.drive = 1.0 + 199.0 * LevelCurve(d); break;
    case 14: e.drive = 1.0 + 499.0 * LevelCurve(d); break;
    case 15: e.drive = 10.0 + 490.0 * LevelCurve(d); break;
    default: break;  // models 1, 2 and 4 read the raw drive value
  }
}

void SetupLowFor(Engine& e, int model) {
  SlotDesigner s(e);
  const double lo = e.knobs.low;
  const double db = KnobDb(lo);
  switch (model) {
    case 0: case 2: case 10: case 12: s.Pk(64, 100, 3, db); break;
    case 1: case 3: case 4: s.Pk(64, 200, 3, db); break;
    case 5: s.Pk(64, 1400, 1, db); break;
    case 6: s.Hp(64, 500 * lo, 1.4); break;
    case 7: s.Bp(64, 400 + 2100 * lo, 3); break;
    case 8: s.Pk(64, 380, 3, db); break;
    case 9:
      s.Pk(64, 200, 2, db);
      e.lowDrive = 38.0 * lo + 2.0;
      break;
    case 11: s.Pk(64, 120, 3, db); break;
    case 14: s.Ls(84, 80, kAnyShelfBandwidth, db); break;
    case 15: s.Ls(81, 200, kAnyShelfBandwidth, 12.0 * lo - 6.0); break;
    default: break;
  }
}

void SetupMidFor(Engine& e, int model) {
  SlotDesigner s(e);
  const double mi = e.knobs.mid;
  const double db = KnobDb(mi);
  switch (model) {
    case 0: case 4: s.Pk(65, 2000, 3, db); break;
    case 1: s.Pk(65, 700, 3, db); break;
    case 2: s.Pk(65, 800, 3, db); break;
    case 3: s.Pk(65, 1000, 3, db); break;
    case 5: s.Pk(65, 2200, 1, db); break;
    case 6: s.Lsn(65, 800, 1, db); break;
    case 7: s.Pk(65, 100, 5, 32.0 * mi - 16.0); break;
    case 8: case 11: s.Pk(65, 900, model == 8 ? 1.5 : 1.0, db); break;
    case 9: s.Pk(65, 1200, 1.5, db); break;
    case 10: s.Pk(65, 1800, 3, db); break;
    case 12: s.Pk(65, 1600, 2, db); break;
    case 13: s.Lp(64, 1000 + 9000 * LevelCurve(1.0 - mi), 2.75); break;
    case 14: {
      const double x = LevelCurve(mi);
      s.Pk(82, 300 + 2700 * x, 5.75, 8.1 + 3 * x);
      s.Pk(83, 464, 2.3, -4.662 - 5.5 * x);
      break;
    }
    case 15: {
      // Centre and width follow the high knob as it stands when the mid set-up runs.
      const double p = std::pow(1.09051, 16.0 * e.knobs.high - 8.0);
      const double g = 6.0 * mi - 3.0;
      s.Pk(83, 800 * p, 1.6 * p, g < 0.0 ? 5.0 * g : g);
      break;
    }
    default: break;
  }
}

void SetupHighFor(Engine& e, int model) {
  SlotDesigner s(e);
  const double hi = e.knobs.high;
  const double db = KnobDb(hi);
  switch (model) {
    case 0: s.Pk(66, 10000, 3, db); break;
    case 1: case 4: s.Pk(66, 5000, 3, db); break;
    case 2: s.Pk(66, 6400, 3, db); break;
    case 3: case 9: s.Pk(66, 4000, 3, db); break;
    case 5: s.Pk(66, 4500, 2, db); break;
    case 6: s.Pk(66, 5000, 3, db); break;
    case 7: s.Pk(66, 1800, 2.7, 27.0 * hi - 12.0); break;
    case 8: s.Pk(66, 8000, 3, db); break;
    case 10: s.Pk(66, 6500, 3, db); break;
    case 11: s.Pk(66, 2500, 1, db); break;
    case 12: s.Pk(66, 5600, 1, db); break;
    case 14: e.subOctaveOn = hi > 0.0; break;
    case 15: s.Hs(84, 1500, kAnyShelfBandwidth, 16.0 * hi - 8.0); break;
    default: break;
  }
}

void SetupToneKnobs(Engine& e) {
  SetupLow(e);
  SetupMid(e);
  SetupHigh(e);
}

void SetupCleanAmp(Engine& e, int model) {
  SlotDesigner s(e);
  switch (model) {
    case 0:
      s.CombDelaysMs(8, 2, 0.27);
      DesignCombFront(s);
      s.Pk(112, 6100, 5.1, 16.5);
      s.Pk(113, 200, 2, 18);
      s.Pk(114, 10000, 2, 9.6);
      SetupDrive(e);
      s.Pk(116, 146, 0.1, -15);
      break;
    case 1:
      s.CombDelaysMs(8, 2.4, 0.18);
      DesignCombFront(s);
      s.Pk(112, 3400, 0.8, 24);
      s.Pk(113, 1000, 2, 0.3);
      s.Pk(114, 15300, 2, 7.2);
      s.Pk(116, 146, 0.1, -15);
      break;
    case 2:
      s.CombDelaysMs(8, 7.4, 1.28);
      DesignCombFront(s);
      s.Pk(112, 3200, 3.2, 15.9);
      s.Pk(113, 100, 4.4, 14.1);
      s.Pk(114, 13400, 2, 11.4);
      s.Pk(115, 3800, 1.3, -12);
      s.Pk(116, 7500, 3, 10);
      s.Pk(117, 146, 0.1, -15);
      break;
    case 3:
      s.CombDelaysMs(8, 12, 0.02);
      DesignCombFront(s);
      s.Pk(112, 1100, 6.1, 18.9);
      s.Pk(113, 60, 3.2, 24.9);
      s.Pk(114, 17000, 2, 28.8);
      SetupDrive(e);
      break;
    default: {  // 4, the acoustic body
      constexpr double kBodyMs[14] = {7.4, 8.1, 8.6, 6.9, 6.5, 6.2, 9.3,
                                      6,   5.7, 5.3, 5,   4.7, 0.32, 0.32};
      for (int line = 0; line < 14; ++line) s.DelayMs(line, kBodyMs[line]);
      s.Lb(4, 5000);
      s.Lp(108, 121, 1.4);
      s.Lp(109, 210, 1.4);
      s.Lp(110, 5000, 1.4);
      s.Pk(111, 8800, 3, 30);
      s.Lsn(112, 300, 1, -30);
      break;
    }
  }
  SetupToneKnobs(e);
}

void SetupTwoStageOnePoles(SlotDesigner& s) {
  s.Lb(1, kTwoStageLowCutHz);
  s.La(1, 2000);
  s.Lb(2, kTwoStageHighCutHz);
  s.La(2, 2700);
}

void SetupMetalStyle(Engine& e) {
  SlotDesigner s(e);
  SetupDrive(e);
  s.Lp(81, 2000, 1.4);
  s.Hs(82, 3100, 3, 12);
  s.Lb(0, kTwoStageLowCutHz);
  s.La(0, kTwoStageHighCutHz);
  SetupTwoStageOnePoles(s);
  s.La(3, 6500);
  s.Hp(83, 730, 1.4);
  s.Lp(84, 3600, 1.4);
  s.Hs(106, 6220, 1, 8.4);
  s.Lp(85, 400, 0.755);
  s.Hp(86, 9700, 0.555);
  s.Lp(87, 5000, 1.65);
  s.CombDelaysMs(0, 5.1, 0.31);
  DesignSecondCombFront(s);
  s.Pk(92, 4100, 1.2, 2.7);
  s.Pk(93, 900, 3, 3.6);
  s.Pk(94, 6000, 2, 10.2);
  SetupToneKnobs(e);  // the low knob also sets the low branch's drive
}

void SetupDriveAmp(Engine& e, int model) {
  SlotDesigner s(e);
  switch (model) {
    case 5:
      SetupDrive(e);
      SetupTwoStageOnePoles(s);
      SetupToneKnobs(e);
      break;
    case 6:
      SetupDrive(e);
      SetupToneKnobs(e);
      break;
    case 7:
      SetupDrive(e);
      s.Lp(80, 3500, 1.736);
      SetupLow(e);
      s.Lsn(81, 900, 3.5, 5.1);
      s.Pk(82, 1900, 3, 5.1);
      s.Pk(83, 1200, 5, -1.5);
      SetupHigh(e);
      SetupMid(e);
      break;
    case 8:
      s.La(3, 2750);
      s.Hp(83, 785, 1.4);
      s.Lp(84, 4400, 1.4);
      s.Lp(85, 85, 0.755);
      s.Hp(86, 2950, 0.85);
      s.Lp(87, 200, 0.7);
      s.La(5, 4950);
      s.Hp(95, 180, 1.4);
      s.Lp(96, 5100, 1.4);
      s.Lp(97, 160, 0.555);
      SetupToneKnobs(e);
      SetupDrive(e);
      break;
    case 9:
      SetupMetalStyle(e);
      break;
    case 10:
      s.CombDelaysMs(4, 6.9, 0.31);
      DesignCombFront(s);
      s.Pk(112, 3000, 3, 1.5);
      s.Pk(113, 1700, 0.9, 6.6);
      s.Pk(114, 11000, 2, 5.1);
      s.Pk(115, 146, 0.1, -15);
      s.La(3, 2750);
      s.Hp(83, 555, 1.4);
      s.Lp(84, 4400, 1.4);
      s.Hp(85, 3600, 1.9);
      s.Bp(86, 7900, 1);
      s.Lp(87, 1320, 0.75);
      s.Hs(107, 15000, 1, 10);
      SetupToneKnobs(e);
      SetupDrive(e);
      break;
    case 11:
      s.La(4, 3450);
      s.Hp(98, 710, 1.4);
      s.Lp(99, 4250, 1.4);
      s.Lp(100, 455, 0.686);
      s.Bp(101, 3900, 1);
      s.Hs(102, 14000, 1, 10);
      s.Hs(103, 7000, 1, 10);
      s.La(5, 5850);
      s.Hp(95, 660, 1.4);
      s.Lp(96, 2350, 1.4);
      s.Lp(97, 2500, 0.462);
      s.Hs(104, 5000, 1, 5.6);
      s.Hs(105, 10000, 1, 10);
      SetupToneKnobs(e);
      SetupDrive(e);
      break;
    default:  // 12, Darktorsion
      s.CombDelaysMs(4, 6.9, 0.5);
      DesignCombFront(s);
      s.Pk(112, 3000, 1.9, -0.3);
      s.Pk(113, 800, 1, 3.9);
      s.Pk(114, 6000, 2, 0);
      s.Pk(115, 146, 0.1, -15);
      s.CombDelaysMs(0, 4.8, 0.12);
      DesignSecondCombFront(s);
      s.Pk(92, 2400, 3.5, 7.2);
      s.Pk(93, 1000, 1.2, 0);
      s.Pk(94, 10300, 2, 15.6);
      s.Hp(83, 800, 1.4);
      s.Lp(84, 4200, 1.4);
      s.Lp(85, 11300, 3);
      SetupDrive(e);
      SetupToneKnobs(e);
      break;
  }
}

void SetupPedal(Engine& e, int model) {
  SlotDesigner s(e);
  switch (model) {
    case 13:
      SetupMid(e);
      SetupDrive(e);
      s.Lb(0, 400);
      s.Pk(81, 100, 2.85, 2);
      s.Hs(82, 900, 3, 4.2);
      break;
    case 14:
      SetupToneKnobs(e);
      SetupDrive(e);
      s.Hp(81, 200, 3);
      s.Lp(85, 3000, 3);
      ResetOctaveVoice(e);
      break;
    default:  // 15
      SetupToneKnobs(e);
      SetupDrive(e);
      s.Ls(81, 200, 3, 0);  // flat until the low knob next moves
      s.Pk(82, 1332, 2, -3.84);
      s.Bp(85, 7000, 1.49);
      s.Lb(0, 100);
      s.Lb(1, 1300);
      s.La(0, 6250);
      s.La(1, 6050);
      s.La(2, 6050);
      s.La(3, 2500);
      s.La(4, 8700);
      break;
  }
}

}  // namespace

double DriveAmount(double d) { return 2000.0 * std::pow(10.0, 5.0 * (0.7 * d + 0.3 - 1.0)); }

void SetupDriveModel(Engine& e, int model) {
  e.model = model;
  if (model < 0 || model >= kDriveModelCount) return;
  if (model <= 4) {
    SetupCleanAmp(e, model);
  } else if (model <= 12) {
    SetupDriveAmp(e, model);
  } else {
    SetupPedal(e, model);
  }
}

void SetupDrive(Engine& e) { SetupDriveFor(e, e.model); }
void SetupLow(Engine& e) { SetupLowFor(e, e.model); }
void SetupMid(Engine& e) { SetupMidFor(e, e.model); }
void SetupHigh(Engine& e) { SetupHighFor(e, e.model); }

void SetDriveKnob(Engine& e, double v) {
  e.knobs.drive = v;
  SetupDrive(e);
}

void SetLowKnob(Engine& e, double v) {
  e.knobs.low = v;
  SetupLow(e);
}

void SetMidKnob(Engine& e, double v) {
  e.knobs.mid = v;
  SetupMid(e);
}

void SetHighKnob(Engine& e, double v) {
  e.knobs.high = v;
  SetupHigh(e);
}
