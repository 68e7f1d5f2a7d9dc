// MIDI controllers reach their parameters through the editor's controls, as a user's
// edit would: through the binary, with the editor the plug-in builds.
#include "tests/host/PluginFixture.h"

#include "amp/ParamIds.h"

namespace {

using vsthost::MidiBytes;

class EditorMidiTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    host->Start();
  }
  void SelectModel(int model) { host->SetParameter(kDstPreset, float(model) / (kNumModels - 1)); }
};

TEST_F(EditorMidiTest, VolumeControllerSetsTheVolumeThroughItsKnob) {
  host->SendMidi({MidiBytes{0xB0, 7, 127}});
  EXPECT_FLOAT_EQ(host->GetParameter(kMainVolume), 1.0f);
  host->SendMidi({MidiBytes{0xB0, 7, 0}});
  EXPECT_FLOAT_EQ(host->GetParameter(kMainVolume), 0.0f);
  host->SendMidi({MidiBytes{0xB0, 8, 64}});
  EXPECT_FLOAT_EQ(host->GetParameter(kMainBass), 64.0f / 127.0f);
}

TEST_F(EditorMidiTest, PedalControllersFollowTheSelectedModel) {
  for (int model : {0, 5, 15}) {
    SCOPED_TRACE(model);
    SelectModel(model);
    host->SendMidi({MidiBytes{0xB0, 21, 127}, MidiBytes{0xB0, 20, 32}, MidiBytes{0xB0, 25, 100}});
    EXPECT_FLOAT_EQ(host->GetParameter(kPedalDrive + model), 1.0f);
    EXPECT_FLOAT_EQ(host->GetParameter(kPedalLevel + model), 32.0f / 127.0f);
    EXPECT_FLOAT_EQ(host->GetParameter(kPedalMid + model), 100.0f / 127.0f);
  }
  // Another model's knobs were left alone.
  EXPECT_NE(host->GetParameter(kPedalDrive + 1), 1.0f);
  // Model 4 has no drive knob: its drive controller reaches no parameter.
  SelectModel(4);
  const float before = host->GetParameter(kPedalDrive + 4);
  host->SendMidi({MidiBytes{0xB0, 21, 127}});
  EXPECT_FLOAT_EQ(host->GetParameter(kPedalDrive + 4), before);
}

}  // namespace
