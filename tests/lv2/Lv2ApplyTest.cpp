// The file lv2apply rendered through the bundle (one frame per run, the mono riff in both
// inputs) against the VST2 plug-in's rendering of the same riff and settings. CTest runs
// lv2apply first and names both files in the environment; without them this is skipped.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/lv2/Reference.h"
#include "tools/vsthost/WavFile.h"

namespace lv2test {
namespace {

TEST(Lv2ApplyTest, RenderedRiffIsLoudFiniteAndEqualsTheVst2Rendering) {
  const char* riffPath = std::getenv("VOLTREX_RIFF");
  const char* renderedPath = std::getenv("VOLTREX_LV2APPLY_OUT");
  if (!riffPath || !renderedPath) GTEST_SKIP() << "run through CTest after lv2apply";
  vsthost::WavAudio riff, rendered;
  std::string error;
  ASSERT_TRUE(vsthost::ReadWav(riffPath, riff, &error)) << error;
  ASSERT_TRUE(vsthost::ReadWav(renderedPath, rendered, &error)) << error;
  ASSERT_EQ(riff.channels.size(), 1u);
  ASSERT_EQ(rendered.channels.size(), 2u);
  Frames lv2;
  for (int i = 0; i < rendered.Frames(); ++i) lv2.push_back({rendered.channels[0][size_t(i)], rendered.channels[1][size_t(i)]});
  auto vst2 = StartVst2({{"drive_on", 1.0f}, {"model", 9.0f}, {"drive", 0.8f}, {"cabinet", 25.0f}}, 512, riff.sampleRate);
  ASSERT_TRUE(vst2);
  const Frames reference = ProcessVst2(*vst2, riff.channels[0]);
  EXPECT_TRUE(AllFinite(lv2));
  EXPECT_GT(RmsDb(lv2), -30.0);
  EXPECT_LE(MaxDifference(lv2, reference), 1e-5f);
}

}  // namespace
}  // namespace lv2test
