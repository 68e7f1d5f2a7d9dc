// The bundle's manifest and the plug-in's description (ports, features, editor), written
// from the amp's declared parameters so ranges and names are never stated twice.
#pragma once

#include <string>
#include <vector>

class IEffectBase;

namespace lv2ttl {

struct BundleFiles {
  std::string binary;                       // the shared library, beside the Turtle files
  std::string plugin = "Voltrex.ttl";       // the plug-in and its editor
  std::string presets = "presets.ttl";      // the factory presets
};

struct Identity {
  std::string name;
  std::string maker;
  int version;  // 0xMMmmpp
};

// The preset URIs the manifest announces, each described in the presets file.
std::string ManifestTurtle(const BundleFiles& files, const std::vector<std::string>& presetUris);

// amp: freshly made, its values the defaults a host shows.
std::string PluginTurtle(const IEffectBase& amp, const Identity& identity);

// LV2 versions: minor and micro must be even for a release. Major m, minor n, patch p give
// minor 2 * (100 m + n) and micro 2 p, which orders as the releases do.
int Lv2MinorVersion(int version);
int Lv2MicroVersion(int version);

}  // namespace lv2ttl
