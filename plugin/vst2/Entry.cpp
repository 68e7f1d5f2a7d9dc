// The library's entry points. Hosts call VSTPluginMain (older ones "main") once per
// instance, possibly from several threads; construction is serialised.
#include <algorithm>
#include <memory>
#include <mutex>
#include <new>

#include "amp/VoltrexPlug.h"
#include "plugin/vst2/IEffectVST.h"

#ifdef _WIN32
#define VOLTREX_EXPORT extern "C" __declspec(dllexport)
#else
#define VOLTREX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

VOLTREX_EXPORT vst2::AEffect* VSTPluginMain(vst2::HostCallback host) {
  std::lock_guard<std::mutex> guard(ConstructionLock());
  try {
    auto* adaptor = new IEffectVST(host, std::make_unique<VoltrexPlug>(), VoltrexPlug::kIdentity);
    adaptor->Plug().EnsureDefaultPreset();
    vst2::AEffect* effect = adaptor->Effect();
    effect->numPrograms = std::max(effect->numPrograms, 1);
    return effect;
  } catch (...) {
    return nullptr;
  }
}

#if !defined(_WIN32) && !defined(VOLTREX_PROGRAM)
// The older export name (not in a program that hosts the amp itself, whose own main it
// would be). C++ will not declare a function called main returning a pointer, so the
// symbol gets its name from the assembler; Windows builds alias it in Voltrex.def.
VOLTREX_EXPORT vst2::AEffect* VSTPluginMainLegacy(vst2::HostCallback host) __asm__("main");
vst2::AEffect* VSTPluginMainLegacy(vst2::HostCallback host) { return VSTPluginMain(host); }
#endif
