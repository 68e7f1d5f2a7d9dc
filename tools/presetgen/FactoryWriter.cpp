#include "tools/presetgen/FactoryWriter.h"

#include <filesystem>
#include <fstream>

#include "amp/ParamIds.h"
#include "presets/PresetEncoder.h"
#include "tools/presetgen/ImpulseSynth.h"

namespace {

constexpr int kPlainVersion = 3;
constexpr int kImpulseVersion = 4;
constexpr int kImpulseStageValue = 18;
constexpr const char* kAuthor = "Voltrex factory";

std::vector<float> PresetValues(const FactoryPreset& p) {
  const bool withImpulse = !p.impulse.name.empty();
  std::vector<float> v(withImpulse ? 23 : 17, 0.0f);
  v[kGateOn] = p.gateOn ? 1.0f : 0.0f;
  v[kGateThreshold] = float(p.gateThreshold);
  v[kGateRelease] = float(p.gateRelease);
  v[kDstOn] = 1.0f;
  v[kDstPreset] = float(p.model) / float(kNumModels - 1);
  v[kDstLevel] = float(p.pedal[0]);
  v[kDstDrive] = float(p.pedal[1]);
  v[kAmpColor] = float(p.color);
  v[kAmpPresence] = float(p.presence);
  v[kDstLow] = float(p.pedal[2]);
  v[kDstMid] = float(p.pedal[3]);
  v[kDstHigh] = float(p.pedal[4]);
  v[kCabPreset] = float(p.cabinet) / float(kNumCabinets - 1);
  v[kMainBass] = float(p.bass);
  v[kMainTreble] = float(p.treble);
  v[kLoudness] = 0.5f;
  v[kMainVolume] = float(p.volume);
  if (withImpulse) {
    v[kImpulseStageValue] = 1.0f;
    v[kIrDryLevel] = float(p.impulse.dry);
    v[kIrWetLevel] = float(p.impulse.wet);
  }
  return v;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes,
               std::string& error) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (file) return true;
  error = "cannot write " + path.string();
  return false;
}

bool TableHasImpulse(const FactoryTable& table, const std::string& name) {
  for (const FactoryImpulse& impulse : table.impulses)
    if (impulse.name == name) return true;
  return false;
}

}  // namespace

std::vector<std::uint8_t> FactoryPresetFile(const FactoryPreset& preset) {
  const bool withImpulse = !preset.impulse.name.empty();
  const std::string impulsePath = withImpulse ? "Impulses/" + preset.impulse.name + ".wav" : "";
  return EncodePreset(withImpulse ? kImpulseVersion : kPlainVersion,
                      {preset.name, preset.bank, kAuthor, "", impulsePath}, PresetValues(preset));
}

bool WriteFactoryContent(const FactoryTable& table, const std::string& dataFolder,
                         std::string& error) {
  const std::filesystem::path root(dataFolder);
  for (const FactoryImpulse& impulse : table.impulses) {
    const auto wave = EncodeWave16(SynthesiseImpulse(impulse), kImpulseSampleRateHz);
    if (!WriteFile(root / "Impulses" / (impulse.name + ".wav"), wave, error)) return false;
  }
  for (const FactoryPreset& preset : table.presets) {
    if (!preset.impulse.name.empty() && !TableHasImpulse(table, preset.impulse.name)) {
      error = preset.name + ": no impulse \"" + preset.impulse.name + "\" in the table";
      return false;
    }
    const auto path = root / "Presets" / preset.bank / (preset.name + ".vxf");
    if (!WriteFile(path, FactoryPresetFile(preset), error)) return false;
  }
  return true;
}
