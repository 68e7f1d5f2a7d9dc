// The frame driven directly: host detection, transport queries, the change handler runs
// that open and restore cause, programs and the pieces long audio calls are cut into.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"
#include "tests/amp/HostedAmp.h"

namespace {

// A scripted host: answers the product string, version and time info of the test.
struct ScriptedHost {
  std::string product;
  intptr_t version = 0;
  const vst2::VstTimeInfo* time = nullptr;
  int productAsked = 0;
  int versionAsked = 0;
};
ScriptedHost* gHost = nullptr;

intptr_t ScriptedCallback(vst2::AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
  if (!gHost) return 0;
  switch (opcode) {
    case vst2::audioMasterGetProductString:
      ++gHost->productAsked;
      std::snprintf(static_cast<char*>(ptr), 64, "%s", gHost->product.c_str());
      return 1;
    case vst2::audioMasterGetVendorVersion:
      ++gHost->versionAsked;
      return gHost->version;
    case vst2::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(gHost->time);
    default:
      return 0;
  }
}

// The plug-in with its handler, reset and audio routine observed, in the VST2 adaptor
// with the scripted host.
class ObservedPlug : public VoltrexPlug {
 public:
  void OnParamChange(int index) override { changes.push_back(index); }
  void Reset() override { ++resets; }
  void ProcessBlock(double** inputs, double** outputs, int frames) override {
    pieces.push_back(frames);
    IEffectBase::ProcessBlock(inputs, outputs, frames);  // the frame's pass-through
  }
  std::vector<int> changes;
  std::vector<int> pieces;
  int resets = 0;
};

struct ObservedHost : HostedAmp<ObservedPlug> {
  ObservedHost() : HostedAmp<ObservedPlug>(ScriptedCallback) {}
};

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override { gHost = &scripted; }
  void TearDown() override { gHost = nullptr; }
  ScriptedHost scripted;
};

bool RanForEveryIndexInOrder(const std::vector<int>& changes) {
  if (changes.size() != size_t(kNumParams)) return false;
  for (int i = 0; i < kNumParams; ++i) {
    if (changes[size_t(i)] != i) return false;
  }
  return true;
}

TEST_F(FrameTest, HostDetectionReadsProductAndVersion) {
  const struct {
    const char* product;
    int code;
  } cases[] = {{"Cubase 12", 3},        {"REAPER", 1},         {"Ableton Live 11", 9},
               {"Cubase Live Edition", 3}, {"Logic Pro", 21},   {"FL Studio (Fruity)", 7},
               {"Bitwig Studio", 0},   {"Audition CS6", 17},  {"Digital Performer", 22}};
  for (const auto& c : cases) {
    scripted.product = c.product;
    scripted.version = 120005;
    ObservedHost hosted;
    ObservedPlug& plug = hosted.amp();
    EXPECT_EQ(hosted.Adaptor().GetHost(), c.code) << c.product;
    EXPECT_EQ(plug.GetHostVersion(), (12 << 16) | (0 << 8) | 5);
  }
  scripted.product = "";
  scripted.versionAsked = 0;
  ObservedHost unnamedHost;
  ObservedPlug& unnamed = unnamedHost.amp();
  EXPECT_EQ(unnamedHost.Adaptor().GetHost(), 0);
  EXPECT_EQ(unnamed.GetHostVersion(), 0);
  EXPECT_EQ(scripted.versionAsked, 0);
}

TEST_F(FrameTest, OpenDetectsOnceAndRunsTheHandlerForEveryIndex) {
  scripted.product = "Forte";  // a host that wants stereo only: nothing changes for us
  ObservedHost hosted;
  ObservedPlug& plug = hosted.amp();
  EXPECT_EQ(plug.GetHostCode(), -1);
  hosted.Dispatch(vst2::effOpen);
  EXPECT_TRUE(RanForEveryIndexInOrder(plug.changes));
  plug.changes.clear();
  hosted.Dispatch(vst2::effOpen);
  EXPECT_TRUE(RanForEveryIndexInOrder(plug.changes));
  EXPECT_EQ(scripted.productAsked, 1);
  EXPECT_EQ(plug.GetHostCode(), 15);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
}

