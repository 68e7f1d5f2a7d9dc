// Reading preset files of every version and applying them: the value mapping, the order of
// application, the impulse response of version 4, and the files that are refused.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "platform/Files.h"
#include "amp/ParamIds.h"
#include "presets/PresetFile.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetValues.h"
#include "tests/presets/PresetTestKit.h"

namespace {

struct Loaded {
  bool ok = false;
  RecordingTarget target;
};

std::unique_ptr<Loaded> Apply(const std::vector<std::uint8_t>& bytes,
                              const std::string& dataFolder = "/data/Voltrex/") {
  auto library = std::make_unique<PresetLibrary>();
  library->ListPresetBanksIn(dataFolder);
  auto loaded = std::make_unique<Loaded>();
  loaded->ok = library->ApplyPresetBytes(bytes.data(), bytes.size(), loaded->target);
  return loaded;
}

std::vector<float> WithModel(int version, float modelValue) {
  std::vector<float> values = DistinctValues(version);
  values[kDstPreset] = modelValue;
  return values;
}

}  // namespace

TEST(PresetReading, VersionThreeMapsValuesAndAppliesPedalKnobsFirstAndTheModelLast) {
  const std::vector<float> v = WithModel(3, 1.0f / 15.0f);
  const auto loaded = Apply(PresetBytes(3, v));
  ASSERT_TRUE(loaded->ok);
  const std::vector<int> expected = {kPedalLevel + 1, kPedalDrive + 1, kPedalLow + 1, kPedalMid + 1,
                                     kPedalHigh + 1, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12,
                                     kMainBass, kMainTreble, kMainVolume, kDstPreset, kIrLed};
  EXPECT_EQ(loaded->target.ParamOrder(), expected);
  const RecordingTarget& t = loaded->target;
  EXPECT_EQ(t.Value(63), double(v[kDstLevel]));  // model 1's level knob
  EXPECT_EQ(t.Value(kPedalDrive + 1), double(v[kDstDrive]));
  EXPECT_EQ(t.Value(kPedalLow + 1), double(v[kDstLow]));
  EXPECT_EQ(t.Value(kPedalMid + 1), double(v[kDstMid]));
  EXPECT_EQ(t.Value(kPedalHigh + 1), double(v[kDstHigh]));
  for (int i : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16}) EXPECT_EQ(t.Value(i), double(v[i]));
  EXPECT_EQ(t.Value(kLoudness), -1.0);  // value[15] is never applied
  EXPECT_EQ(t.Value(kDstPreset), double(v[kDstPreset]));
  EXPECT_EQ(t.Value(kIrLed), 0.0);  // versions 1 to 3 switch the impulse stage off
}

TEST(PresetReading, VersionTwoScalesTheModelValueByFourFifths) {
  const auto loaded = Apply(PresetBytes(2, WithModel(2, 1.0f / 12.0f)));
  ASSERT_TRUE(loaded->ok);
  // 1/12 * 0.8 * 15 + 0.5 = 1.5: model 1, and kDstPreset gets the scaled value.
  EXPECT_EQ(loaded->target.ParamOrder().front(), kPedalLevel + 1);
  EXPECT_EQ(loaded->target.Value(kDstPreset), double((1.0f / 12.0f) * 0.8f));
  EXPECT_EQ(loaded->target.ParamOrder().size(), 22u);
}

TEST(PresetReading, VersionOneTakesToneFromItsLastThreeValuesAndScalesTheModel) {
  std::vector<float> v = WithModel(1, 1.0f);  // 0.8 * 15 = 12: model 12
  v[63] = 0.11f;
  v[64] = 0.22f;
  v[65] = 0.33f;
  const auto loaded = Apply(PresetBytes(1, v));
  ASSERT_TRUE(loaded->ok);
  const RecordingTarget& t = loaded->target;
  EXPECT_EQ(t.ParamOrder().front(), kPedalLevel + 12);
  EXPECT_EQ(t.Value(kMainBass), double(0.11f));
  EXPECT_EQ(t.Value(kMainTreble), double(0.22f));
  EXPECT_EQ(t.Value(kMainVolume), double(0.33f));
  EXPECT_EQ(t.Value(kDstPreset), double(1.0f * 0.8f));
  EXPECT_EQ(t.Value(kIrDryLevel), -1.0);  // value[21] and [22] mean nothing in version 1
}

