#include "tests/lv2/Reference.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "amp/PlayerParams.h"
#include "tools/vsthost/Riff.h"

namespace lv2test {

namespace {

constexpr double kRate = 44100.0;
constexpr double kPluckHz = 110.0;

// The normalised value of a port's real value, from the port's range as the bundle
// declares it.
float Normalized(const std::string& symbol, float value) {
  World& world = World::Get();
  LilvNode* node = lilv_new_string(world.world, symbol.c_str());
  const LilvPort* port = lilv_plugin_get_port_by_symbol(world.plugin, node);
  lilv_node_free(node);
  LilvNode* min = nullptr;
  LilvNode* max = nullptr;
  lilv_port_get_range(world.plugin, port, nullptr, &min, &max);
  const float low = lilv_node_as_float(min);
  const float high = lilv_node_as_float(max);
  lilv_node_free(min);
  lilv_node_free(max);
  return (value - low) / (high - low);
}

}  // namespace

std::unique_ptr<vsthost::PluginHost> StartVst2(const Settings& settings, int blockSize, double sampleRate) {
  std::string error;
  auto host = vsthost::PluginHost::Load(VOLTREX_VST2_PLUGIN, &error);
  if (!host) return nullptr;
  host->Start(sampleRate, blockSize);
  for (const auto& [symbol, value] : settings) {
    host->SetParameter(FindPlayerParam(symbol)->id, Normalized(symbol, value));
  }
  return host;
}

Frames ProcessVst2(vsthost::PluginHost& host, const std::vector<float>& mono, int blockSize) {
  Frames out;
  const auto frames = static_cast<size_t>(blockSize);
  std::vector<float> in(frames), left(frames), right(frames);
  for (size_t done = 0; done < mono.size(); done += size_t(blockSize)) {
    const int n = int(std::min(mono.size() - done, size_t(blockSize)));
    std::copy(mono.begin() + long(done), mono.begin() + long(done) + n, in.begin());
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {left.data(), right.data()};
    host.ProcessReplacing(inputs, outputs, n);
    for (int i = 0; i < n; ++i) out.push_back({left[size_t(i)], right[size_t(i)]});
  }
  return out;
}

std::vector<float> Pluck(double seconds) {
  return vsthost::SynthesisePluck(kRate, kPluckHz, seconds).channels[0];
}

float MaxDifference(const Frames& a, const Frames& b) {
  if (a.size() != b.size()) return std::numeric_limits<float>::infinity();
  float most = 0.0f;
  for (size_t i = 0; i < a.size(); ++i) {
    for (int c = 0; c < 2; ++c) most = std::max(most, std::fabs(a[i][size_t(c)] - b[i][size_t(c)]));
  }
  return most;
}

double RmsDb(const Frames& frames) {
  double sum = 0.0;
  for (const auto& frame : frames) sum += double(frame[0]) * frame[0] + double(frame[1]) * frame[1];
  return 10.0 * std::log10(sum / double(std::max<size_t>(1, 2 * frames.size())));
}

bool AllFinite(const Frames& frames) {
  return std::all_of(frames.begin(), frames.end(),
                     [](const auto& f) { return std::isfinite(f[0]) && std::isfinite(f[1]); });
}

void Apply(Instance& instance, const Settings& settings) {
  for (const auto& [symbol, value] : settings) instance.SetControl(symbol, value);
}

}  // namespace lv2test
