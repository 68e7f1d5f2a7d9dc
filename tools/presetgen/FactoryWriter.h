// Writes the data folder's factory content: Presets/<bank>/<name>.vxf for every preset of
// the table (version 4 when it uses an impulse response, version 3 otherwise) and
// Impulses/<name>.wav for every impulse of the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/presetgen/FactoryTable.h"

// The preset file's bytes.
std::vector<std::uint8_t> FactoryPresetFile(const FactoryPreset& preset);

// Writes everything under dataFolder (which must end in '/'); false with a message on the
// first file that cannot be written or an impulse a preset names but the table lacks.
bool WriteFactoryContent(const FactoryTable& table, const std::string& dataFolder,
                         std::string& error);
