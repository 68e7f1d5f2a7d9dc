#include "cabinet/CabinetList.h"

#include "platform/Files.h"

namespace {

bool HasWaveExtension(const std::string& fileName, std::string::size_type dot) {
  if (dot == std::string::npos) return false;
  const std::string extension = fileName.substr(dot);
  return extension == ".wav" || extension == ".Wav" || extension == ".WAV";
}

// Cuts UTF-8 text to at most maxBytes without splitting a character.
std::string CutToBytes(const std::string& text, std::string::size_type maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::string::size_type end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

int CabinetList::Build(const std::string& folder, const std::string& chosenFileName) {
  entries_.clear();
  int chosen = -1;
  for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
    if (Count() == kMaxEntries) break;
    const auto dot = entry.name.rfind('.');
    if (entry.isFolder || !HasWaveExtension(entry.name, dot)) continue;
    if (entry.name == chosenFileName) chosen = Count();
    entries_.push_back({CutToBytes(entry.name.substr(0, dot), kMaxNameBytes), entry.name});
  }
  return chosen;
}
