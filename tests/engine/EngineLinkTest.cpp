// The engine's two copies against one engine changed in place: random changes and
// response swaps between blocks of random sizes give the same output sample for sample,
// also when thousands of changes pile up between two blocks or the rate changes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "cabinet/ImpulseBuffer.h"
#include "cabinet/PartitionedConvolver.h"
#include "engine/CabinetVoicings.h"
#include "engine/EngineControls.h"
#include "engine/EngineLink.h"
#include "engine/ModelCatalogue.h"
#include "engine/ProcessChain.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kMaxBlock = 512;

// Changes as the parameter handler makes them, each with its value's range.
const EngineLink::Change kChanges[] = {
    SetGateOn,     SetGateThreshold, SetDriveOn,   SetDriveLevel,   SelectDriveModel,
    SetDriveKnob,  SetLowKnob,       SetMidKnob,   SetHighKnob,     SetAmpColour,
    SetAmpPresence, SelectCabinet,   SetMainBass,  SetMainTreble,   SetLoudness,
    SetMainVolume, SetIrStageOn,     SetIrDryLevel, SetIrWetLevel,  SetImpulseLevel,
};

double ValueFor(EngineLink::Change change, std::mt19937& rng) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  if (change == SelectDriveModel) return double(rng() % 16);
  if (change == SelectCabinet) return double(rng() % 39);
  return unit(rng);
}

std::unique_ptr<PartitionedConvolver> RandomResponse(std::mt19937& rng) {
  ImpulseBuffer impulse;
  impulse.SetChannelCount(1);
  const int length = 64 + int(rng() % 6000);
  impulse.SetLength(length);
  std::normal_distribution<double> noise(0.0, 0.1);
  for (int i = 0; i < length; ++i) impulse.Channel(0)[i] = noise(rng) * std::exp(-i / 800.0);
  auto convolver = std::make_unique<PartitionedConvolver>();
  convolver->SetMaxBlockSize(kMaxBlock);
  convolver->LoadImpulse(impulse);
  return convolver;
}

// One engine changed in place, as a single-threaded amp would be, and the linked pair.
struct Rig {
  Rig() {
    link.Init(kRate);
    reference = std::make_unique<Engine>(link.Audio());  // the same anti-denormal table
    referenceConvolver->SetMaxBlockSize(kMaxBlock);
    link.Reset(kRate, kMaxBlock);
  }

  void Apply(EngineLink::Change change, double value) {
    change(*reference, value);
    link.Apply(change, value);
  }

  void Swap(std::mt19937& rng) {
    const unsigned seed = unsigned(rng());
    std::mt19937 same(seed);
    referenceConvolver = RandomResponse(same);
    std::mt19937 again(seed);
    link.InstallConvolver(RandomResponse(again));
  }

  // Runs a block through both; the largest difference between their outputs.
  double Block(int frames, std::mt19937& rng) {
    std::normal_distribution<double> guitar(0.0, 0.2);
    const size_t n = static_cast<size_t>(frames);
    std::vector<double> left(n), right(n);
    for (int i = 0; i < frames; ++i) left[size_t(i)] = right[size_t(i)] = guitar(rng);
    std::vector<double> refL(left.size()), refR(left.size()), outL(left.size()), outR(left.size());
    const double* in[2] = {left.data(), right.data()};
    double* ref[2] = {refL.data(), refR.data()};
    double* out[2] = {outL.data(), outR.data()};
    ProcessChain(*reference, *referenceConvolver, in, ref, frames);
    EXPECT_TRUE(link.BeginBlock());
    ProcessChain(link.Audio(), link.AudioConvolver(), in, out, frames);
    link.EndBlock();
    double worst = 0.0;
    for (size_t i = 0; i < left.size(); ++i) worst = std::max({worst, std::fabs(refL[i] - outL[i]), std::fabs(refR[i] - outR[i])});
    return worst;
  }

  std::unique_ptr<Engine> reference;
  std::unique_ptr<PartitionedConvolver> referenceConvolver = std::make_unique<PartitionedConvolver>();
  EngineLink link;
};

TEST(EngineLink, AudioCopyFollowsChangesAndSwapsAtBlockStart) {
  std::mt19937 rng(7);
  auto rig = std::make_unique<Rig>();
  double worst = 0.0;
  int audible = 0;
  for (int block = 0; block < 400; ++block) {
    for (int n = int(rng() % 4); n > 0; --n) {
      const EngineLink::Change change = kChanges[rng() % std::size(kChanges)];
      rig->Apply(change, ValueFor(change, rng));
    }
    if (rng() % 40 == 0) rig->Swap(rng);
    worst = std::max(worst, rig->Block(1 + int(rng() % kMaxBlock), rng));
    audible += rig->link.Audio().sleeping ? 0 : 1;
  }
  EXPECT_EQ(worst, 0.0);
  EXPECT_GT(audible, 300);
  EXPECT_EQ(rig->link.Settings().masterVolume, rig->reference->masterVolume);
}

// Far more changes than the queue holds between two blocks, and a rate change: the audio
// copy is brought up to date where they are made, in order.
TEST(EngineLink, APileOfChangesAndARateChangeKeepTheCopiesInStep) {
  std::mt19937 rng(11);
  auto rig = std::make_unique<Rig>();
  rig->Apply(SetMainVolume, 0.8);
  EXPECT_EQ(rig->Block(256, rng), 0.0);
  for (int n = 0; n < 10000; ++n) {
    const EngineLink::Change change = kChanges[rng() % std::size(kChanges)];
    rig->Apply(change, ValueFor(change, rng));
    if (n % 3000 == 0) rig->Swap(rng);
  }
  double worst = 0.0;
  for (int block = 0; block < 20; ++block) worst = std::max(worst, rig->Block(1 + int(rng() % kMaxBlock), rng));
  EXPECT_EQ(worst, 0.0);

  rig->Apply(SetMainBass, 0.2);
  ResetEngine(*rig->reference, 96000.0);
  rig->link.Reset(96000.0, kMaxBlock);
  for (int block = 0; block < 20; ++block) worst = std::max(worst, rig->Block(1 + int(rng() % kMaxBlock), rng));
  EXPECT_EQ(worst, 0.0);
  EXPECT_EQ(rig->link.Audio().sampleRate, 96000.0);
}

}  // namespace