TEST(PresetReading, ModelIsRoundedAndKeptWithinTheCatalogue) {
  PresetFile preset;
  preset.version = 3;
  for (int model = 0; model < kNumModels; ++model) {
    preset.values[kDstPreset] = float(model) / 15.0f;
    EXPECT_EQ(PresetModel(preset), model);
  }
  preset.values[kDstPreset] = 7.5f;  // corrupt values select an end of the catalogue
  EXPECT_EQ(PresetModel(preset), 15);
  preset.values[kDstPreset] = -3.0f;
  EXPECT_EQ(PresetModel(preset), 0);
}

TEST(PresetReading, VersionFourLoadsItsImpulseFirstAndSetsTheStageLast) {
  std::vector<float> v = WithModel(4, 0.0f);
  v[18] = 0.75f;
  const auto loaded = Apply(PresetBytes(4, v, "Impulses/Room.wav"), "/opt/plug/Voltrex/");
  ASSERT_TRUE(loaded->ok);
  const std::vector<TargetCall>& calls = loaded->target.calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, TargetCall::kImpulse);
  EXPECT_EQ(calls.front().text, "/opt/plug/Voltrex/Impulses/Room.wav");
  EXPECT_EQ(calls.back().kind, TargetCall::kStage);
  EXPECT_EQ(calls.back().value, 1.0);
  const std::vector<int> order = loaded->target.ParamOrder();
  EXPECT_EQ(order.back(), kDstPreset);
  EXPECT_EQ(order[order.size() - 3], kIrDryLevel);
  EXPECT_EQ(order[order.size() - 2], kIrWetLevel);
  EXPECT_EQ(loaded->target.Value(kIrLed), -1.0);  // the flag is set directly, not by kIrLed
}

TEST(PresetReading, ImpulsePathsResolveAgainstTheDataFolderWithEitherSeparator) {
  const std::string sep(1, platform::kSeparator);
  struct Case {
    std::string stored, expected;
  };
  const Case cases[] = {
      {"Impulses/A.wav", "/d/Voltrex/Impulses" + sep + "A.wav"},
      {"Impulses\\Sub\\B.wav", "/d/Voltrex/Impulses" + sep + "Sub" + sep + "B.wav"},
      {"/home/me/irs/C.wav", "/home/me/irs/C.wav"},
      {"C:\\Irs\\D.wav", "C:\\Irs\\D.wav"},
  };
  for (const Case& c : cases) {
    const auto loaded = Apply(PresetBytes(4, DistinctValues(4), c.stored), "/d/Voltrex/");
    ASSERT_EQ(loaded->target.calls.front().kind, TargetCall::kImpulse) << c.stored;
    EXPECT_EQ(loaded->target.calls.front().text, c.expected);
  }
  for (const std::string stored : {"", "plain.wav"}) {  // no separator: no impulse response
    const auto loaded = Apply(PresetBytes(4, DistinctValues(4), stored));
    ASSERT_TRUE(loaded->ok);
    EXPECT_NE(loaded->target.calls.front().kind, TargetCall::kImpulse);
    EXPECT_EQ(loaded->target.calls.back().kind, TargetCall::kStage);
    EXPECT_EQ(loaded->target.calls.back().value, 0.0);  // value[18] = 0.19
  }
}

TEST(PresetReading, UnknownMagicShowsTheMessageAndChangesNothing) {
  MessageCatcher catcher;
  std::vector<std::uint8_t> bytes = PresetBytes(4, DistinctValues(4));
  bytes[5] = '5';  // "vxpr05"
  PresetLibrary library;
  library.ListPresetBanksIn("/d/");
  const std::vector<std::uint8_t> good = PresetBytes(3, DistinctValues(3));
  RecordingTarget first;
  ASSERT_TRUE(library.ApplyPresetBytes(good.data(), good.size(), first));
  RecordingTarget target;
  EXPECT_FALSE(library.ApplyPresetBytes(bytes.data(), bytes.size(), target));
  EXPECT_TRUE(target.calls.empty());
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].second, "Error");
  EXPECT_EQ(catcher.messages[0].first,
            "This preset was made with a newer version of\nsoftware and cannot be read by this "
            "application.\nPlease, download the latest version!\nVoltrex 2.5.0");
  EXPECT_STREQ(library.TextField(0), "S0");  // the text fields of the last good file stay
}

