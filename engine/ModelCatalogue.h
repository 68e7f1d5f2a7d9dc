// The 16 drive/amp models' set-ups: the filter designs, one-pole cut-offs and delay
// lengths a model makes when it is selected, and the laws by which the pedal's drive, low,
// mid and high knobs re-design its slots or set its drive amounts.
#pragma once

struct Engine;

constexpr int kDriveModelCount = 16;  // models 0 to 15; other indices skip the drive

// Stores the model index and, for 0 to 15, designs everything the model's kernel reads,
// knob-dependent designs included, so that a model sounds the same whatever model was
// selected before it. Model 14 also restarts its octave voice (allocates).
void SetupDriveModel(Engine& engine, int model);

// Re-design the selected model's knob-dependent slots or drive amounts from the engine's
// knob copies; a model without an entry for the knob is left as it is.
void SetupDrive(Engine& engine);
void SetupLow(Engine& engine);
void SetupMid(Engine& engine);
void SetupHigh(Engine& engine);

// Entry points of the parameter handler: keep the raw value, then run the knob's set-up.
void SetDriveKnob(Engine& engine, double v);
void SetLowKnob(Engine& engine, double v);
void SetMidKnob(Engine& engine, double v);
void SetHighKnob(Engine& engine, double v);

// The drive amount law of models 5 to 12: 0.632 at d = 0 to 2000 at d = 1.
double DriveAmount(double d);
