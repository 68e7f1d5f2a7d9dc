// The parameter change handler inside the real plug-in and editor: the central display,
// the pedals following the engine, the stepping and momentary buttons, the panels it
// shows and hides, and the open and restore passes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorRefs.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "amp/ParamChangeHandler.h"
#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"
#include "platform/Dialogs.h"
#include "tests/amp/HostedAmp.h"
#include "tests/cabinet/TempFolder.h"
#include "tests/cabinet/WaveBytes.h"

namespace {

// The plug-in with a count of handler calls, opened as a host opens it.
class CountingPlug : public VoltrexPlug {
 public:
  void OnParamChange(int index) override {
    ++changes;
    VoltrexPlug::OnParamChange(index);
  }
  int changes = 0;
};

class ParamHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hosted = std::make_unique<HostedAmp<CountingPlug>>();
    plug = &hosted->amp();
    Dispatch(vst2::effOpen);
  }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
    return hosted->Dispatch(opcode, index, value, ptr);
  }
  IGraphics& Editor() { return *plug->GetGUI(); }
  const EditorRefs& Refs() { return plug->EditorControls(); }
  double Value(int index) { return plug->GetParam(index)->Value(); }

  // A user edit: the controls bound to the parameter take the value and pass it on.
  void Edit(int index, double normalized) { Editor().Forward(index, normalized); }
  void Press(int index) {
    Edit(index, 1.0);
    Edit(index, 0.0);
  }
  void SelectModel(int model) { Edit(kDstPreset, model / 15.0); }

  double NameStrip() { return Editor().GetControl(Refs().nameStrip)->GetValue(); }
  double ValueBar() { return Editor().GetControl(Refs().valueBar)->GetValue(); }
  std::string Text() { return std::string(Refs().valueText->GetText()); }
  void ExpectDisplay(int nameStep, double bar, const std::string& text) {
    EXPECT_DOUBLE_EQ(NameStrip(), nameStep / 31.0);
    EXPECT_DOUBLE_EQ(ValueBar(), bar);
    EXPECT_EQ(Text(), text);
  }

  // Whether some visible control is bound to the parameter.
  bool Shown(int param) {
    for (int i = 0; i < Editor().NControls(); ++i) {
      const IControl* control = Editor().GetControl(i);
      if (control->ParamIdx() == param && !control->IsHidden()) return true;
    }
    return false;
  }
  bool ShownByIndex(int controlIdx) { return !Editor().GetControl(controlIdx)->IsHidden(); }
  // The models whose pedal controls are visible.
  std::vector<int> ShownPedals() {
    std::vector<int> models;
    for (int m = 0; m < kNumModels; ++m) {
      if (Shown(kPedalLed + m)) models.push_back(m);
    }
    return models;
  }

  std::unique_ptr<HostedAmp<CountingPlug>> hosted;
  CountingPlug* plug = nullptr;
};

TEST_F(ParamHandlerTest, MainControlsShowNameValueBarAndText) {
  Edit(kGateThreshold, 0.0);
  ExpectDisplay(2, 0.0, "-100 dB");
  Edit(kGateThreshold, 1.0);
  ExpectDisplay(2, 1.0, "0 dB");
  EXPECT_DOUBLE_EQ(plug->EngineState().gateThreshold, 1.0);
  Edit(kGateRelease, 0.25);
  ExpectDisplay(3, 0.25, "2.50");
  Edit(kAmpColor, 0.3);
  ExpectDisplay(7, 0.3, "3.00");
  Edit(kAmpPresence, 0.9);
  ExpectDisplay(8, 0.9, "9.00");
  Edit(kMainBass, 0.75);
  ExpectDisplay(12, 0.75, "6.0 dB");
  Edit(kMainTreble, 0.0);
  ExpectDisplay(13, 0.0, "-12.0 dB");
  Edit(kMainVolume, 0.25);
  ExpectDisplay(14, 0.25, "2.50");
  // The loudness knob is flat at its left end: text and bar run the other way.
  Edit(kLoudness, 0.0);
  ExpectDisplay(15, 1.0, "10.00");
  Edit(kLoudness, 1.0);
  ExpectDisplay(15, 0.0, "0.00");
}

