// Helpers of the chain, voicing and tuner tests: a neutral amp, block runners, responses.
#pragma once

#include <memory>
#include <vector>

#include "cabinet/PartitionedConvolver.h"
#include "engine/Engine.h"

// An initialised engine whose chain passes left + right unchanged: gate, drive and the
// impulse-response stage off, "Cabinet Off", flat tone section (bass and treble at 0.5,
// loudness 0) and volume 1.
std::unique_ptr<Engine> MakeNeutralEngine(double sampleRate);

struct StereoBlock {
  std::vector<double> left, right;
};

StereoBlock Block(std::vector<double> left, std::vector<double> right);
// Runs the block through the chain in place; returns it.
StereoBlock& Process(Engine& engine, PartitionedConvolver& convolver, StereoBlock& block);
// Copies of every filter, follower, envelope and comb state of the engine outside the
// tuner (whose needle follower moves while it runs).
std::vector<double> FilterStates(const Engine& engine);

// A convolver holding a one-sample impulse of 1.0, so the wet signal equals its input.
void LoadUnitImpulse(PartitionedConvolver& convolver);

// The cabinet cascade's level in dB at hz, gain included.
double CascadeDb(const Engine& engine, double hz);
