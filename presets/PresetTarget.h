// What applying a preset needs from the plug-in. The plug-in applies every value through
// the editor controls bound to the parameter, as a user edit: a control that already shows
// the value does nothing, so loading the same preset twice changes nothing the second time.
#pragma once

#include <string>

class PresetTarget {
 public:
  // A normalised (0 to 1) value for parameter index.
  virtual void ApplyParam(int index, double value) = 0;
  // Opens an impulse-response file as the IR loader would (its folder becomes the
  // impulse folder). A missing file shows the loader's own message.
  virtual void LoadImpulse(const std::string& path) = 0;
  // Sets the impulse-response stage directly and refreshes its lamp and display.
  virtual void SetImpulseStage(bool on) = 0;
  // The bank display and the two preset-name displays.
  virtual void ShowBankName(const char* name) = 0;
  virtual void ShowPresetName(const char* name) = 0;

 protected:
  ~PresetTarget() = default;
};