TEST(PresetReading, FilesEndingBeforeTheirLayoutAreRefusedSilentlyAndWhole) {
  MessageCatcher catcher;
  for (int version = 1; version <= 4; ++version) {
    const std::vector<std::uint8_t> whole = PresetBytes(version, DistinctValues(version), "Impulses/x.wav");
    for (std::size_t size = 0; size < whole.size(); ++size) {
      const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + long(size));
      const auto loaded = Apply(cut);
      EXPECT_FALSE(loaded->ok) << "version " << version << ", " << size << " bytes";
      EXPECT_TRUE(loaded->target.calls.empty());
    }
    std::vector<std::uint8_t> longer = whole;
    longer.insert(longer.end(), {1, 2, 3});  // bytes after the values are ignored
    EXPECT_TRUE(Apply(longer)->ok);
  }
  EXPECT_TRUE(catcher.messages.empty());
}

TEST(PresetReading, TextFieldsAreKeptAndCutAtTheirSlot) {
  const std::string longText(400, 'x');
  const std::string longPath = "Impulses/" + std::string(300, 'p') + ".wav";
  const auto bytes = EncodePreset(4, {"Name", longText, "", "Notes", longPath}, DistinctValues(4));
  PresetLibrary library;
  library.ListPresetBanksIn("/d/");
  RecordingTarget target;
  ASSERT_TRUE(library.ApplyPresetBytes(bytes.data(), bytes.size(), target));
  EXPECT_STREQ(library.TextField(0), "Name");
  EXPECT_EQ(std::string(library.TextField(1)), std::string(255, 'x'));
  EXPECT_STREQ(library.TextField(2), "");
  EXPECT_STREQ(library.TextField(3), "Notes");
  EXPECT_EQ(std::string(library.TextField(4)).size(), 255u);
  EXPECT_STREQ(library.TextField(5), "");
  // The impulse path is used whole, whatever its text field shows.
  EXPECT_EQ(target.calls.front().text.size(), 3 + longPath.size());
}

TEST(PresetReading, ValuesNoControlCouldShowAreClampedOrZeroed) {
  std::vector<float> v = DistinctValues(3);
  v[kGateThreshold] = 3.0f;
  v[kAmpColor] = -1.0f;
  v[kMainBass] = std::numeric_limits<float>::quiet_NaN();
  v[kMainTreble] = std::numeric_limits<float>::infinity();
  const auto loaded = Apply(PresetBytes(3, v));
  ASSERT_TRUE(loaded->ok);
  EXPECT_EQ(loaded->target.Value(kGateThreshold), 1.0);
  EXPECT_EQ(loaded->target.Value(kAmpColor), 0.0);
  EXPECT_EQ(loaded->target.Value(kMainBass), 0.0);
  EXPECT_EQ(loaded->target.Value(kMainTreble), 1.0);
}

TEST(PresetReading, LoadingTheSamePresetTwiceChangesNothingTheSecondTime) {
  for (int version = 1; version <= 4; ++version) {
    const auto bytes = PresetBytes(version, WithModel(version, 0.4f), "Impulses/x.wav");
    PresetLibrary library;
    library.ListPresetBanksIn("/d/");
    RecordingTarget target;
    ASSERT_TRUE(library.ApplyPresetBytes(bytes.data(), bytes.size(), target));
    const int firstChanges = target.changedParams;
    const std::size_t firstCalls = target.calls.size();
    ASSERT_TRUE(library.ApplyPresetBytes(bytes.data(), bytes.size(), target));
    EXPECT_GT(firstChanges, 0);
    EXPECT_EQ(target.changedParams, firstChanges) << "version " << version;
    EXPECT_EQ(target.calls.size(), 2 * firstCalls);  // the same calls again, nothing more
  }
}
