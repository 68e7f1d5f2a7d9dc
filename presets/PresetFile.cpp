#include "presets/PresetFile.h"

#include <cstring>
#include <string_view>

#include "presets/Utf8Cut.h"

namespace {

constexpr const char* kMagics[] = {"vxpr01", "vxpr02", "vxpr03", "vxpr04"};
constexpr int kValueCounts[] = {66, 17, 17, 23};
constexpr int kVersionCount = 4;
constexpr std::size_t kFloatBytes = 4;

int VersionOfMagic(const std::uint8_t* bytes) {
  for (int i = 0; i < kVersionCount; ++i)
    if (std::memcmp(bytes, kMagics[i], kPresetMagicBytes) == 0) return i + 1;
  return 0;
}

float LittleEndianFloat(const std::uint8_t* bytes) {
  const std::uint32_t bits = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                             std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Reads the zero-terminated string at pos; false when the bytes end first.
bool ReadString(const std::uint8_t* bytes, std::size_t size, std::size_t& pos,
                std::string_view& text) {
  const void* end = std::memchr(bytes + pos, 0, size - pos);
  if (!end) return false;
  const std::size_t length = std::size_t(static_cast<const std::uint8_t*>(end) - (bytes + pos));
  text = std::string_view(reinterpret_cast<const char*>(bytes + pos), length);
  pos += length + 1;
  return true;
}

}  // namespace

int PresetValueCount(int version) {
  return version >= 1 && version <= kVersionCount ? kValueCounts[version - 1] : 0;
}

PresetReadResult ReadPresetFile(const std::uint8_t* bytes, std::size_t size, PresetFile& out) {
  if (size < std::size_t(kPresetMagicBytes)) return PresetReadResult::kTruncated;
  out.version = VersionOfMagic(bytes);
  if (out.version == 0) return PresetReadResult::kUnknownMagic;

  std::size_t pos = kPresetMagicBytes;
  for (int i = 0; i < kPresetStrings; ++i) {
    std::string_view text;
    if (!ReadString(bytes, size, pos, text)) return PresetReadResult::kTruncated;
    CopyIntoSlot(out.texts[i], kPresetTextBytes, text);
    if (i == kPresetImpulseString) {
      const bool fits = text.size() < std::size_t(kPresetImpulsePathBytes);
      CopyIntoSlot(out.impulsePath, kPresetImpulsePathBytes, fits ? text : std::string_view());
    }
  }

  out.valueCount = PresetValueCount(out.version);
  if (size - pos < out.valueCount * kFloatBytes) return PresetReadResult::kTruncated;
  for (int i = 0; i < out.valueCount; ++i) out.values[i] = LittleEndianFloat(bytes + pos + i * kFloatBytes);
  return PresetReadResult::kRead;
}
