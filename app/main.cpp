// voltrex: the amp on its own, for players. Plays on JACK (or PipeWire's JACK) with its
// editor in a window of its own or headless, re-amps files offline, lists and exports
// presets. The amp is hosted in-process through the entry point a DAW calls.
#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/PlayCommand.h"
#include "app/PresetsCommands.h"
#include "app/RenderCommand.h"

namespace {
constexpr int kUsageError = 2;
}

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "voltrex: %s\n%s", error.c_str(), UsageText().c_str());
    return kUsageError;
  }
  switch (options.command) {
    case Command::kHelp:
      std::printf("%s", UsageText().c_str());
      return 0;
    case Command::kVersion:
      std::printf("voltrex %s\n", VOLTREX_VERSION);
      return 0;
    case Command::kRender:
      return RunRender(options);
    case Command::kPresets:
      return RunListPresets();
    case Command::kExportPreset:
      return RunExportPreset(options);
    case Command::kPlay:
      return RunPlay(options);
  }
  return kUsageError;
}
