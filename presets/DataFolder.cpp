#include "presets/DataFolder.h"

#include "platform/Files.h"

std::string DataFolderFor(const std::string& libraryFolder) {
  return libraryFolder.empty() ? std::string() : libraryFolder + "Voltrex" + platform::kSeparator;
}

std::string DataFolder() { return DataFolderFor(platform::LibraryFolder()); }

std::string PresetsRootFor(const std::string& dataFolder) {
  return dataFolder.empty() ? std::string() : dataFolder + "Presets" + platform::kSeparator;
}
