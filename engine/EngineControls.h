// The engine quantities the parameter handler sets: each setter takes the parameter's raw
// value, derives the gains, flags and filter designs the chain reads, and does nothing
// else (no display work). The drive knobs, the model switch and the gate release have
// their setters beside their set-ups (ModelCatalogue.h, Engine.h); the cabinet voicing in
// CabinetVoicings.h; the tuner's in Tuner.h.
#pragma once

struct Engine;

// Fixed biquad slots of the amplifier's colour stage and the tone section.
constexpr int kColourBandSlot = 71;
constexpr int kPresenceShelfSlot = 72;
constexpr int kBassShelfSlot = 68;
constexpr int kBassBandSlot = 73;
constexpr int kTrebleShelfSlot = 69;
constexpr int kLoudnessShelfSlot = 70;
constexpr int kLoudnessBandSlot = 74;

constexpr double kIrDryOffDb = -48.0;  // the dry level's bottom: no dry signal at all

// The laws behind the value texts, shared with the handler's display.
double GateThresholdDb(double v);  // -100 to 0
double ToneGainDb(double v);       // bass and treble shelves, -12 to +12
double LoudnessGainDb(double v);   // 0 to -30
double IrDryLevelDb(double v);     // -48 (off) to +24, 0 at v = 0.5
double IrWetLevelDb(double v);     // -24 to +24

void SetGateOn(Engine& engine, double v);
void SetGateThreshold(Engine& engine, double v);

void SetDriveOn(Engine& engine, double v);
void SetDriveLevel(Engine& engine, double v);
// kDstPreset: the truncated value picks the model; outside 0 to 15 the drive stage passes
// the signal unchanged.
void SelectDriveModel(Engine& engine, double value);
// kAmpColor and kAmpPresence share the colour band-pass: each re-designs it with the
// other's last setting.
void SetAmpColour(Engine& engine, double v);
void SetAmpPresence(Engine& engine, double v);

void SetMainBass(Engine& engine, double v);
void SetMainTreble(Engine& engine, double v);
void SetLoudness(Engine& engine, double v);
void SetMainVolume(Engine& engine, double v);

// The impulse-response stage: on for any non-zero value, mixed with the dry signal by the
// two levels.
void SetIrStageOn(Engine& engine, double v);
void SetIrDryLevel(Engine& engine, double v);
void SetIrWetLevel(Engine& engine, double v);
// The loaded response's normalisation gain.
void SetImpulseLevel(Engine& engine, double gain);
