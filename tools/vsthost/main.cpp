// vsthost: loads a VST 2.x plug-in binary and reports on it as a DAW's scanner would.
//   vsthost info PLUGIN    identity, channels, flags and every parameter with its display
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/vsthost/PluginHost.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vsthost info PLUGIN\n");
  return 2;
}

std::string FourChars(int32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = char((id >> shift) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

int Info(const std::string& path) {
  std::string error;
  auto host = vsthost::PluginHost::Load(path, &error);
  if (!host) {
    std::fprintf(stderr, "vsthost: cannot load %s: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  host->Dispatch(vst2::effOpen);
  const vst2::AEffect* e = host->Effect();
  std::printf("name:       %s\n", host->EffectName().c_str());
  std::printf("vendor:     %s\n", host->VendorString().c_str());
  std::printf("product:    %s\n", host->ProductString().c_str());
  std::printf("unique id:  0x%08x '%s'\n", unsigned(e->uniqueID), FourChars(e->uniqueID).c_str());
  std::printf("version:    %d\n", e->version);
  std::printf("inputs:     %d\n", e->numInputs);
  std::printf("outputs:    %d\n", e->numOutputs);
  std::printf("flags:      0x%x\n", unsigned(e->flags));
  std::printf("latency:    %d\n", e->initialDelay);
  std::printf("programs:   %d\n", e->numPrograms);
  std::printf("category:   %d\n", int(host->Dispatch(vst2::effGetPlugCategory)));
  std::printf("parameters: %d\n", e->numParams);
  for (int i = 0; i < e->numParams; ++i) {
    std::printf("  %3d  %-16s %s\n", i, host->ParamName(i).c_str(), host->ParamDisplay(i).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
  return Usage();
}
