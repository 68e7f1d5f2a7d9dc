// Where the factory and user content lives: a "Voltrex" folder beside the plug-in binary,
// holding the bank folders under "Presets" and, by convention, impulse responses. An
// installed program (PREFIX/bin/voltrex) has none beside it and uses PREFIX/share/voltrex.
#pragma once

#include <string>

// The data folder of a binary in libraryFolder (ending in a separator), ending in a
// separator: libraryFolder + "Voltrex" when that folder exists, else the parent folder's
// "share/voltrex" when that exists, else the one beside the binary. "" when libraryFolder
// is empty, so that nothing is listed from the current directory by accident.
std::string DataFolderFor(const std::string& libraryFolder);
// The data folder of the binary that holds this code.
std::string DataFolder();
// dataFolder + "Presets" + separator; "" for an empty data folder.
std::string PresetsRootFor(const std::string& dataFolder);
