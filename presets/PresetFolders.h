// Listing the bank folders and the preset files of a bank, in the file system's order
// (NTFS order on every platform).
#pragma once

#include <string>
#include <string_view>

#include "presets/NameList.h"

// Every folder in presetsRoot except hidden ones (names starting with '.'), up to the
// list's 100 entries.
void ListBanks(const std::string& presetsRoot, NameList& banks);
// Every preset file in bankFolder: not a folder, not hidden, ".vxf" in any case, with a
// name before the extension. Each is shown without its extension and opened by its own
// file name.
void ListPresets(const std::string& bankFolder, NameList& presets);

bool IsPresetFileName(std::string_view fileName);