TEST_F(ParamHandlerTest, GateSwitchLightsItsLampAndShowsOnOff) {
  Edit(kGateOn, 1.0);
  ExpectDisplay(1, 1.0, "ON");
  EXPECT_EQ(Value(kGateLed), 1.0);
  EXPECT_TRUE(plug->EngineState().gateOn);
  Edit(kGateOn, 0.0);
  ExpectDisplay(1, 0.0, "OFF");
  EXPECT_EQ(Value(kGateLed), 0.0);
}

TEST_F(ParamHandlerTest, ImpulseLevelsShowDecibelsAndDryBottomIsSilence) {
  Press(kDisplayButton);  // the level knobs live on the response panel
  Edit(kIrDryLevel, 0.25);
  Edit(kIrDryLevel, 0.0);
  ExpectDisplay(26, 0.0, "-inf dB");
  EXPECT_EQ(plug->EngineState().dryGain, 0.0);
  Edit(kIrDryLevel, 0.5);
  ExpectDisplay(26, 0.5, "0.0 dB");
  EXPECT_DOUBLE_EQ(plug->EngineState().dryGain, 1.0);
  Edit(kIrWetLevel, 0.75);
  ExpectDisplay(27, 0.75, "12.0 dB");
}

TEST_F(ParamHandlerTest, ImpulseButtonTogglesTheStageWithItsLampAndDisplay) {
  Press(kIrOnButton);
  EXPECT_TRUE(plug->EngineState().cabinetOn);
  EXPECT_EQ(Value(kIrLed), 1.0);
  ExpectDisplay(25, 1.0, "ON");
  Press(kIrOnButton);
  EXPECT_FALSE(plug->EngineState().cabinetOn);
  EXPECT_EQ(Value(kIrLed), 0.0);
  ExpectDisplay(25, 0.0, "OFF");
}

TEST_F(ParamHandlerTest, PedalKnobsFeedTheEngineAndShowTheirModelsNames) {
  SelectModel(7);  // "Metal Charter": Distortion, Attack, Punch, Edge
  Edit(kPedalDrive + 7, 0.8);
  EXPECT_EQ(Value(kDstDrive), 0.8);
  ExpectDisplay(18, 0.8, "8.00");
  Edit(kPedalLow + 7, 0.6);
  ExpectDisplay(19, 0.6, "1.00");
  Edit(kPedalMid + 7, 0.3);
  ExpectDisplay(20, 0.3, "-2.00");
  Edit(kPedalHigh + 7, 0.0);
  ExpectDisplay(21, 0.0, "-5.00");
  Edit(kPedalLevel + 7, 0.45);
  ExpectDisplay(5, 0.45, "4.50");
  EXPECT_EQ(Value(kDstLevel), 0.45);

  SelectModel(14);
  Edit(kPedalMid + 14, 0.2);
  EXPECT_DOUBLE_EQ(NameStrip(), 23 / 31.0);
  Edit(kPedalHigh + 14, 1.0);
  EXPECT_DOUBLE_EQ(NameStrip(), 24 / 31.0);
  SelectModel(6);
  Edit(kPedalLow + 6, 0.1);
  EXPECT_DOUBLE_EQ(NameStrip(), 17 / 31.0);
  SelectModel(13);
  Edit(kPedalMid + 13, 0.9);
  EXPECT_DOUBLE_EQ(NameStrip(), 22 / 31.0);
  SelectModel(2);
  Edit(kPedalDrive + 2, 0.7);
  ExpectDisplay(6, 0.7, "7.00");
}

TEST_F(ParamHandlerTest, PedalSwitchTurnsTheDriveOnWithItsLamp) {
  const int changesBefore = plug->changes;
  Edit(kPedalSwitch + 0, 1.0);
  EXPECT_EQ(Value(kDstOn), 1.0);
  EXPECT_EQ(Value(kPedalLed + 0), 1.0);
  EXPECT_TRUE(plug->EngineState().driveOn);
  ExpectDisplay(4, 1.0, "ON");
  // Switch, engine copy, and the lamp's two controls (lamp and panel): every chain of
  // forwards ends at an unchanged value.
  EXPECT_EQ(plug->changes - changesBefore, 4);
}

