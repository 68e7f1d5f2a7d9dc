// lv2ttl BUNDLE BINARY: writes the LV2 bundle's Turtle files into the folder BUNDLE:
// manifest.ttl, Voltrex.ttl (the plug-in built as BINARY in that folder, and its editor)
// and presets.ttl (the factory presets of BUNDLE/Voltrex). Everything comes from a freshly
// opened amp, so the files always match the code.
#include <cstdio>
#include <fstream>
#include <string>

#include "amp/VoltrexPlug.h"
#include "tools/lv2ttl/FactoryPresets.h"
#include "tools/lv2ttl/PluginTurtle.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return bool(file.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lv2ttl BUNDLE BINARY\n");
    return 2;
  }
  const std::string bundle = std::string(argv[1]) + "/";
  lv2ttl::BundleFiles files;
  files.binary = argv[2];
  VoltrexPlug amp;
  amp.RunStatePass(StatePass::Open);
  const lv2ttl::Identity identity{VoltrexPlug::kIdentity.effectName, VoltrexPlug::kIdentity.vendorName,
                                  VoltrexPlug::kIdentity.vendorVersion};
  const std::string plugin = lv2ttl::PluginTurtle(amp, identity);
  const auto presets = lv2ttl::CollectFactoryPresets(amp, bundle + "Voltrex/");
  std::vector<std::string> presetUris;
  for (const auto& preset : presets) presetUris.push_back(preset.uri);
  if (!WriteText(bundle + "manifest.ttl", lv2ttl::ManifestTurtle(files, presetUris)) ||
      !WriteText(bundle + files.plugin, plugin) ||
      !WriteText(bundle + files.presets, lv2ttl::PresetsTurtle(presets))) {
    std::fprintf(stderr, "lv2ttl: cannot write into %s\n", bundle.c_str());
    return 1;
  }
  return 0;
}
