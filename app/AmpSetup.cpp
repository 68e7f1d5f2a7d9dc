#include "app/AmpSetup.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "app/InProcessAmp.h"
#include "app/StateFile.h"
#include "platform/Files.h"
#include "amp/ParamIds.h"
#include "presets/DataFolder.h"
#include "tools/vsthost/InstalledPresets.h"

namespace {

constexpr uint8_t kProgramChange = 0xC0;

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Exact spelling first, then any case.
template <typename Names, typename NameOf>
int FindName(const Names& names, const std::string& wanted, NameOf nameOf) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (nameOf(names[i]) == wanted) return int(i);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameName(nameOf(names[i]), wanted)) return int(i);
  }
  return -1;
}

bool ResolvePreset(const std::string& text, ResolvedStart& resolved, std::string& error) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) {
    error = "--preset wants \"BANK/NAME\", not \"" + text + "\"";
    return false;
  }
  const std::string bankName = text.substr(0, slash);
  const std::string presetName = text.substr(slash + 1);
  const std::vector<vsthost::PresetBank> banks = vsthost::ListInstalledPresets(platform::LibraryFolder());
  const int bank = FindName(banks, bankName, [](const vsthost::PresetBank& b) { return b.name; });
  if (bank < 0) {
    error = "no preset bank \"" + bankName + "\" (voltrex presets lists them)";
    return false;
  }
  const auto& presets = banks[size_t(bank)].presets;
  const int preset = FindName(presets, presetName, [](const std::string& name) { return name; });
  if (preset < 0) {
    error = "no preset \"" + presetName + "\" in bank \"" + banks[size_t(bank)].name + "\" (voltrex presets lists them)";
    return false;
  }
  resolved.bank = bank;
  resolved.bankCount = int(banks.size());
  resolved.preset = preset;
  return true;
}

bool ResolveImpulse(const std::string& path, std::string& resolved, std::string& error) {
  char absolute[PATH_MAX];
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file || !realpath(path.c_str(), absolute)) {
    if (file) std::fclose(file);
    error = "cannot read the impulse response " + path;
    return false;
  }
  std::fclose(file);
  resolved = absolute;
  return true;
}

}  // namespace

std::string ProgramDataFolder() { return DataFolderFor(platform::LibraryFolder()); }

bool ResolveStartSettings(const StartSettings& start, ResolvedStart& resolved, std::string& error) {
  resolved = ResolvedStart{};
  resolved.program = start.program;
  if (!start.preset.empty() && !ResolvePreset(start.preset, resolved, error)) return false;
  if (!start.impulse.empty() && !ResolveImpulse(start.impulse, resolved.impulse, error)) return false;
  for (const std::string& text : start.settings) {
    ParamSetting setting;
    if (!ParseParamSetting(text, setting, error)) return false;
    resolved.settings.push_back(setting);
  }
  return true;
}

std::unique_ptr<vsthost::PluginHost> StartAmp(double sampleRate, int maxBlock, vst2::ProcessLevel level,
                                              std::string& error) {
  std::unique_ptr<vsthost::PluginHost> amp = CreateAmp(error);
  if (!amp) return nullptr;
  amp->SetProcessLevel(level);
  // Nothing reads the record of host calls, which would lock and allocate on the audio thread.
  amp->StopRecordingCalls();
  amp->Start(sampleRate, maxBlock);
  return amp;
}

StateRestore RestoreState(std::unique_ptr<vsthost::PluginHost>& amp, const std::string& path, double sampleRate,
                          int maxBlock, vst2::ProcessLevel level, bool& savable) {
  savable = true;
  std::vector<uint8_t> chunk;
  std::string reason;
  StateRead read = ReadStateFile(path, chunk, reason);
  if (read == StateRead::kMissing) return StateRestore::kNone;
  if (read == StateRead::kRead && amp->SetChunk(chunk, false) == 1) return StateRestore::kRestored;
  if (read == StateRead::kRead) {
    reason = "the amp refused it";
    // Whatever part of it was applied goes with the instance.
    std::string error;
    if (auto fresh = StartAmp(sampleRate, maxBlock, level, error)) amp = std::move(fresh);
  }
  std::string aside;
  if (SetStateAside(path, aside)) {
    std::fprintf(stderr, "voltrex: the saved state %s is unreadable (%s); kept it as %s and started from defaults\n",
                 path.c_str(), reason.c_str(), aside.c_str());
  } else {
    savable = false;
    std::fprintf(stderr,
                 "voltrex: the saved state %s is unreadable (%s) and cannot be moved aside; started from defaults "
                 "and will not save over it\n",
                 path.c_str(), reason.c_str());
  }
  return StateRestore::kDamaged;
}

bool LoadStateAsIs(vsthost::PluginHost& amp, const std::string& path, std::string& error) {
  std::vector<uint8_t> chunk;
  std::string reason;
  switch (ReadStateFile(path, chunk, reason)) {
    case StateRead::kMissing:
      error = "no state file " + path;
      return false;
    case StateRead::kDamaged:
      error = "cannot use the state file " + path + ": " + reason;
      return false;
    case StateRead::kRead:
      break;
  }
  if (amp.SetChunk(chunk, false) == 1) return true;
  error = "cannot use the state file " + path + ": the amp refused it";
  return false;
}

void ApplyStartSettings(vsthost::PluginHost& amp, const ResolvedStart& start) {
  if (start.preset >= 0) vsthost::LoadInstalledPreset(amp, start.bank, start.bankCount, start.preset);
  if (start.program >= 0) amp.SendMidi({vsthost::MidiBytes{kProgramChange, uint8_t(start.program), 0}});
  if (!start.impulse.empty()) {
    const std::vector<uint8_t> chunk = ChunkWithImpulsePath(amp.GetChunk(false), start.impulse);
    if (!chunk.empty()) amp.SetChunk(chunk, false);
    amp.SetParameter(kIrLed, 1.0f);
  }
  for (const ParamSetting& setting : start.settings) amp.SetParameter(setting.index, setting.normalized);
}
