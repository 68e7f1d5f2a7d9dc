#include "plugin/lv2/Lv2StateBytes.h"

namespace lv2 {

std::string RelativeToDataFolder(const std::string& path, const std::string& dataFolder) {
  if (dataFolder.empty() || path.size() <= dataFolder.size()) return {};
  if (path.compare(0, dataFolder.size(), dataFolder) != 0) return {};
  const std::string rest = path.substr(dataFolder.size());
  // A path that climbs out again does not lie inside.
  if (rest.find("..") != std::string::npos) return {};
  return rest;
}

ByteChunk WithImpulsePath(const ByteChunk& state, const std::string& path) {
  int32_t length = 0;
  if (state.Get(length, 0) < 0 || length < 0 || !state.Holds(4, length)) return state;
  ByteChunk out;
  out.PutString(path);
  const int rest = 4 + length;
  out.PutBytes(state.Data() + rest, state.Size() - rest);
  return out;
}

}  // namespace lv2
