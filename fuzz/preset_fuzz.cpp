// Feeds arbitrary bytes to the preset reader and applies whatever it accepts to a target
// that checks each value: indices within the parameter list, values within 0 to 1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Dialogs.h"
#include "amp/ParamIds.h"
#include "presets/PresetLibrary.h"

namespace {

class CheckingTarget : public PresetTarget {
 public:
  void ApplyParam(int index, double value) override {
    if (index < 0 || index >= kNumParams || !(value >= 0.0 && value <= 1.0)) std::abort();
  }
  void LoadImpulse(const std::string& path) override {
    if (path.empty()) std::abort();
  }
  void SetImpulseStage(bool) override {}
  void ShowBankName(const char*) override {}
  void ShowPresetName(const char*) override {}
};

void IgnoreMessage(const std::string&, const std::string&, void*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static PresetLibrary* library = [] {
    platform::SetMessageSink(&IgnoreMessage, nullptr);
    auto* made = new PresetLibrary;
    made->ListPresetBanksIn("/nonexistent/Voltrex/");
    return made;
  }();
  CheckingTarget target;
  library->ApplyPresetBytes(data, size, target);
  return 0;
}
