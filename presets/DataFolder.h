// Where the factory and user content lives: a "Voltrex" folder beside the plug-in binary,
// holding the bank folders under "Presets" and, by convention, impulse responses.
#pragma once

#include <string>

// libraryFolder (ending in a separator) + "Voltrex" + separator; "" when libraryFolder is
// empty, so that nothing is listed from the current directory by accident.
std::string DataFolderFor(const std::string& libraryFolder);
// The data folder beside the binary that holds this code.
std::string DataFolder();
// dataFolder + "Presets" + separator; "" for an empty data folder.
std::string PresetsRootFor(const std::string& dataFolder);
