// What a plug-in tells its host, whichever plug-in API carries it. Each API adaptor
// implements it and hands it to IEffectBase::SetHostLink; without one, nothing is told.
#pragma once

class HostLink {
 public:
  virtual ~HostLink() = default;

  // Any thread, usually with the plug-in lock held; no allocation, no waiting.
  // A gesture on parameter index begins, moves it to a normalised value, ends.
  virtual void BeginParamChange(int index) = 0;
  virtual void ParamChanged(int index, double normalized) = 0;
  virtual void EndParamChange(int index) = 0;
};
