// Feeds arbitrary bytes to what the standalone reads from players: the first byte chooses
// the --set parser, the whole command line (arguments split at zero bytes), or the state
// file reader with the program-chunk impulse path it reads and rewrites.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/InProcessAmp.h"
#include "app/ParamSettings.h"
#include "app/StateFile.h"

namespace {

void FuzzSetting(const std::string& text) {
  ParamSetting setting;
  std::string error;
  if (ParseParamSetting(text, setting, error)) {
    if (!(setting.normalized >= 0.0f && setting.normalized <= 1.0f)) std::abort();
  } else if (error.empty()) {
    std::abort();
  }
}

void FuzzCommandLine(const std::string& text) {
  std::vector<std::string> args;
  size_t start = 0;
  for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
    args.push_back(text.substr(start, end - start));
  args.push_back(text.substr(start));
  Options options;
  std::string error;
  if (!ParseCommandLine(args, options, error) && error.empty()) std::abort();
}

void FuzzState(const uint8_t* data, size_t size) {
  std::vector<uint8_t> chunk;
  if (DecodeState(data, size, chunk) && EncodeState(chunk) != std::vector<uint8_t>(data, data + size)) std::abort();
  chunk.assign(data, data + size);
  const std::string path = ChunkImpulsePath(chunk);
  const std::vector<uint8_t> changed = ChunkWithImpulsePath(chunk, "Impulses/x.wav");
  if (!changed.empty() && ChunkImpulsePath(changed) != "Impulses/x.wav") std::abort();
  if (!changed.empty() && ChunkImpulsePath(ChunkWithImpulsePath(changed, path)) != path) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 3) {
    case 0:
      FuzzSetting(text);
      break;
    case 1:
      FuzzCommandLine(text);
      break;
    default:
      FuzzState(data + 1, size - 1);
      break;
  }
  return 0;
}
