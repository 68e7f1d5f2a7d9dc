// The base of every editor control: the parameter it is bound to and its normalised value.
// Values and the dirty flag are atomics because parameter changes reach controls from the
// host's threads (automation, MIDI on the audio thread) while the interface thread draws.
#pragma once

#include <atomic>

class IEffectBase;

class IControl {
 public:
  static constexpr int kNoParameter = -1;

  IControl(IEffectBase* plug, int paramIdx = kNoParameter) : plug_(plug), paramIdx_(paramIdx) {}
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  int ParamIdx() const { return paramIdx_; }
  double GetValue() const { return value_.load(std::memory_order_relaxed); }

  // Takes a value from the plug-in without telling it back.
  virtual void SetValueFromPlug(double normalized);
  // Takes a value and passes it to the plug-in like a user edit.
  void SetValueFromUserInput(double normalized);

  void SetDirty() { dirty_.store(true, std::memory_order_release); }
  bool IsDirty() const { return dirty_.load(std::memory_order_acquire); }
  void SetClean() { dirty_.store(false, std::memory_order_release); }

 protected:
  IEffectBase* plug_;

 private:
  const int paramIdx_;
  std::atomic<double> value_{0.0};
  std::atomic<bool> dirty_{true};
};
