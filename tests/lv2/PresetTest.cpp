// The factory presets as a host's preset menu lists them: every one applies through lilv
// and sounds as loading it through the VST2 plug-in's browser does.
#include <gtest/gtest.h>

#include <algorithm>

#include "lv2/presets/presets.h"
#include "tests/lv2/Lv2TestHost.h"
#include "tests/lv2/Reference.h"
#include "tools/vsthost/InstalledPresets.h"

namespace lv2test {
namespace {

constexpr float kFloatRounding = 1e-5f;
constexpr int kFactoryPresets = 49;
constexpr int kOrderDependentPresets = 4;  // the Noise Soldier presets

struct Lv2Preset {
  std::string uri;
  std::string label;
};

std::vector<Lv2Preset> ListLv2Presets() {
  World& world = World::Get();
  LilvNode* presetClass = lilv_new_uri(world.world, LV2_PRESETS__Preset);
  LilvNode* label = lilv_new_uri(world.world, "http://www.w3.org/2000/01/rdf-schema#label");
  LilvNodes* related = lilv_plugin_get_related(world.plugin, presetClass);
  std::vector<Lv2Preset> presets;
  LILV_FOREACH(nodes, i, related) {
    const LilvNode* preset = lilv_nodes_get(related, i);
    lilv_world_load_resource(world.world, preset);
    LilvNodes* labels = lilv_world_find_nodes(world.world, preset, label, nullptr);
    presets.push_back({lilv_node_as_uri(preset), labels ? lilv_node_as_string(lilv_nodes_get_first(labels)) : ""});
    lilv_nodes_free(labels);
  }
  lilv_nodes_free(related);
  lilv_node_free(label);
  lilv_node_free(presetClass);
  return presets;
}

TEST(PresetTest, EveryFactoryPresetAppliesAsTheBrowserLoadsIt) {
  const std::vector<Lv2Preset> presets = ListLv2Presets();
  EXPECT_EQ(int(presets.size()), kFactoryPresets);
  const std::vector<vsthost::PresetBank> banks = vsthost::ListInstalledPresets(VOLTREX_VST2_PLUGIN);
  const std::vector<float> pluck = Pluck(0.3);
  World& world = World::Get();
  int compared = 0;
  int orderDependentCount = 0;
  for (int b = 0; b < int(banks.size()); ++b) {
    for (int p = 0; p < int(banks[size_t(b)].presets.size()); ++p) {
      const std::string label = banks[size_t(b)].name + ": " + banks[size_t(b)].presets[size_t(p)];
      SCOPED_TRACE(label);
      const auto found = std::find_if(presets.begin(), presets.end(), [&](const Lv2Preset& x) { return x.label == label; });
      ASSERT_NE(found, presets.end());
      Instance instance;
      LilvNode* uri = lilv_new_uri(world.world, found->uri.c_str());
      LilvState* state = lilv_state_new_from_world(world.world, instance.Map().MapFeature(), uri);
      lilv_node_free(uri);
      ASSERT_NE(state, nullptr);
      instance.Restore(state);
      lilv_state_free(state);
      const Frames lv2 = instance.Process(pluck, {512});

      auto loaded = StartVst2({});
      ASSERT_TRUE(loaded);
      vsthost::LoadInstalledPreset(*loaded, b, int(banks.size()), p);
      auto restored = StartVst2({});
      ASSERT_TRUE(restored);
      restored->SetChunk(loaded->GetChunk(false), false);
      const Frames browser = ProcessVst2(*loaded, pluck);
      const Frames chunk = ProcessVst2(*restored, pluck);
      // One model's mid filter follows the high knob as it stood when the mid was set, so
      // its sound depends on the order of edits, which no state holds: there the LV2
      // preset equals the VST2 plug-in's own state restore, elsewhere the browser load.
      const bool orderDependent = MaxDifference(browser, chunk) > kFloatRounding;
      EXPECT_LE(MaxDifference(lv2, orderDependent ? chunk : browser), kFloatRounding);
      orderDependentCount += orderDependent;
      ++compared;
    }
  }
  EXPECT_EQ(compared, kFactoryPresets);
  EXPECT_LE(orderDependentCount, kOrderDependentPresets);
}

}  // namespace
}  // namespace lv2test
