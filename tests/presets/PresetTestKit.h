// Helpers of the preset tests: a scratch data folder, a target that records what a load
// applies (and, like the editor's controls, counts only real changes), a message catcher,
// and preset values laid out by version.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "presets/PresetEncoder.h"
#include "presets/PresetTarget.h"

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder path ending in the separator.
  std::string Path() const;
  void MakeFolder(const std::string& relative) const;
  void WriteFile(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::filesystem::path root_;
};

struct TargetCall {
  enum Kind { kParam, kImpulse, kStage, kBankName, kPresetName } kind;
  int index = -1;
  double value = 0.0;
  std::string text;
};

class RecordingTarget : public PresetTarget {
 public:
  void ApplyParam(int index, double value) override;
  void LoadImpulse(const std::string& path) override;
  void SetImpulseStage(bool on) override;
  void ShowBankName(const char* name) override;
  void ShowPresetName(const char* name) override;

  // The parameter calls in order.
  std::vector<int> ParamOrder() const;
  double Value(int index) const;  // -1 when never applied

  std::vector<TargetCall> calls;
  int changedParams = 0;  // applies that changed a stored value
  std::map<int, double> values;
};

// Catches messages for its lifetime.
class MessageCatcher {
 public:
  MessageCatcher();
  ~MessageCatcher();
  std::vector<std::pair<std::string, std::string>> messages;  // text, caption
};

// n distinct values (0.01 * (i + 1), so each position is recognisable) for a version.
std::vector<float> DistinctValues(int version);
std::vector<std::uint8_t> PresetBytes(int version, const std::vector<float>& values,
                                      const std::string& impulsePath = "");