TEST_F(FrameTest, RestoringAChunkRunsTheHandlerForEveryIndex) {
  ObservedHost hosted;
  ObservedPlug& plug = hosted.amp();
  void* data = nullptr;
  const intptr_t size = hosted.Dispatch(vst2::effGetChunk, 1, 0, &data);
  ASSERT_EQ(size, 1308);
  std::vector<uint8_t> saved(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  plug.changes.clear();
  EXPECT_EQ(hosted.Dispatch(vst2::effSetChunk, 1, size, saved.data()), 1);
  EXPECT_TRUE(RanForEveryIndexInOrder(plug.changes));
}

TEST_F(FrameTest, ResetFollowsRateBlockAndProcessingOff) {
  ObservedHost hosted;
  ObservedPlug& plug = hosted.amp();
  hosted.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(plug.resets, 1);
  EXPECT_EQ(plug.GetSampleRate(), 48000.0);
  hosted.Dispatch(vst2::effSetBlockSize, 0, 256);
  EXPECT_EQ(plug.resets, 2);
  EXPECT_EQ(plug.GetBlockSize(), 256);
  hosted.Dispatch(vst2::effMainsChanged, 0, 1);
  EXPECT_EQ(plug.resets, 2);
  hosted.Dispatch(vst2::effMainsChanged, 0, 0);
  EXPECT_EQ(plug.resets, 3);
}

TEST_F(FrameTest, LongAudioCallsArriveInPiecesOfAtMostTheBlockSize) {
  ObservedHost hosted;
  ObservedPlug& plug = hosted.amp();
  hosted.Dispatch(vst2::effSetBlockSize, 0, 100);
  std::vector<float> left(1050, 0.5f), right(1050, -0.5f);
  float* io[2] = {left.data(), right.data()};
  hosted.Effect()->processReplacing(hosted.Effect(), io, io, 1050);
  EXPECT_EQ(plug.pieces, (std::vector<int>{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 50}));
  EXPECT_EQ(left[1049], 0.5f);  // in place, passed through
  EXPECT_EQ(right[0], -0.5f);
}

TEST_F(FrameTest, TransportQueriesUseTheHostsTimeInfo) {
  ObservedHost hosted;
  EXPECT_EQ(hosted.Adaptor().GetSamplePos(), 0.0);
  EXPECT_EQ(hosted.Adaptor().GetTempo(), 0.0);
  ITimeInfo info;
  hosted.Adaptor().GetTime(&info);
  EXPECT_EQ(info.tempo, 120.0);
  EXPECT_EQ(info.numerator, 4);
  EXPECT_EQ(info.ppqPos, -1.0);

  vst2::VstTimeInfo time{};
  time.samplePos = 4410.0;
  time.tempo = 97.5;
  time.ppqPos = 8.0;
  time.timeSigNumerator = 7;
  time.timeSigDenominator = 8;
  time.flags = vst2::kTempoValid | vst2::kTimeSigValid | vst2::kPpqPosValid | vst2::kTransportPlaying;
  scripted.time = &time;
  EXPECT_EQ(hosted.Adaptor().GetSamplePos(), 4410.0);
  EXPECT_EQ(hosted.Adaptor().GetTempo(), 97.5);
  int numerator = 0, denominator = 0;
  hosted.Adaptor().GetTimeSig(&numerator, &denominator);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
  hosted.Adaptor().GetTime(&info);
  EXPECT_EQ(info.tempo, 97.5);
  EXPECT_EQ(info.ppqPos, 8.0);
  EXPECT_TRUE(info.playing);
  EXPECT_FALSE(info.cycling);
  EXPECT_EQ(info.cycleStart, -1.0);

  time.flags = 0;  // nothing flagged valid
  EXPECT_EQ(hosted.Adaptor().GetTempo(), 0.0);
  hosted.Adaptor().GetTimeSig(&numerator, &denominator);
  EXPECT_EQ(numerator, 0);
}

TEST_F(FrameTest, ChannelPairsAndConnections) {
  ObservedHost hosted;
  ObservedPlug& plug = hosted.amp();
  EXPECT_TRUE(plug.LegalIO(1, 1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_FALSE(plug.LegalIO(1, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 2));
  EXPECT_FALSE(plug.LegalIO(3, -1));
  plug.SetInputChannelConnections(1, 5, false);  // stops at the last channel
  EXPECT_TRUE(plug.IsInChannelConnected(0));
  EXPECT_FALSE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
}

// The frame's program list with more than one program.
class ProgramPlug : public IEffectBase {
 public:
  ProgramPlug() : IEffectBase(3, "2-2", 3) {
    for (int i = 0; i < 3; ++i) GetParam(i)->InitDouble("", 0.5, 0.0, 1.0, 0.001);
    MakeDefaultPreset("Default", 1);
  }
};

TEST(ProgramTest, UninitialisedProgramsBecomeNumberedUserPresets) {
  ProgramPlug plug;
  EXPECT_STREQ(plug.GetPresetName(0), "Default");
  EXPECT_STREQ(plug.GetPresetName(1), "- 2 -");
  EXPECT_STREQ(plug.GetPresetName(3), "");
  plug.GetParam(0)->Set(0.25);
  EXPECT_TRUE(plug.RestorePreset(1));  // takes the current state
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 1");
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");
  EXPECT_FALSE(plug.RestorePreset(3));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);

  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.5);
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.25);
}

TEST(ProgramTest, PresetListRoundTripsThroughItsSerialisation) {
  ProgramPlug plug;
  plug.GetParam(2)->Set(0.75);
  plug.RestorePreset(1);
  ByteChunk chunk;
  ASSERT_TRUE(plug.SerializePresets(chunk));

  ProgramPlug other;
  EXPECT_EQ(other.UnserializePresets(chunk, 0), chunk.Size());
  EXPECT_STREQ(other.GetPresetName(1), "user preset 1");
  EXPECT_STREQ(other.GetPresetName(2), "- 3 -");

  ByteChunk corrupt;
  corrupt.Put(int32_t(-8));  // a negative name length
  EXPECT_EQ(other.UnserializePresets(corrupt, 0), -1);
}

}  // namespace
