#include "presets/DataFolder.h"

#include "platform/Files.h"

namespace {

bool FolderHasEntries(const std::string& folder) { return !platform::ListFolder(folder).empty(); }

// "/usr/local/bin/" -> "/usr/local/"; "" when there is no parent.
std::string ParentFolder(const std::string& folder) {
  if (folder.size() < 2) return {};
  const std::size_t cut = folder.rfind(platform::kSeparator, folder.size() - 2);
  return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

}  // namespace

std::string DataFolderFor(const std::string& libraryFolder) {
  if (libraryFolder.empty()) return {};
  const std::string beside = libraryFolder + "Voltrex" + platform::kSeparator;
  if (FolderHasEntries(beside)) return beside;
  const std::string parent = ParentFolder(libraryFolder);
  if (parent.empty()) return beside;
  const std::string shared = parent + "share" + platform::kSeparator + "voltrex" + platform::kSeparator;
  return FolderHasEntries(shared) ? shared : beside;
}

std::string DataFolder() { return DataFolderFor(platform::LibraryFolder()); }

std::string PresetsRootFor(const std::string& dataFolder) {
  return dataFolder.empty() ? std::string() : dataFolder + "Presets" + platform::kSeparator;
}
