// What a host's scanner and its first requests see.
#include "tests/host/PluginFixture.h"

#include <cstdlib>

namespace {

TEST_F(PluginTest, EffectRecordDescribesTheAmp) {
  EXPECT_EQ(effect->magic, vst2::kEffectMagic);
  EXPECT_EQ(effect->uniqueID, 0x76786632);
  EXPECT_EQ(effect->version, 20500);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0x1039);
  EXPECT_EQ(effect->numParams, 162);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_FLOAT_EQ(effect->ioRatio, 1.0f);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(host->EffectName(), "Voltrex");
  EXPECT_EQ(host->VendorString(), "wavesmither");
  EXPECT_EQ(host->ProductString(), "");
  EXPECT_EQ(host->Dispatch(vst2::effGetPlugCategory), 1);
  EXPECT_EQ(host->Dispatch(vst2::effIdentify), 0x4E764566);
  EXPECT_EQ(host->Dispatch(vst2::effGetVstVersion), 2400);
  EXPECT_EQ(host->Dispatch(vst2::effProcessVarIo), 0);
}

TEST_F(PluginTest, TextRequestsWithoutABufferAnswerZero) {
  for (int32_t opcode : {vst2::effGetEffectName, vst2::effGetVendorString,
                         vst2::effGetProductString, vst2::effGetProgramNameIndexed,
                         vst2::effCanDo, vst2::effGetInputProperties, vst2::effEditGetRect,
                         vst2::effGetMidiKeyName, vst2::effProcessEvents}) {
    EXPECT_EQ(host->Dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
  }
}

TEST_F(PluginTest, CanDoAnswersOnlyWhatItSupports) {
  auto canDo = [&](const char* text) { return host->Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(text)); };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("sendVstEvents"), 1);
  EXPECT_EQ(canDo("sendVstMidiEvent"), 1);
  EXPECT_EQ(canDo("receiveVstEvents"), 1);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(canDo("hasCockosExtensions"), intptr_t(0xBEEF0000));
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), intptr_t(0xBEEF0000));
  EXPECT_EQ(canDo("receiveVstTimeInfoX"), 0);
  EXPECT_EQ(canDo("bypass"), 0);
  EXPECT_EQ(canDo(""), 0);
}

TEST_F(PluginTest, PinsAreOneStereoPairPerDirection) {
  for (int32_t opcode : {vst2::effGetInputProperties, vst2::effGetOutputProperties}) {
    const std::string prefix = opcode == vst2::effGetInputProperties ? "Input " : "Output ";
    vst2::VstPinProperties pin{};
    ASSERT_EQ(host->Dispatch(opcode, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 3);
    EXPECT_EQ(std::string(pin.label), prefix + "1");
    pin = {};
    ASSERT_EQ(host->Dispatch(opcode, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 1);
    EXPECT_EQ(std::string(pin.label), prefix + "2");
    EXPECT_EQ(host->Dispatch(opcode, 2, 0, &pin), 0);
    EXPECT_EQ(host->Dispatch(opcode, -1, 0, &pin), 0);
  }
}

TEST_F(PluginTest, OnlyTheTwoPresetSelectorsAreNamed) {
  for (int i = 0; i < 162; ++i) {
    const std::string name = host->ParamName(i);
    if (i == 4) {
      EXPECT_EQ(name, "Dst/Amp Preset");
    } else if (i == 12) {
      EXPECT_EQ(name, "Cab Preset");
    } else {
      EXPECT_EQ(name, "") << "index " << i;
    }
    EXPECT_EQ(host->ParamLabel(i), "") << "index " << i;
    EXPECT_EQ(host->Dispatch(vst2::effCanBeAutomated, i), 1);
  }
}

TEST_F(PluginTest, InvalidParameterIndicesWriteNothing) {
  for (int32_t opcode : {vst2::effGetParamName, vst2::effGetParamLabel, vst2::effGetParamDisplay}) {
    for (int index : {-1, 162, 100000}) {
      char text[64] = "untouched";
      host->Dispatch(opcode, index, 0, text);
      EXPECT_STREQ(text, "untouched");
    }
  }
  EXPECT_EQ(host->GetParameter(-1), 0.0f);
  EXPECT_EQ(host->GetParameter(162), 0.0f);
  host->SetParameter(162, 1.0f);  // ignored
  host->SetParameter(-5, 1.0f);
}

TEST_F(PluginTest, VendorSpecificDisplaysAnyValueOfAParameter) {
  char text[64] = {};
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 7, 4, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "Noise Soldier");
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 7, 12, text, 0.0f), 0xBEEF);
  EXPECT_STREQ(text, "Cabinet Off");
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 7, 16, text, 0.25f), 0xBEEF);
  EXPECT_STREQ(text, "0.250");
  std::strcpy(text, "untouched");
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 7, 500, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "untouched");
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 6, 4, text, 1.0f), 0);
  EXPECT_EQ(host->Dispatch(vst2::effVendorSpecific, 7, 4, nullptr, 1.0f), 0);
}

