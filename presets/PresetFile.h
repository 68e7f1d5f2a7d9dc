// The preset file: a six-byte magic "vxpr01" to "vxpr04", five zero-terminated strings,
// then the version's count of little-endian 32-bit float values (66, 17, 17 or 23).
// Anything after the values is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kPresetMagicBytes = 6;
constexpr int kPresetStrings = 5;
constexpr int kPresetImpulseString = 4;     // S4: the impulse-response path (version 4)
constexpr int kPresetTextBytes = 256;       // each text field: 255 bytes and the terminator
constexpr int kPresetImpulsePathBytes = 4096;
constexpr int kMaxPresetValues = 66;

// The values a version holds; 0 for an unknown version.
int PresetValueCount(int version);

struct PresetFile {
  int version = 0;  // 1 to 4
  // S0 to S4, each cut to 255 bytes.
  char texts[kPresetStrings][kPresetTextBytes] = {};
  // S4 whole; empty when it does not fit (no path that long can be opened anyway).
  char impulsePath[kPresetImpulsePathBytes] = {};
  float values[kMaxPresetValues] = {};
  int valueCount = 0;
};

enum class PresetReadResult { kRead, kUnknownMagic, kTruncated };

// Reads a whole file's bytes into out. A file that ends before its layout does is
// kTruncated; out is then unspecified and must not be applied.
PresetReadResult ReadPresetFile(const std::uint8_t* bytes, std::size_t size, PresetFile& out);
