// State through lilv as a host saves and reopens a session: everything the amp stores,
// the impulse response's file following the session, stale host ports after a restore,
// and state blobs that are damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/lv2/Lv2TestHost.h"
#include "tests/lv2/Reference.h"

namespace fs = std::filesystem;

namespace lv2test {
namespace {

const Settings kHighGain = {{"drive_on", 1.0f}, {"model", 9.0f}, {"cabinet", 25.0f}, {"bass", 0.7f}};
constexpr float kFloatRounding = 1e-5f;
constexpr const char* kStateKey = "urn:voltrex:amp#state";
constexpr const char* kImpulseKey = "urn:voltrex:amp#impulse";
constexpr const char* kVersionKey = "urn:voltrex:amp#version";
constexpr const char* kPathType = "http://lv2plug.in/ns/ext/atom#Path";
constexpr int kStateBytes = 4 + 162 * 8;  // empty path, then every value

fs::path TempFolder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("voltrex-lv2-" + std::to_string(getpid())) / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string FactoryImpulse(const char* name) {
  return std::string(VOLTREX_LV2_BUNDLE) + "Voltrex/Impulses/" + name;
}

StateProperty PathProperty(const std::string& path) {
  StateProperty property{kPathType, {path.begin(), path.end()}};
  property.bytes.push_back(0);
  return property;
}

// Renders after a block of silence, so two instances compare from the same history.
Frames Settle(Instance& instance, const std::vector<float>& mono) {
  instance.Process(std::vector<float>(512, 0.0f), {512});
  return instance.Process(mono, {512});
}

// Values the amp changes itself leave the host's ports stale: controllers here.
void ChangeInsideThePlugin(Instance& instance) {
  instance.SendMidi({{0xB0, 7, 30}, {0xB0, 21, 127}, {0xB0, 8, 100}});
  instance.Run(0);
}

TEST(StateTest, SavedSessionReopensSoundingTheSameDespiteStalePorts) {
  const std::vector<float> pluck = Pluck(0.5);
  const fs::path folder = TempFolder("session");
  Instance saved;
  Apply(saved, kHighGain);
  saved.Run(0);
  ChangeInsideThePlugin(saved);
  LilvState* state = saved.Save(folder.string());
  ASSERT_NE(state, nullptr);
  World& world = World::Get();
  ASSERT_EQ(lilv_state_save(world.world, saved.Map().MapFeature(), saved.Map().UnmapFeature(), state, nullptr,
                            folder.c_str(), "state.ttl"), 0);
  lilv_state_free(state);

  Instance reopened;
  LilvState* loaded = lilv_state_new_from_file(world.world, reopened.Map().MapFeature(), nullptr,
                                               (folder / "state.ttl").c_str());
  ASSERT_NE(loaded, nullptr);
  reopened.Restore(loaded);
  lilv_state_free(loaded);
  // The host wrote its stale volume (the default) back after the restore.
  EXPECT_FLOAT_EQ(reopened.Control("volume"), 0.5f);
  EXPECT_LE(MaxDifference(Settle(reopened, pluck), Settle(saved, pluck)), kFloatRounding);
  EXPECT_EQ(reopened.SaveProperties()[kStateKey].bytes, saved.SaveProperties()[kStateKey].bytes);
}

// A response inside the data folder is stored relative to it; one elsewhere goes through
// the host's path mapping, so a session folder moved with its file keeps its response.
TEST(StateTest, ImpulseResponseFollowsTheSession) {
  const std::vector<float> pluck = Pluck(0.5);
  Instance withResponse;
  auto properties = withResponse.SaveProperties();
  properties[kImpulseKey] = PathProperty(FactoryImpulse("Stone Cavern.wav"));
  ASSERT_EQ(withResponse.RestoreProperties(properties), 0);
  // The first run after a restore takes the ports as they are; a change comes after it.
  withResponse.Run(0);
  withResponse.SetControl("ir_on", 1.0f);
  withResponse.Run(0);
  const auto stored = withResponse.SaveProperties()[kImpulseKey];
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored.bytes.data())), "Impulses/Stone Cavern.wav");

  const fs::path first = TempFolder("first");
  fs::copy_file(FactoryImpulse("Stone Cavern.wav"), first / "room.wav");
  properties = withResponse.SaveProperties();
  properties[kImpulseKey] = PathProperty((first / "room.wav").string());
  ASSERT_EQ(withResponse.RestoreProperties(properties), 0);
  World& world = World::Get();
  LilvState* state = withResponse.Save(first.string());
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(lilv_state_save(world.world, withResponse.Map().MapFeature(), withResponse.Map().UnmapFeature(),
                            state, nullptr, first.c_str(), "state.ttl"), 0);
  lilv_state_free(state);
  const fs::path moved = first.parent_path() / "moved";
  fs::remove_all(moved);
  fs::rename(first, moved);

  Instance reopened;
  LilvState* loaded = lilv_state_new_from_file(world.world, reopened.Map().MapFeature(), nullptr,
                                               (moved / "state.ttl").c_str());
  ASSERT_NE(loaded, nullptr);
  reopened.Restore(loaded);
  lilv_state_free(loaded);
  const Frames expected = Settle(withResponse, pluck);
  EXPECT_LE(MaxDifference(Settle(reopened, pluck), expected), kFloatRounding);

  // Without the file the response is missing: the rest restores, the sound differs.
  fs::remove(moved / "room.wav");
  Instance missing;
  loaded = lilv_state_new_from_file(world.world, missing.Map().MapFeature(), nullptr, (moved / "state.ttl").c_str());
  ASSERT_NE(loaded, nullptr);
  missing.Restore(loaded);
  lilv_state_free(loaded);
  EXPECT_GT(MaxDifference(Settle(missing, pluck), expected), 1e-3f);
}

