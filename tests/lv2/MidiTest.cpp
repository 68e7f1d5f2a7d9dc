// MIDI through the atom input: controllers 7 to 26 and program changes act as they do in
// the VST2 plug-in; events the plug-in does not know are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/lv2/Lv2TestHost.h"
#include "tests/lv2/Reference.h"

namespace lv2test {
namespace {

const Settings kHighGain = {{"drive_on", 1.0f}, {"model", 9.0f}, {"cabinet", 25.0f}};
constexpr float kFloatRounding = 1e-5f;

Frames RenderLv2(const std::vector<Midi>& midi, const std::vector<float>& mono) {
  Instance instance;
  Apply(instance, kHighGain);
  instance.Run(0);
  instance.SendMidi(midi);
  return instance.Process(mono, {512});
}

Frames RenderVst2(const std::vector<Midi>& midi, const std::vector<float>& mono) {
  auto host = StartVst2(kHighGain);
  EXPECT_TRUE(host);
  if (!host) return {};
  host->SendMidi(midi);
  return ProcessVst2(*host, mono);
}

TEST(MidiTest, ControllersAndProgramChangesActAsInTheVst2Plugin) {
  const std::vector<float> pluck = Pluck(0.5);
  struct Case {
    const char* name;
    std::vector<Midi> midi;
  };
  const Case cases[] = {
      {"volume, bass, treble", {{0xB0, 7, 30}, {0xB0, 8, 127}, {0xB0, 9, 0}}},
      {"gate and loudness", {{0xB0, 16, 127}, {0xB0, 17, 90}, {0xB0, 18, 10}, {0xB0, 15, 100}}},
      {"pedal of the active model", {{0xB0, 20, 40}, {0xB0, 21, 127}, {0xB0, 24, 0}, {0xB0, 25, 127}, {0xB0, 26, 64}}},
      {"drive off, colour, presence", {{0xB0, 19, 0}, {0xB0, 22, 5}, {0xB0, 23, 120}}},
      {"unmapped controllers", {{0xB0, 10, 127}, {0xB0, 27, 0}, {0xB0, 6, 3}}},
      {"program change", {{0xC0, 2, 0}}},
      {"program change beyond the bank", {{0xC0, 120, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Frames lv2 = RenderLv2(c.midi, pluck);
    EXPECT_LE(MaxDifference(lv2, RenderVst2(c.midi, pluck)), kFloatRounding);
  }
}

// With the host's worker a program change loads there, with the messages after it in
// order; the result is the same as loading at once.
TEST(MidiTest, ProgramChangesLoadThroughTheWorkerWhenOffered) {
  const std::vector<float> pluck = Pluck(0.5);
  const std::vector<Midi> midi = {{0xB0, 8, 20}, {0xC0, 6, 0}, {0xB0, 7, 100}};
  InstanceOptions options;
  options.withWorker = true;
  Instance instance(options);
  Apply(instance, kHighGain);
  instance.Run(0);
  instance.SendMidi(midi);
  instance.Run(0);
  EXPECT_EQ(instance.RunWorker(), 1);
  const Frames lv2 = instance.Process(pluck, {512});
  EXPECT_LE(MaxDifference(lv2, RenderVst2(midi, pluck)), kFloatRounding);
  EXPECT_EQ(instance.RunWorker(), 0) << "controllers alone load nothing";
}

// While the worker loads a preset on a thread of its own, the amp plays on: no run waits
// for the worker or writes silence for want of the amp the worker holds.
TEST(MidiTest, RunsPlayOnWhileTheWorkerLoads) {
  constexpr uint32_t kRunFrames = 64;
  std::vector<float> tone(kRunFrames);
  for (uint32_t i = 0; i < kRunFrames; ++i) tone[i] = 0.3f * std::sin(0.1f * float(i));
  InstanceOptions options;
  options.withWorker = true;
  Instance instance(options);
  Apply(instance, kHighGain);
  instance.Run(0);
  int runsDuringLoads = 0;
  for (uint8_t program = 0; program < 6; ++program) {
    instance.SendMidi({{0xC0, program, 0}});
    instance.Run(0);
    std::atomic<bool> loaded{false};
    std::thread worker([&] {
      instance.RunWorker();
      loaded = true;
    });
    while (!loaded) {
      float peak = 0.0f;
      for (const auto& frame : instance.Process(tone, {kRunFrames})) peak = std::max({peak, std::fabs(frame[0]), std::fabs(frame[1])});
      EXPECT_GT(peak, 0.0f) << "program " << int(program);
      ++runsDuringLoads;
    }
    worker.join();
  }
  EXPECT_GT(runsDuringLoads, 0);
}

TEST(MidiTest, UnknownEventTypesAndShortMessagesAreSkipped) {
  const std::vector<float> pluck = Pluck(0.25);
  Instance instance;
  Apply(instance, kHighGain);
  instance.Run(0);
  instance.SendEvent(instance.Map().Map("urn:test:unknown"), {0xB0, 7, 0, 1, 2, 3});
  instance.SendEvent(instance.Map().Map("http://lv2plug.in/ns/ext/midi#MidiEvent"), {});
  instance.SendEvent(instance.Map().Map("http://lv2plug.in/ns/ext/atom#Float"), {0, 0, 0x80, 0x3f});
  instance.SendMidi({{0xB0, 7, 30}});
  const Frames lv2 = instance.Process(pluck, {512});
  EXPECT_LE(MaxDifference(lv2, RenderVst2({{0xB0, 7, 30}}, pluck)), kFloatRounding);
}

}  // namespace
}  // namespace lv2test