// VOLTREX_SCALE, snapped to 1, 1.5 or 2, sets the size the host is told.
TEST_F(PluginTest, EditorRectangleIsTheEditorSizeAtTheScaleFactor) {
  const struct {
    const char* scale;
    int width, height;
  } kCases[] = {{"1", 630, 440}, {"2", 1260, 880}, {"1.4", 945, 660}, {"0.6", 630, 440}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.scale);
#ifdef _WIN32
    _putenv_s("VOLTREX_SCALE", c.scale);
#else
    setenv("VOLTREX_SCALE", c.scale, 1);
#endif
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(host->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, c.height);
    EXPECT_EQ(rect->right, c.width);
  }
#ifdef _WIN32
  _putenv_s("VOLTREX_SCALE", "");
#else
  unsetenv("VOLTREX_SCALE");
#endif
}

TEST_F(PluginTest, ProgramsAreOneNamedDefault) {
  char name[64] = {};
  host->Dispatch(vst2::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Default");
  EXPECT_EQ(host->Dispatch(vst2::effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "Default");
  EXPECT_EQ(host->Dispatch(vst2::effGetProgramNameIndexed, 1, 0, name), 0);
  EXPECT_EQ(host->Dispatch(vst2::effGetProgram), 0);

  host->Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Crunch"));
  host->Dispatch(vst2::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Crunch");
  host->Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>(""));
  host->Dispatch(vst2::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Crunch");

  // Selecting the program stores and restores the current state: values survive.
  host->SetParameter(16, 0.75f);
  host->Dispatch(vst2::effSetProgram, 0, 0);
  EXPECT_FLOAT_EQ(host->GetParameter(16), 0.75f);
  host->Dispatch(vst2::effSetProgram, 0, 5);  // no such program
  EXPECT_EQ(host->Dispatch(vst2::effGetProgram), 0);
}

TEST_F(PluginTest, SpeakerArrangementsReportStereo) {
  vst2::VstSpeakerArrangement* in = nullptr;
  vst2::VstSpeakerArrangement* out = nullptr;
  host->Dispatch(vst2::effOpen);
  ASSERT_EQ(host->Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
  ASSERT_TRUE(in && out);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(in->type, 1);
  EXPECT_EQ(out->type, 1);
}

TEST_F(PluginTest, OpenAsksTheHostWhoItIsOnce) {
  host->SetHostProduct("REAPER", 60020);
  host->Dispatch(vst2::effOpen);
  host->Dispatch(vst2::effOpen);
  EXPECT_EQ(CallsOf(vst2::audioMasterGetProductString).size(), 1u);
  EXPECT_EQ(CallsOf(vst2::audioMasterGetVendorVersion).size(), 1u);
}

TEST_F(PluginTest, IdleRequestsAndUnknownOpcodesAnswerZero) {
  for (int32_t opcode : {int32_t(vst2::effEditIdle), int32_t(vst2::effIdle), 9, 16, 30, 99, 1000, -3}) {
    EXPECT_EQ(host->Dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
  }
}

TEST_F(PluginTest, SampleRateAndBlockSizeChangesKeepEveryValue) {
  host->Dispatch(vst2::effOpen);
  std::vector<float> before;
  for (int i = 0; i < 162; ++i) before.push_back(host->GetParameter(i));
  host->Start(48000.0, 256);
  host->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 96000.0f);
  host->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 0.0f);  // no rate at all: ignored
  host->Dispatch(vst2::effSetBlockSize, 0, 0);                  // no size at all: ignored
  host->Dispatch(vst2::effSetBlockSize, 0, -7);
  for (int i = 0; i < 162; ++i) EXPECT_EQ(host->GetParameter(i), before[size_t(i)]) << i;
}

}  // namespace
