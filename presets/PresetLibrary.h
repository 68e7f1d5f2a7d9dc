// The preset banks of the data folder and the loading of one preset: the bank list, the
// current bank's preset list, the selected preset, and the text fields of the last file
// read. One lives in the plug-in object; everything runs under the plug-in lock.
//
// Loading reads the file into a fixed buffer and parses it into fixed slots: a MIDI
// program change loads on the audio thread, so the load path makes no large allocation
// (only the file path string, and the impulse path of a version-4 preset).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "presets/NameList.h"
#include "presets/PresetFile.h"
#include "presets/PresetTarget.h"

class PresetLibrary {
 public:
  // The largest preset file read; a file whose layout ends beyond it is refused like a
  // truncated one (real presets are well under 2 KB).
  static constexpr std::size_t kMaxFileBytes = 16384;

  PresetLibrary();

  // Finds the data folder beside the plug-in binary and lists its banks.
  void ListPresetBanks();
  // The same for a given data folder (ending in a separator).
  void ListPresetBanksIn(const std::string& dataFolder);
  // Selects the bank for kBankSelect's value (IndexFromValue over the bank count), shows
  // its name and lists its presets. The preset selection stays, kept within the new list.
  void ListBankPresets(double bankSelectValue, PresetTarget& target);

  // The preset LoadSelectedPreset loads: index kept within 0 .. count - 1, 0 when empty.
  void SelectPreset(int index);
  int SelectedPreset() const { return selected_; }

  // Shows the selected preset's name, reads its file and applies it. False, and nothing
  // applied, when the list is empty, the file cannot be opened or is truncated (all
  // silent), or its magic is unknown (the "Error" message).
  bool LoadSelectedPreset(PresetTarget& target);
  // Reads and applies a preset from bytes in memory, as LoadSelectedPreset does after
  // opening the file (the fuzz target enters here).
  bool ApplyPresetBytes(const std::uint8_t* bytes, std::size_t size, PresetTarget& target);

  const std::string& DataFolderPath() const { return dataFolder_; }
  const std::string& BankFolder() const { return bankFolder_; }
  int CurrentBank() const { return bank_; }
  const NameList& Banks() const { return banks_; }
  const NameList& Presets() const { return presets_; }
  // S0 to S4 of the last preset read; nothing shows them.
  const char* TextField(int index) const;

 private:
  std::size_t ReadSelectedFile();
  void Apply(const PresetFile& preset, PresetTarget& target);

  std::string dataFolder_;
  std::string presetsRoot_;
  std::string bankFolder_;
  std::string filePath_;     // reused for every load, reserved once
  std::string impulsePath_;  // likewise
  int bank_ = 0;
  int selected_ = 0;
  NameList banks_;
  NameList presets_;
  char texts_[kPresetStrings][kPresetTextBytes] = {};
  PresetFile parsed_;
  std::uint8_t fileBytes_[kMaxFileBytes] = {};
};
