#include "app/PresetsCommands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/AmpSetup.h"
#include "app/InProcessAmp.h"
#include "app/StateFile.h"
#include "platform/Files.h"
#include "presets/PresetEncoder.h"
#include "presets/PresetValues.h"
#include "tools/vsthost/InstalledPresets.h"

namespace {

constexpr int kNewestPresetVersion = 4;
constexpr double kExportSampleRate = 48000.0;
constexpr int kExportBlock = 512;
constexpr const char* kPresetExtension = ".vxf";

// The impulse path as a preset stores it: relative to the data folder when inside it,
// so the preset works wherever voltrex is installed.
std::string StoredImpulsePath(const std::string& path) {
  const std::string data = ProgramDataFolder();
  if (!data.empty() && path.size() > data.size() && path.compare(0, data.size(), data) == 0)
    return path.substr(data.size());
  return path;
}

bool WriteAside(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string temporary = path + ".partial";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.flush();
    if (file && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  }
  error = "cannot write " + path + ": " + std::strerror(errno);
  std::remove(temporary.c_str());
  return false;
}

// The amp at the saved state (defaults when none was ever saved) and the start settings.
std::unique_ptr<vsthost::PluginHost> SavedSound(const Options& options, std::string& error) {
  ResolvedStart start;
  if (!ResolveStartSettings(options.start, start, error)) return nullptr;
  auto amp = StartAmp(kExportSampleRate, kExportBlock, vst2::kProcessLevelOffline, error);
  if (!amp) return nullptr;
  const std::string statePath = options.statePath.empty() ? DefaultStatePath() : options.statePath;
  std::vector<uint8_t> unused;
  std::string reason;
  const bool neverSaved = options.statePath.empty() && ReadStateFile(statePath, unused, reason) == StateRead::kMissing;
  if (neverSaved) {
    std::fprintf(stderr, "voltrex: no saved state yet; exporting the defaults\n");
  } else if (!LoadStateAsIs(*amp, statePath, error)) {
    return nullptr;
  }
  ApplyStartSettings(*amp, start);
  return amp;
}

}  // namespace

int RunListPresets() {
  const std::vector<vsthost::PresetBank> banks = vsthost::ListInstalledPresets(platform::LibraryFolder());
  if (banks.empty()) {
    std::fprintf(stderr, "voltrex: no preset banks in %s\n", ProgramDataFolder().c_str());
    return 1;
  }
  for (size_t b = 0; b < banks.size(); ++b) {
    std::printf("bank %zu: %s (%zu presets)\n", b, banks[b].name.c_str(), banks[b].presets.size());
    for (size_t p = 0; p < banks[b].presets.size(); ++p) std::printf("  %3zu  %s\n", p, banks[b].presets[p].c_str());
  }
  return 0;
}

int RunExportPreset(const Options& options) {
  const std::filesystem::path path(options.output);
  std::string error;
  if (path.extension() != kPresetExtension) {
    error = "a preset file's name ends in .vxf, not \"" + options.output + "\"";
  } else if (auto amp = SavedSound(options, error)) {
    std::vector<float> values(kMaxPresetParamValues);
    for (int i = 0; i < kMaxPresetParamValues; ++i) values[size_t(i)] = amp->GetParameter(i);
    const std::string impulse = StoredImpulsePath(ChunkImpulsePath(amp->GetChunk(false)));
    const PresetStrings strings{path.stem().string(), "", "", "", impulse};
    if (WriteAside(options.output, EncodePreset(kNewestPresetVersion, strings, values), error)) return 0;
  }
  std::fprintf(stderr, "voltrex export-preset: %s\n", error.c_str());
  return 1;
}
