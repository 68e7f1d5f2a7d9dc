#include "tests/presets/PresetTestKit.h"

#include <atomic>
#include <fstream>

#include <unistd.h>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "presets/PresetFile.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  root_ = fs::temp_directory_path() /
          ("voltrex-presets-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(root_);
  fs::create_directories(root_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string ScratchFolder::Path() const { return root_.string() + platform::kSeparator; }

void ScratchFolder::MakeFolder(const std::string& relative) const {
  fs::create_directories(root_ / relative);
}

void ScratchFolder::WriteFile(const std::string& relative,
                              const std::vector<std::uint8_t>& bytes) const {
  const fs::path path = root_ / relative;
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void RecordingTarget::ApplyParam(int index, double value) {
  calls.push_back({TargetCall::kParam, index, value, {}});
  const auto found = values.find(index);
  if (found == values.end() || found->second != value) ++changedParams;
  values[index] = value;
}

void RecordingTarget::LoadImpulse(const std::string& path) {
  calls.push_back({TargetCall::kImpulse, -1, 0.0, path});
}

void RecordingTarget::SetImpulseStage(bool on) {
  calls.push_back({TargetCall::kStage, -1, on ? 1.0 : 0.0, {}});
}

void RecordingTarget::ShowBankName(const char* name) {
  calls.push_back({TargetCall::kBankName, -1, 0.0, name});
}

void RecordingTarget::ShowPresetName(const char* name) {
  calls.push_back({TargetCall::kPresetName, -1, 0.0, name});
}

std::vector<int> RecordingTarget::ParamOrder() const {
  std::vector<int> order;
  for (const TargetCall& call : calls)
    if (call.kind == TargetCall::kParam) order.push_back(call.index);
  return order;
}

double RecordingTarget::Value(int index) const {
  const auto found = values.find(index);
  return found == values.end() ? -1.0 : found->second;
}

namespace {
void Catch(const std::string& text, const std::string& caption, void* user) {
  static_cast<MessageCatcher*>(user)->messages.emplace_back(text, caption);
}
}  // namespace

MessageCatcher::MessageCatcher() { platform::SetMessageSink(&Catch, this); }
MessageCatcher::~MessageCatcher() { platform::SetMessageSink(nullptr, nullptr); }

std::vector<float> DistinctValues(int version) {
  std::vector<float> values(PresetValueCount(version));
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = 0.01f * float(i + 1);
  return values;
}

std::vector<std::uint8_t> PresetBytes(int version, const std::vector<float>& values,
                                      const std::string& impulsePath) {
  return EncodePreset(version, {"S0", "S1", "S2", "S3", impulsePath}, values);
}
