// What a host learns from the bundle: the plug-in by its URI, its class, name, maker and
// version, the ports with names, ranges and properties, and the editor.
#include <gtest/gtest.h>

#include <string>

#include "amp/PlayerParams.h"
#include "amp/VoltrexPlug.h"
#include "engine/Tuner.h"
#include "tests/lv2/Lv2TestHost.h"
#include "tests/lv2/Reference.h"

namespace lv2test {
namespace {

class DescriptionTest : public ::testing::Test {
 protected:
  World& world = World::Get();
  LilvNode* Uri(const char* uri) {
    nodes_.push_back(lilv_new_uri(world.world, uri));
    return nodes_.back();
  }
  ~DescriptionTest() override {
    for (LilvNode* node : nodes_) lilv_node_free(node);
  }
  bool PortIs(const LilvPort* port, const char* classUri) {
    return lilv_port_is_a(world.plugin, port, Uri(classUri));
  }
  bool PortHas(const LilvPort* port, const char* propertyUri) {
    return lilv_port_has_property(world.plugin, port, Uri(propertyUri));
  }
  int Count(const char* classUri, const char* directionUri) {
    int n = 0;
    for (uint32_t i = 0; i < lilv_plugin_get_num_ports(world.plugin); ++i) {
      const LilvPort* port = lilv_plugin_get_port_by_index(world.plugin, i);
      if (PortIs(port, classUri) && PortIs(port, directionUri)) ++n;
    }
    return n;
  }
  int IntValue(const char* predicate) {
    LilvNodes* values = lilv_plugin_get_value(world.plugin, Uri(predicate));
    const int value = values ? lilv_node_as_int(lilv_nodes_get_first(values)) : -1;
    lilv_nodes_free(values);
    return value;
  }

 private:
  std::vector<LilvNode*> nodes_;
};

constexpr const char* kLv2 = "http://lv2plug.in/ns/lv2core#";

std::string Lv2(const char* name) { return std::string(kLv2) + name; }

TEST_F(DescriptionTest, PluginIsFoundByUriWithClassNameMakerAndReleaseVersion) {
  ASSERT_NE(world.plugin, nullptr);
  LilvNode* name = lilv_plugin_get_name(world.plugin);
  EXPECT_STREQ(lilv_node_as_string(name), "Voltrex");
  lilv_node_free(name);
  LilvNode* author = lilv_plugin_get_author_name(world.plugin);
  ASSERT_NE(author, nullptr);
  EXPECT_STREQ(lilv_node_as_string(author), "wavesmither");
  lilv_node_free(author);
  EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_class_get_uri(lilv_plugin_get_class(world.plugin))),
               Lv2("SimulatorPlugin").c_str());
  // Odd values mark development releases, which hosts may hide.
  const int minor = IntValue(Lv2("minorVersion").c_str());
  const int micro = IntValue(Lv2("microVersion").c_str());
  EXPECT_GT(minor, 0);
  EXPECT_EQ(minor % 2, 0);
  EXPECT_EQ(micro % 2, 0);
}

TEST_F(DescriptionTest, StereoAudioAndAnOptionalMidiInput) {
  ASSERT_NE(world.plugin, nullptr);
  EXPECT_EQ(Count(Lv2("AudioPort").c_str(), Lv2("InputPort").c_str()), 2);
  EXPECT_EQ(Count(Lv2("AudioPort").c_str(), Lv2("OutputPort").c_str()), 2);
  EXPECT_EQ(Count("http://lv2plug.in/ns/ext/atom#AtomPort", Lv2("InputPort").c_str()), 1);
  EXPECT_EQ(Count(Lv2("ControlPort").c_str(), Lv2("OutputPort").c_str()), 0);
  const LilvPort* midi = lilv_plugin_get_port_by_index(world.plugin, 4);
  EXPECT_TRUE(lilv_port_supports_event(world.plugin, midi, Uri("http://lv2plug.in/ns/ext/midi#MidiEvent")));
  EXPECT_TRUE(PortHas(midi, Lv2("connectionOptional").c_str()));
}

// Every control input stands for one amp parameter: same range and default as the
// parameter, switches toggled, lists enumerated with the names the VST2 plug-in shows.
TEST_F(DescriptionTest, ControlInputsMatchTheAmpParameters) {
  ASSERT_NE(world.plugin, nullptr);
  VoltrexPlug amp;
  auto vst2 = StartVst2({});
  ASSERT_TRUE(vst2);
  ASSERT_EQ(Count(Lv2("ControlPort").c_str(), Lv2("InputPort").c_str()), int(PlayerParams().size()));
  uint32_t index = 5;
  for (const PlayerParam& row : PlayerParams()) {
    SCOPED_TRACE(row.symbol);
    const LilvPort* port = lilv_plugin_get_port_by_index(world.plugin, index++);
    EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(world.plugin, port)), row.symbol);
    LilvNode* name = lilv_port_get_name(world.plugin, port);
    EXPECT_STREQ(lilv_node_as_string(name), row.name);
    lilv_node_free(name);
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(world.plugin, port, &def, &min, &max);
    const IParam& param = *amp.GetParam(row.id);
    EXPECT_FLOAT_EQ(lilv_node_as_float(def), float(param.Value()));
    EXPECT_FLOAT_EQ(lilv_node_as_float(min), float(param.Min()));
    EXPECT_FLOAT_EQ(lilv_node_as_float(max), float(param.Max()));
    for (LilvNode* node : {def, min, max}) lilv_node_free(node);

    const bool isSwitch = param.Step() == 1.0 && param.Max() == 1.0;
    const bool isList = param.Max() > 1.0;
    EXPECT_EQ(PortHas(port, Lv2("toggled").c_str()), isSwitch);
    EXPECT_EQ(PortHas(port, Lv2("enumeration").c_str()), isList);
    EXPECT_EQ(PortHas(port, Lv2("integer").c_str()), isList);
    LilvScalePoints* points = lilv_port_get_scale_points(world.plugin, port);
    EXPECT_EQ(points ? int(lilv_scale_points_size(points)) : 0, isList ? int(param.Max()) + 1 : 0);
    LILV_FOREACH(scale_points, i, points) {
      const LilvScalePoint* point = lilv_scale_points_get(points, i);
      const int value = lilv_node_as_int(lilv_scale_point_get_value(point));
      const std::string label = lilv_node_as_string(lilv_scale_point_get_label(point));
      if (row.id == kTuning) {
        EXPECT_EQ(label, TuningName(value));
      } else {
        vst2->SetParameter(row.id, float(value / param.Max()));
        EXPECT_EQ(label, vst2->ParamDisplay(row.id)) << value;
      }
    }
    lilv_scale_points_free(points);
  }
}

TEST_F(DescriptionTest, EditorIsAnX11UiInTheBundle) {
  ASSERT_NE(world.plugin, nullptr);
  LilvUIs* uis = lilv_plugin_get_uis(world.plugin);
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), "urn:voltrex:amp#ui");
  EXPECT_TRUE(lilv_ui_is_a(ui, Uri("http://lv2plug.in/ns/extensions/ui#X11UI")));
  EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)),
               lilv_node_as_uri(lilv_plugin_get_library_uri(world.plugin)));
  lilv_uis_free(uis);
}

}  // namespace
}  // namespace lv2test
