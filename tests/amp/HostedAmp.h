// The amp as a VST2 host holds it: the adaptor owns the amp, and tests reach both, the
// amp directly and the host's calls through the effect record.
#pragma once

#include <memory>

#include "amp/VoltrexPlug.h"
#include "plugin/vst2/IEffectVST.h"

template <typename Amp = VoltrexPlug>
class HostedAmp {
 public:
  explicit HostedAmp(vst2::HostCallback host = nullptr) {
    auto amp = std::make_unique<Amp>();
    amp_ = amp.get();
    adaptor_ = std::make_unique<IEffectVST>(host, std::move(amp), VoltrexPlug::kIdentity);
  }

  Amp& amp() { return *amp_; }
  const Amp& amp() const { return *amp_; }
  Amp* operator->() { return amp_; }
  const Amp* operator->() const { return amp_; }
  IEffectVST& Adaptor() { return *adaptor_; }
  vst2::AEffect* Effect() { return adaptor_->Effect(); }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) {
    return Effect()->dispatcher(Effect(), opcode, index, value, ptr, opt);
  }

 private:
  Amp* amp_ = nullptr;
  std::unique_ptr<IEffectVST> adaptor_;
};
