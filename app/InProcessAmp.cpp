#include "app/InProcessAmp.h"

#include <cstring>

#include "plugin/vst2/vst2.h"

// The plug-in's entry point, compiled into this program.
extern "C" vst2::AEffect* VSTPluginMain(vst2::HostCallback host);

namespace {

// A program chunk opens with the plug-in's magic and layout version, then the impulse
// path as a 32-bit little-endian length and that many bytes, then the parameter values.
constexpr uint8_t kChunkMagic[4] = {'t', 'f', 'f', 'p'};
constexpr size_t kPathLengthAt = 8;
constexpr size_t kPathAt = kPathLengthAt + 4;

bool IsOurChunk(const std::vector<uint8_t>& chunk) {
  return chunk.size() >= kPathAt && std::memcmp(chunk.data(), kChunkMagic, sizeof kChunkMagic) == 0;
}

// The stored path length, or -1 when it does not fit the chunk.
int64_t PathLength(const std::vector<uint8_t>& chunk) {
  const uint32_t length = uint32_t(chunk[kPathLengthAt]) | uint32_t(chunk[kPathLengthAt + 1]) << 8 |
                          uint32_t(chunk[kPathLengthAt + 2]) << 16 | uint32_t(chunk[kPathLengthAt + 3]) << 24;
  return int32_t(length) >= 0 && kPathAt + length <= chunk.size() ? int64_t(length) : -1;
}

}  // namespace

std::unique_ptr<vsthost::PluginHost> CreateAmp(std::string& error) {
  return vsthost::PluginHost::Create(&VSTPluginMain, &error);
}

std::string ChunkImpulsePath(const std::vector<uint8_t>& chunk) {
  if (!IsOurChunk(chunk)) return {};
  const int64_t length = PathLength(chunk);
  if (length <= 0) return {};
  const char* bytes = reinterpret_cast<const char*>(chunk.data() + kPathAt);
  return std::string(bytes, strnlen(bytes, size_t(length)));
}

std::vector<uint8_t> ChunkWithImpulsePath(const std::vector<uint8_t>& chunk, const std::string& path) {
  if (!IsOurChunk(chunk)) return {};
  const int64_t length = PathLength(chunk);
  if (length < 0) return {};
  std::vector<uint8_t> changed(chunk.begin(), chunk.begin() + kPathLengthAt);
  const uint32_t newLength = uint32_t(path.size());
  for (int shift = 0; shift < 32; shift += 8) changed.push_back(uint8_t(newLength >> shift));
  changed.insert(changed.end(), path.begin(), path.end());
  changed.insert(changed.end(), chunk.begin() + int64_t(kPathAt) + length, chunk.end());
  return changed;
}