TEST_F(ParamHandlerTest, KnobSettingsCarryOverToTheNextModel) {
  Edit(kPedalLow + 0, 0.2);
  Edit(kPedalMid + 0, 0.8);
  Edit(kPedalSwitch + 0, 1.0);
  SelectModel(2);
  EXPECT_EQ(Value(kPedalLow + 2), 0.2);
  EXPECT_EQ(Value(kPedalMid + 2), 0.8);
  EXPECT_EQ(Value(kPedalSwitch + 2), 1.0);
  EXPECT_EQ(Value(kPedalLed + 2), 1.0);
  EXPECT_EQ(Value(kDstLow), 0.2);
  EXPECT_EQ(Value(kDstMid), 0.8);
  EXPECT_EQ(plug->EngineState().knobs.low, 0.2);
  EXPECT_EQ(plug->EngineState().model, 2);
  EXPECT_EQ(ShownPedals(), std::vector<int>{2});
}

TEST_F(ParamHandlerTest, KnobsOfOtherPedalsChangeNothing) {
  Edit(kMainVolume, 0.3);
  const double strip = NameStrip();
  const std::string text = Text();
  Edit(kPedalLevel + 5, 0.1);
  Edit(kPedalSwitch + 9, 1.0);
  Edit(kPedalHigh + 15, 0.9);
  EXPECT_EQ(Value(kPedalLevel + 5), 0.1);  // stored
  EXPECT_EQ(Value(kDstLevel), 0.5);
  EXPECT_EQ(Value(kDstOn), 0.0);
  EXPECT_EQ(Value(kDstHigh), 0.5);
  EXPECT_EQ(NameStrip(), strip);
  EXPECT_EQ(Text(), text);
}

TEST_F(ParamHandlerTest, PedalsWithoutSomeKnobsHideThemAndKeepTheEngineValue) {
  Edit(kPedalDrive + 0, 0.7);
  SelectModel(4);  // no drive knob
  EXPECT_FALSE(Shown(kPedalDrive + 4));
  EXPECT_TRUE(Shown(kPedalLevel + 4));
  EXPECT_TRUE(Shown(kPedalLow + 4));
  EXPECT_EQ(Value(kDstDrive), 0.7);
  SelectModel(13);  // no low and high knobs
  EXPECT_FALSE(Shown(kPedalLow + 13));
  EXPECT_FALSE(Shown(kPedalHigh + 13));
  EXPECT_TRUE(Shown(kPedalDrive + 13));
  EXPECT_TRUE(Shown(kPedalMid + 13));
  SelectModel(5);
  EXPECT_EQ(Value(kPedalDrive + 5), 0.7);
  EXPECT_EQ(ShownPedals(), std::vector<int>{5});
}

TEST_F(ParamHandlerTest, SteppingButtonsMoveOnPressFollowOnReleaseAndClamp) {
  Edit(kDstNext, 1.0);
  EXPECT_EQ(plug->Handler().SteppedModel(), 1);
  EXPECT_EQ(Value(kDstPreset), 0.0);  // the enum follows at the release
  Edit(kDstNext, 0.0);
  EXPECT_EQ(Value(kDstPreset), 1.0);
  EXPECT_EQ(ShownPedals(), std::vector<int>{1});

  SelectModel(15);
  Press(kDstNext);
  EXPECT_EQ(Value(kDstPreset), 15.0);
  Press(kDstPrev);
  EXPECT_EQ(Value(kDstPreset), 14.0);

  Press(kCabPrev);
  EXPECT_EQ(Value(kCabPreset), 0.0);
  Press(kCabNext);
  Press(kCabNext);
  EXPECT_EQ(Value(kCabPreset), 2.0);
  EXPECT_EQ(plug->EngineState().cabinet, 2);
  Edit(kCabPreset, 1.0);
  Press(kCabNext);
  EXPECT_EQ(Value(kCabPreset), 38.0);
}

