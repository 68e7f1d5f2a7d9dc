// Open and restore through the binary: the handler pass that both run derives the engine
// and editor from the stored values and changes none of them.
#include "tests/host/AmpFixture.h"

namespace {

constexpr int kDstOn = 3;
constexpr int kDstPreset = 4;
constexpr int kPedalSwitch = 30;
constexpr int kPedalLed = 46;
constexpr int kPedalLevel = 62;
constexpr int kPedalLow = 94;
constexpr int kPedalMid = 110;
constexpr int kPedalHigh = 126;

std::vector<float> HostValues(vsthost::PluginHost& host) {
  std::vector<float> values;
  for (int i = 0; i < 162; ++i) values.push_back(host.GetParameter(i));
  return values;
}

TEST_F(PluginTest, OpeningKeepsEveryDefault) {
  const std::vector<float> defaults = HostValues(*host);
  host->Dispatch(vst2::effOpen);
  const std::vector<float> opened = HostValues(*host);
  for (int i = 0; i < 162; ++i) {
    // The selected pedal's switch and lamp show whether the drive stage is on.
    const float expected = i == kPedalSwitch || i == kPedalLed ? defaults[kDstOn] : defaults[size_t(i)];
    EXPECT_EQ(opened[size_t(i)], expected) << i;
  }
  host->Dispatch(vst2::effOpen);
  EXPECT_EQ(HostValues(*host), opened);
}

TEST_F(AmpTest, ChunkSavedAfterPedalEditsRestoresExactly) {
  host->SetParameter(kDstPreset, 5 / 15.0f);
  host->SetParameter(kPedalSwitch + 5, 1.0f);
  host->SetParameter(kPedalLow + 5, 0.2f);
  host->SetParameter(kPedalMid + 5, 0.8f);
  host->SetParameter(kPedalHigh + 5, 0.123f);
  host->SetParameter(kPedalLevel + 11, 0.9f);  // another pedal's own setting
  const std::vector<uint8_t> saved = host->GetChunk(false);
  const std::vector<double> values = StoredValues(*host);
  EXPECT_EQ(values[9], double(0.2f));
  EXPECT_EQ(values[10], double(0.8f));

  // The model change carries the knobs onto model 11's pedal; the restore gives back
  // model 11's own setting and model 5.
  host->SetParameter(kDstPreset, 11 / 15.0f);
  ASSERT_NE(host->GetChunk(false), saved);
  ASSERT_EQ(host->SetChunk(saved, false), 1);
  EXPECT_EQ(host->GetChunk(false), saved);

  auto fresh = Started(kRate);
  ASSERT_EQ(fresh->SetChunk(saved, false), 1);
  EXPECT_EQ(fresh->GetChunk(false), saved);

  // Both sound alike: the engine took the restored values in.
  const Stereo in = TestSignal(4 * kBlock);
  auto reference = Started(kRate);
  ASSERT_EQ(reference->SetChunk(saved, false), 1);
  EXPECT_EQ(ProcessDouble(*fresh, in, kBlock).left, ProcessDouble(*reference, in, kBlock).left);
}

}  // namespace
