#include "tools/vsthost/InstalledPresets.h"

#include <memory>

#include "platform/Files.h"
#include "amp/ParamIds.h"
#include "presets/DataFolder.h"
#include "presets/NameList.h"
#include "presets/PresetFolders.h"

namespace vsthost {

namespace {

constexpr uint8_t kProgramChange = 0xC0;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return std::string(".") + platform::kSeparator;
  return path.substr(0, slash + 1);
}

}  // namespace

std::vector<PresetBank> ListInstalledPresets(const std::string& pluginPath) {
  const std::string root = PresetsRootFor(DataFolderFor(FolderOf(NativePath(pluginPath))));
  // Name lists are fixed-size tables, too large for the stack.
  auto banks = std::make_unique<NameList>();
  auto presets = std::make_unique<NameList>();
  ListBanks(root, *banks);
  std::vector<PresetBank> listed;
  for (int b = 0; b < banks->Count(); ++b) {
    PresetBank& bank = listed.emplace_back();
    bank.name = banks->Name(b);
    ListPresets(root + banks->FileName(b) + platform::kSeparator, *presets);
    for (int p = 0; p < presets->Count(); ++p) bank.presets.emplace_back(presets->Name(p));
  }
  return listed;
}

void LoadInstalledPreset(PluginHost& host, int bank, int bankCount, int program) {
  host.SetParameter(kBankSelect, bankCount > 1 ? float(bank) / float(bankCount - 1) : 0.0f);
  host.SendMidi({MidiBytes{kProgramChange, uint8_t(program), 0}});
}

}  // namespace vsthost
