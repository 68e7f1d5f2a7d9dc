#include "presets/PresetEncoder.h"

#include <cstring>

std::vector<std::uint8_t> EncodePreset(int version, const PresetStrings& strings,
                                       const std::vector<float>& values) {
  std::vector<std::uint8_t> bytes;
  const std::string magic = "vxpr0" + std::to_string(version);
  bytes.insert(bytes.end(), magic.begin(), magic.end());
  for (const std::string& text : strings) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
  }
  for (const float value : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(std::uint8_t(bits >> shift));
  }
  return bytes;
}
