// lv2ttl BUNDLE BINARY: writes the LV2 bundle's Turtle files (manifest.ttl, Voltrex.ttl)
// into the folder BUNDLE, describing the plug-in built as BINARY in that folder. The values
// come from a freshly made amp, so the files always match the code.
#include <cstdio>
#include <fstream>
#include <string>

#include "plugin/VoltrexPlug.h"
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
  VoltrexPlug amp(nullptr);
  const lv2ttl::Identity identity{VoltrexPlug::kIdentity.effectName,
                                  VoltrexPlug::kIdentity.vendorName,
                                  VoltrexPlug::kIdentity.vendorVersion};
  if (!WriteText(bundle + "manifest.ttl", lv2ttl::ManifestTurtle(files, {})) ||
      !WriteText(bundle + files.plugin, lv2ttl::PluginTurtle(amp, identity))) {
    std::fprintf(stderr, "lv2ttl: cannot write into %s\n", bundle.c_str());
    return 1;
  }
  return 0;
}
