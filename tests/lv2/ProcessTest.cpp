// Processing through the bundle: the same sound as the VST2 plug-in for the same settings
// and block size, whatever sizes the host runs, with or without urid:map and options.
#include <gtest/gtest.h>

#include "lv2/atom/atom.h"
#include "lv2/buf-size/buf-size.h"
#include "lv2/options/options.h"
#include "tests/lv2/Lv2TestHost.h"
#include "tests/lv2/Reference.h"

namespace lv2test {
namespace {

// A high-gain model into a cabinet voicing, the drive pedal on.
const Settings kHighGain = {{"drive_on", 1.0f}, {"model", 9.0f}, {"drive", 0.8f}, {"cabinet", 25.0f}};
constexpr float kFloatRounding = 1e-5f;

Frames RenderLv2(const InstanceOptions& options, const Settings& settings, const std::vector<float>& mono,
                 const std::vector<uint32_t>& runs) {
  Instance instance(options);
  EXPECT_TRUE(instance.Valid());
  if (!instance.Valid()) return {};
  Apply(instance, settings);
  return instance.Process(mono, runs);
}

TEST(ProcessTest, PluckThroughHighGainModelAndCabinetEqualsTheVst2Rendering) {
  const std::vector<float> pluck = Pluck();
  auto vst2 = StartVst2(kHighGain);
  ASSERT_TRUE(vst2);
  const Frames reference = ProcessVst2(*vst2, pluck);
  const Frames lv2 = RenderLv2({}, kHighGain, pluck, {512});
  ASSERT_TRUE(AllFinite(lv2));
  EXPECT_GT(RmsDb(lv2), -30.0);
  EXPECT_LE(MaxDifference(lv2, reference), kFloatRounding);
}

// Runs of any size, the host's announced block length exceeded, no options at all, no
// urid:map: the plug-in processes in its own pieces and sounds the same.
TEST(ProcessTest, AnyRunSizeAndMissingFeaturesSoundTheSame) {
  const std::vector<float> pluck = Pluck(0.5);
  const Frames reference = RenderLv2({}, kHighGain, pluck, {512});
  struct Case {
    const char* name;
    InstanceOptions options;
    std::vector<uint32_t> runs;
  };
  const Case cases[] = {
      {"odd sizes and empty runs", {}, {0, 1, 7, 0, 333, 4096, 511, 2}},
      {"more than announced", {44100.0, true, 64}, {64, 1000, 3}},
      {"no options", {44100.0, true, 0}, {512, 77}},
      {"no urid:map", {44100.0, false, 512}, {512}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Frames out = RenderLv2(c.options, kHighGain, pluck, c.runs);
    EXPECT_LE(MaxDifference(out, reference), kFloatRounding);
  }
}

// A host that changes its block length later tells it through the options interface.
TEST(ProcessTest, ABlockLengthSetLaterThroughTheOptionsInterfaceSoundsTheSame) {
  const std::vector<float> pluck = Pluck(0.5);
  const Frames reference = RenderLv2({}, kHighGain, pluck, {512});
  Instance instance;
  const auto* options = static_cast<const LV2_Options_Interface*>(
      lilv_instance_get_extension_data(instance.Raw(), LV2_OPTIONS__interface));
  ASSERT_NE(options, nullptr);
  const int32_t frames = 96;
  const LV2_Options_Option set[] = {
      {LV2_OPTIONS_INSTANCE, 0, instance.Map().Map(LV2_BUF_SIZE__nominalBlockLength), sizeof frames,
       instance.Map().Map(LV2_ATOM__Int), &frames},
      {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
  EXPECT_EQ(options->set(lilv_instance_get_handle(instance.Raw()), set), uint32_t(LV2_OPTIONS_SUCCESS));
  Apply(instance, kHighGain);
  EXPECT_LE(MaxDifference(instance.Process(pluck, {96, 1000}), reference), kFloatRounding);
}

}  // namespace
}  // namespace lv2test
