#include "presets/PresetFolders.h"

#include "platform/Files.h"

namespace {

constexpr std::string_view kPresetExtension = ".vxf";

bool IsHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  const std::string_view tail = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i)
    if (LowerAscii(tail[i]) != ending[i]) return false;
  return true;
}

}  // namespace

bool IsPresetFileName(std::string_view fileName) {
  return !IsHidden(fileName) && fileName.size() > kPresetExtension.size() &&
         EndsWithIgnoringCase(fileName, kPresetExtension);
}

void ListBanks(const std::string& presetsRoot, NameList& banks) {
  banks.Clear();
  if (presetsRoot.empty()) return;
  for (const platform::FolderEntry& entry : platform::ListFolder(presetsRoot)) {
    if (!entry.isFolder || IsHidden(entry.name)) continue;
    banks.Add(entry.name, entry.name);
    if (banks.Count() == NameList::kMaxEntries) return;
  }
}

void ListPresets(const std::string& bankFolder, NameList& presets) {
  presets.Clear();
  if (bankFolder.empty()) return;
  for (const platform::FolderEntry& entry : platform::ListFolder(bankFolder)) {
    if (entry.isFolder || !IsPresetFileName(entry.name)) continue;
    const std::string_view name(entry.name);
    presets.Add(name.substr(0, name.size() - kPresetExtension.size()), name);
    if (presets.Count() == NameList::kMaxEntries) return;
  }
}