TEST_F(ParamHandlerTest, MomentaryButtonsAtExactlyOneHalfDoNothing) {
  for (int button : {kDstPrev, kDstNext, kCabPrev, kCabNext, kIrOnButton, kTunerButton,
                     kTuningNext, kDisplayButton}) {
    // Snapped to 0 or 1 on the way in from a host; only a stored value can sit in between.
    plug->GetParam(button)->Set(0.5);
    plug->OnParamChange(button);
  }
  EXPECT_EQ(plug->Handler().SteppedModel(), 0);
  EXPECT_EQ(plug->Handler().SteppedCabinet(), 0);
  EXPECT_FALSE(plug->EngineState().cabinetOn);
  EXPECT_FALSE(plug->EngineState().tuner.on);
  EXPECT_EQ(plug->EngineState().tuner.mode, 0);
  EXPECT_FALSE(plug->Handler().DisplayPanelShown());
  EXPECT_EQ(Value(kDstPreset), 0.0);
  EXPECT_EQ(Value(kCabPreset), 0.0);
}

TEST_F(ParamHandlerTest, DisplayButtonSwapsPedalAndResponsePanel) {
  EXPECT_FALSE(ShownByIndex(Refs().responsePanel));
  EXPECT_FALSE(Shown(kIrDryLevel));
  SelectModel(3);
  Press(kDisplayButton);
  EXPECT_EQ(Value(kDisplayLed), 1.0);
  EXPECT_TRUE(ShownByIndex(Refs().responsePanel));
  EXPECT_TRUE(ShownByIndex(Refs().responseGraphIndex));
  EXPECT_TRUE(Shown(kIrDryLevel));
  EXPECT_TRUE(Shown(kIrWetLevel));
  EXPECT_TRUE(ShownPedals().empty());
  SelectModel(6);  // the panel stays; no pedal shows
  EXPECT_TRUE(ShownPedals().empty());
  Press(kDisplayButton);
  EXPECT_EQ(Value(kDisplayLed), 0.0);
  EXPECT_FALSE(ShownByIndex(Refs().responsePanel));
  EXPECT_FALSE(Shown(kIrWetLevel));
  EXPECT_EQ(ShownPedals(), std::vector<int>{6});
}

TEST_F(ParamHandlerTest, TunerButtonSwapsDisplayAndTunerAndTuningsStep) {
  Press(kTunerButton);
  EXPECT_TRUE(plug->EngineState().tuner.on);
  EXPECT_TRUE(ShownByIndex(Refs().tunerBackground));
  EXPECT_TRUE(ShownByIndex(Refs().tunerMeter));
  EXPECT_FALSE(Refs().tunerText->IsHidden());
  EXPECT_TRUE(Shown(kTuningNext));
  EXPECT_FALSE(ShownByIndex(Refs().nameStrip));
  EXPECT_TRUE(Refs().valueText->IsHidden());

  Press(kTuningNext);
  EXPECT_EQ(plug->EngineState().tuner.mode, 1);
  EXPECT_EQ(Value(kTuning), 1.0);  // saved with the state
  EXPECT_EQ(Refs().tuningName->GetText(), "Standard E-E,A,D,G,B,E");
  EXPECT_STREQ(plug->EngineState().tuner.hints[19], "6th string");

  Press(kTunerButton);
  EXPECT_FALSE(plug->EngineState().tuner.on);
  EXPECT_FALSE(ShownByIndex(Refs().tunerBackground));
  EXPECT_FALSE(Shown(kTuningNext));
  EXPECT_TRUE(ShownByIndex(Refs().nameStrip));
}

TEST_F(ParamHandlerTest, HostSetTuningKeepsTheNoteNames) {
  hosted->Effect()->setParameter(hosted->Effect(), kTuning, 3 / 11.0f);
  EXPECT_EQ(plug->EngineState().tuner.mode, 3);
  EXPECT_STREQ(plug->EngineState().tuner.hints[19], "E2");
}

// ---------------------------------------------------------------------------------------
// Open and restore

std::vector<double> Values(VoltrexPlug& plug) {
  std::vector<double> values;
  for (int i = 0; i < kNumParams; ++i) values.push_back(plug.GetParam(i)->Value());
  return values;
}

