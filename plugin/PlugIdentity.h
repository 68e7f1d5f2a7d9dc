// What a plug-in tells any host about itself, whatever the plug-in API.
#pragma once

#include <cstdint>

struct PlugIdentity {
  const char* effectName;
  const char* productName;
  const char* vendorName;
  int vendorVersion;  // 0xMMmmpp
  int32_t uniqueId;
  int32_t vendorCode;  // stored for the frame; no host interface uses it
  int latency;         // in samples
  bool doesMidi;
  bool isInstrument;
};

// Four characters packed big-endian into one code, as plug-in ids are spelt.
constexpr int32_t FourCharCode(char a, char b, char c, char d) {
  return (int32_t(uint8_t(a)) << 24) | (int32_t(uint8_t(b)) << 16) | (int32_t(uint8_t(c)) << 8) |
         int32_t(uint8_t(d));
}
