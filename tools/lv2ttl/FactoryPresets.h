// The factory presets as LV2 presets: each loaded into the amp as the browser loads it
// (bank selection, then a program change), then its port values and state read back, so
// a host applying one gets exactly what the browser gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VoltrexPlug;

namespace lv2ttl {

struct FactoryPreset {
  std::string uri;
  std::string label;               // "Bank: Name"
  std::vector<float> portValues;   // one per player parameter, in port order
  std::vector<uint8_t> state;      // the amp's state bytes, without the impulse path
  std::string impulse;             // relative to the data folder, or ""
};

// amp: freshly made and opened; dataFolder ends in a separator.
std::vector<FactoryPreset> CollectFactoryPresets(VoltrexPlug& amp, const std::string& dataFolder);

std::string PresetsTurtle(const std::vector<FactoryPreset>& presets);

}  // namespace lv2ttl
