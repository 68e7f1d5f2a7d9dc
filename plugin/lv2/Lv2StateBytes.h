// The pieces of the LV2 state that are plain data: where an impulse file is stored
// relative to the data folder, and the amp's state bytes with another impulse path.
#pragma once

#include <string>

#include "plugin/ByteChunk.h"

namespace lv2 {

// The version of the state this build writes; a newer one is read as far as it is known.
inline constexpr int kStateVersion = 1;

// path relative to dataFolder when the file lies inside it ("Impulses/x.wav"), else "".
std::string RelativeToDataFolder(const std::string& path, const std::string& dataFolder);

// The amp's state bytes begin with the impulse path as a length-prefixed string; this
// returns them with path in its place. Bytes that do not begin with a whole string come
// back unchanged.
ByteChunk WithImpulsePath(const ByteChunk& state, const std::string& path);

}  // namespace lv2