// Damaged state: what is readable is restored, the rest keeps its values, nothing crashes.
TEST(StateTest, DamagedStateRestoresWhatItCan) {
  Instance source;
  Apply(source, kHighGain);
  source.Run(0);
  ChangeInsideThePlugin(source);
  const auto good = source.SaveProperties();
  const std::vector<uint8_t>& bytes = good.at(kStateKey).bytes;
  ASSERT_EQ(int(bytes.size()), kStateBytes);

  Instance fresh;
  const std::vector<uint8_t> freshBytes = fresh.SaveProperties().at(kStateKey).bytes;
  constexpr int kWholeValues = 10;
  const int cut = 4 + kWholeValues * 8 + 3;

  struct Case {
    const char* name;
    std::map<std::string, StateProperty> properties;
    int restoredBytes;  // the leading bytes that take the saved state; the rest stays fresh
  };
  auto truncated = good;
  truncated[kStateKey].bytes.resize(size_t(cut));
  auto future = good;
  future[kVersionKey].bytes = {99, 0, 0, 0};
  future[kStateKey].bytes.insert(future[kStateKey].bytes.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
  auto missingFile = good;
  missingFile[kImpulseKey] = PathProperty("/nonexistent/voltrex/response.wav");
  auto wrongType = good;
  wrongType[kStateKey].type = "http://lv2plug.in/ns/ext/atom#String";
  auto empty = good;
  empty[kStateKey].bytes.clear();
  auto badLength = good;
  badLength[kStateKey].bytes[3] = 0x7f;
  const Case cases[] = {
      {"truncated", truncated, 4 + kWholeValues * 8},
      {"future version", future, kStateBytes},
      {"missing response file", missingFile, kStateBytes},
      {"chunk of another type", wrongType, 0},
      {"empty chunk", empty, 0},
      {"no properties", {}, 0},
      {"path length beyond the end", badLength, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Instance target;
    target.RestoreProperties(c.properties);
    target.Run(64);
    std::vector<uint8_t> after = target.SaveProperties().at(kStateKey).bytes;
    if (c.name == std::string("missing response file")) {
      // The missing file's name is kept, so a later save does not lose it.
      const std::string path = "/nonexistent/voltrex/response.wav";
      ASSERT_GE(after.size(), 4 + path.size());
      EXPECT_EQ(std::string(after.begin() + 4, after.begin() + 4 + long(path.size())), path);
      after.erase(after.begin(), after.begin() + 4 + long(path.size()));
      after.insert(after.begin(), {0, 0, 0, 0});
    }
    ASSERT_EQ(after.size(), freshBytes.size());
    for (int i = 4; i < int(after.size()); ++i) {
      const uint8_t expected = i < c.restoredBytes ? bytes[size_t(i)] : freshBytes[size_t(i)];
      ASSERT_EQ(after[size_t(i)], expected) << "byte " << i;
    }
  }
}

}  // namespace
}  // namespace lv2test
