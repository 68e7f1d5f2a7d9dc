#include "presets/PresetLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "amp/ParamIds.h"
#include "presets/DataFolder.h"
#include "presets/ImpulsePath.h"
#include "presets/PresetFolders.h"
#include "presets/PresetValues.h"
#include "presets/SelectionIndex.h"

namespace {

constexpr std::size_t kReservedPathBytes = 1024;
constexpr int kStageFlagValue = 18;  // version 4: the impulse-response stage, on above 0.5
constexpr float kStageOnAbove = 0.5f;

constexpr const char* kNewerVersionText =
    "This preset was made with a newer version of\n"
    "software and cannot be read by this application.\n"
    "Please, download the latest version!\n"
    "Voltrex 2.5.0";

}  // namespace

PresetLibrary::PresetLibrary() {
  filePath_.reserve(kReservedPathBytes);
  impulsePath_.reserve(kReservedPathBytes);
}

void PresetLibrary::ListPresetBanks() { ListPresetBanksIn(DataFolder()); }

void PresetLibrary::ListPresetBanksIn(const std::string& dataFolder) {
  dataFolder_ = dataFolder;
  presetsRoot_ = PresetsRootFor(dataFolder);
  ListBanks(presetsRoot_, banks_);
}

void PresetLibrary::ListBankPresets(double bankSelectValue, PresetTarget& target) {
  bank_ = IndexFromValue(bankSelectValue, banks_.Count());
  target.ShowBankName(banks_.Name(bank_));
  bankFolder_.clear();
  if (bank_ < banks_.Count())
    bankFolder_ = presetsRoot_ + banks_.FileName(bank_) + platform::kSeparator;
  ListPresets(bankFolder_, presets_);
  SelectPreset(selected_);
}

void PresetLibrary::SelectPreset(int index) {
  selected_ = std::clamp(index, 0, std::max(presets_.Count() - 1, 0));
}

const char* PresetLibrary::TextField(int index) const {
  return index >= 0 && index < kPresetStrings ? texts_[index] : "";
}

bool PresetLibrary::LoadSelectedPreset(PresetTarget& target) {
  if (presets_.Count() == 0) return false;
  target.ShowPresetName(presets_.Name(selected_));
  const std::size_t size = ReadSelectedFile();
  return size > 0 && ApplyPresetBytes(fileBytes_, size, target);
}

std::size_t PresetLibrary::ReadSelectedFile() {
  filePath_.assign(bankFolder_);
  filePath_.append(presets_.FileName(selected_));
  std::FILE* file = platform::OpenFile(filePath_, "rb");
  if (!file) return 0;
  const std::size_t size = std::fread(fileBytes_, 1, sizeof fileBytes_, file);
  std::fclose(file);
  return size;
}

bool PresetLibrary::ApplyPresetBytes(const std::uint8_t* bytes, std::size_t size,
                                     PresetTarget& target) {
  switch (ReadPresetFile(bytes, size, parsed_)) {
    case PresetReadResult::kUnknownMagic:
      platform::ShowMessage(kNewerVersionText, "Error");
      return false;
    case PresetReadResult::kTruncated:
      return false;
    case PresetReadResult::kRead:
      break;
  }
  std::memcpy(texts_, parsed_.texts, sizeof texts_);
  Apply(parsed_, target);
  return true;
}

void PresetLibrary::Apply(const PresetFile& preset, PresetTarget& target) {
  const bool hasImpulseStage = preset.version == 4;
  // The response is in place before the values switch anything on.
  if (hasImpulseStage && ResolveImpulsePath(preset.impulsePath, dataFolder_, impulsePath_))
    target.LoadImpulse(impulsePath_);

  ParamValue values[kMaxPresetParamValues];
  const int count = PresetParamValues(preset, values);
  for (int i = 0; i < count; ++i) target.ApplyParam(values[i].index, values[i].value);

  if (hasImpulseStage)
    target.SetImpulseStage(preset.values[kStageFlagValue] > kStageOnAbove);
  else
    target.ApplyParam(kIrLed, 0.0);
}
