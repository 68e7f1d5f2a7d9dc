// The preset banks installed beside a plug-in binary, listed as the plug-in's browser lists
// them, and loading one through the host as a player does: the bank by automating the
// bank selection, the preset by a MIDI program change.
#pragma once

#include <string>
#include <vector>

#include "tools/vsthost/PluginHost.h"

namespace vsthost {

struct PresetBank {
  std::string name;
  std::vector<std::string> presets;  // in the browser's order: program p is presets[p]
};

// The banks of <folder of pluginPath>/Voltrex/Presets, whatever the current directory;
// empty when there are none.
std::vector<PresetBank> ListInstalledPresets(const std::string& pluginPath);

// Selects bank `bank` of `bankCount` and loads program `program` of that bank. The plug-in
// must be open; MIDI is taken at once, so the preset applies before the next block.
void LoadInstalledPreset(PluginHost& host, int bank, int bankCount, int program);

}  // namespace vsthost