TEST_F(ParamHandlerTest, OpeningShowsOnlyTheSelectedPedalAndNoPanel) {
  EXPECT_EQ(ShownPedals(), std::vector<int>{0});
  EXPECT_FALSE(ShownByIndex(Refs().responsePanel));
  EXPECT_FALSE(ShownByIndex(Refs().tunerBackground));
  EXPECT_EQ(Text(), "");
}

TEST_F(ParamHandlerTest, RestoredChunkGivesBackEveryValueAcrossAModelChange) {
  SelectModel(3);
  Edit(kPedalLow + 3, 0.2);
  Edit(kPedalMid + 3, 0.8);
  Edit(kPedalSwitch + 3, 1.0);
  Edit(kPedalLevel + 9, 0.1);  // an inactive pedal's own setting
  void* data = nullptr;
  const intptr_t size = Dispatch(vst2::effGetChunk, 1, 0, &data);
  const std::vector<uint8_t> saved(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  const std::vector<double> before = Values(*plug);

  SelectModel(9);  // carries 3's knobs over onto 9
  ASSERT_NE(Values(*plug), before);
  ASSERT_EQ(Dispatch(vst2::effSetChunk, 1, intptr_t(saved.size()), const_cast<uint8_t*>(saved.data())), 1);
  EXPECT_EQ(Values(*plug), before);
  EXPECT_EQ(plug->EngineState().model, 3);
  EXPECT_EQ(plug->EngineState().knobs.low, 0.2);
  EXPECT_EQ(ShownPedals(), std::vector<int>{3});
  // A user's model change still carries the settings over.
  SelectModel(1);
  EXPECT_EQ(Value(kPedalMid + 1), 0.8);
}

TEST_F(ParamHandlerTest, StoredButtonPressesActOnNothing) {
  std::vector<double> values = Values(*plug);
  for (int button : {kIrOnButton, kDstPrev, kDstNext, kCabPrev, kCabNext, kPresetLcdClick,
                     kPresetPrev, kPresetNext, kTunerButton, kTuningNext, kIrPrev, kIrNext,
                     kDisplayButton}) {
    plug->GetParam(button)->Set(1.0);
  }
  const std::vector<double> pressed = Values(*plug);
  ByteChunk chunk;
  ASSERT_TRUE(plug->SerializeState(chunk));
  for (int round = 0; round < 2; ++round) {
    ASSERT_GT(plug->UnserializeState(chunk, 0), 0);
    EXPECT_EQ(Values(*plug), pressed);
    EXPECT_FALSE(plug->EngineState().cabinetOn);
    EXPECT_FALSE(plug->EngineState().tuner.on);
    EXPECT_EQ(plug->EngineState().tuner.mode, 0);
    EXPECT_FALSE(plug->Handler().DisplayPanelShown());
    EXPECT_EQ(plug->Handler().SteppedModel(), 0);
    EXPECT_EQ(plug->Handler().SteppedCabinet(), 0);
  }
}

TEST_F(ParamHandlerTest, RestoreShowsThePanelsTheStateCallsFor) {
  Press(kDisplayButton);
  Press(kTunerButton);
  ByteChunk chunk;
  ASSERT_TRUE(plug->SerializeState(chunk));
  HostedAmp<CountingPlug> otherHost;
  CountingPlug& other = otherHost.amp();
  otherHost.Dispatch(vst2::effOpen);
  ASSERT_GT(other.UnserializeState(chunk, 0), 0);
  const EditorRefs& refs = other.EditorControls();
  // The lamp says the response panel was open; the tuner is not part of the state.
  EXPECT_TRUE(other.Handler().DisplayPanelShown());
  EXPECT_FALSE(other.GetGUI()->GetControl(refs.responsePanel)->IsHidden());
  EXPECT_TRUE(other.GetGUI()->GetControl(refs.tunerBackground)->IsHidden());
}

// ---------------------------------------------------------------------------------------
// Impulse-response files

class ImpulseHandlerTest : public ParamHandlerTest {
 protected:
  void SetUp() override {
    ParamHandlerTest::SetUp();
    for (const char* name : {"a", "b", "c"}) {
      const std::vector<double> response(size_t(name[0] - 'a' + 2), 0.5);
      ASSERT_TRUE(WriteFile(folder.Path() + name + ".wav", Mono16(response, 44100)));
    }
    platform::SetMessageSink(
        [](const std::string& text, const std::string& caption, void* user) {
          static_cast<std::vector<std::string>*>(user)->push_back(caption + ": " + text);
        },
        &messages);
  }
  void TearDown() override { platform::SetMessageSink(nullptr, nullptr); }

  void Choose(const std::string& path) {
    Refs().irFileSelector->SetLastSelectedFile(path);
    Edit(kIrFile, 1.0 - Value(kIrFile));  // the selector's value steps on every choice
  }
  std::string ShownName() { return std::string(Refs().irFileName->GetText()); }
  std::string SavedPath() { return Refs().irFileSelector->GetLastSelectedFile(); }
  // A response of n samples of 0.5 is normalised by 1 / (0.5 sqrt(n) sqrt(2)).
  static double GainOf(int samples) { return 1.0 / (std::sqrt(0.25 * samples) * std::sqrt(2.0)); }

  TempFolder folder;
  std::vector<std::string> messages;
};

TEST_F(ImpulseHandlerTest, ChosenFileLoadsAndTheButtonsStepThroughItsFolder) {
  Choose(folder.Path() + "b.wav");
  EXPECT_EQ(ShownName(), "b");
  EXPECT_NEAR(plug->EngineState().impulseLevel, GainOf(3), 1e-4);
  Press(kIrNext);
  EXPECT_EQ(ShownName(), "c");
  EXPECT_NEAR(plug->EngineState().impulseLevel, GainOf(4), 1e-4);
  // The state saves the file now loaded, not the one first chosen.
  EXPECT_EQ(SavedPath(), folder.Path() + "c.wav");
  Press(kIrNext);
  EXPECT_EQ(ShownName(), "c");
  Press(kIrPrev);
  Press(kIrPrev);
  Press(kIrPrev);
  EXPECT_EQ(ShownName(), "a");
  EXPECT_EQ(SavedPath(), folder.Path() + "a.wav");
  EXPECT_TRUE(messages.empty());
}

TEST_F(ImpulseHandlerTest, ShortPathsAndEmptyListsLoadNothing) {
  Choose("a.wa");
  Press(kIrNext);
  Press(kIrPrev);
  EXPECT_EQ(ShownName(), "");
  EXPECT_EQ(plug->EngineState().impulseLevel, 1.0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ImpulseHandlerTest, RestoredPathLoadsAndAMissingOneIsReported) {
  ByteChunk chunk;
  Choose(folder.Path() + "c.wav");
  ASSERT_TRUE(plug->SerializeState(chunk));
  HostedAmp<CountingPlug> otherHost;
  CountingPlug& other = otherHost.amp();
  otherHost.Dispatch(vst2::effOpen);
  ASSERT_GT(other.UnserializeState(chunk, 0), 0);
  EXPECT_EQ(other.EditorControls().irFileName->GetText(), "c");
  EXPECT_NEAR(other.EngineState().impulseLevel, GainOf(4), 1e-4);

  const std::string missing = folder.Path() + "gone.wav";
  Refs().irFileSelector->SetLastSelectedFile(missing);
  ByteChunk missingChunk;
  ASSERT_TRUE(plug->SerializeState(missingChunk));
  ASSERT_GT(other.UnserializeState(missingChunk, 0), 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Error: File not found:\n" + missing});
  EXPECT_NEAR(other.EngineState().impulseLevel, GainOf(4), 1e-4);  // the previous one stays
}

TEST_F(ImpulseHandlerTest, AMessageRaisedByHostAutomationWaitsForTheEditorsTick) {
  Choose(folder.Path() + "a.wav");
  std::filesystem::remove(folder.Path() + "b.wav");
  // Hosts automate from their audio thread, where a modal box would stall the audio.
  vst2::AEffect* effect = hosted->Effect();
  effect->setParameter(effect, kIrNext, 1.0f);
  effect->setParameter(effect, kIrNext, 0.0f);
  EXPECT_TRUE(messages.empty());
  plug->GetGUI()->OnTimerTick();
  EXPECT_EQ(messages, std::vector<std::string>{"Error: File not found:\n" + folder.Path() + "b.wav"});
  plug->GetGUI()->OnTimerTick();
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
