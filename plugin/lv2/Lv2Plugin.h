// The LV2 plug-in: owns one amp and carries the LV2 calls to it. Control ports are applied
// only when the host changes them; values the amp changes itself (MIDI, a model switch,
// the editor) are flagged here and written to the host's ports by the editor on the
// interface thread. State is the amp's state bytes plus the impulse file as a path.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "amp/PlayerParams.h"
#include "lv2/core/lv2.h"
#include "lv2/options/options.h"
#include "lv2/state/state.h"
#include "lv2/urid/urid.h"
#include "lv2/worker/worker.h"
#include "plugin/IMidiMsg.h"
#include "plugin/HostLink.h"

class VoltrexPlug;

namespace lv2 {

class Lv2Plugin final : private HostLink {
 public:
  static constexpr int kControlPorts = 21;
  // The block size when the host tells none: processing in pieces of this many frames.
  static constexpr int kDefaultBlockFrames = 512;

  // Instantiation thread. Every feature is optional.
  Lv2Plugin(double sampleRate, const LV2_Feature* const* features);
  ~Lv2Plugin() override;
  Lv2Plugin(const Lv2Plugin&) = delete;
  Lv2Plugin& operator=(const Lv2Plugin&) = delete;

  // Audio thread (or instantiation thread before processing).
  void ConnectPort(uint32_t port, void* data);
  // Instantiation thread.
  void Activate();
  void Deactivate();
  // Audio thread: any number of frames, including 0. Never waits for the amp's lock:
  // ports and MIDI are taken only when no other thread holds it.
  void Run(uint32_t frames);

  // Instantiation thread (state and options).
  LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle,
                        const LV2_Feature* const* features);
  LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                           const LV2_Feature* const* features);
  uint32_t GetOptions(LV2_Options_Option* options);
  uint32_t SetOptions(const LV2_Options_Option* options);

  // Worker thread: MIDI that run() handed over because it loads a preset (file reading,
  // an impulse response) and everything after it, in order.
  LV2_Worker_Status Work(uint32_t size, const void* data);

  // --- For the editor (instance access), interface thread. ---
  VoltrexPlug& Amp() { return *amp_; }
  // Calls write(portIndex, value, gesture) for every control port the amp changed since
  // the last call: gesture is +1 when a change begins, 0 for the value, -1 when it ends.
  template <typename Write>
  void TakeChangedPorts(Write&& write);
  // The value last seen on a control port (NaN before the first run): a host value equal
  // to it is one the plug-in has already dealt with.
  float LastSeenPortValue(int controlPort) const { return lastSeen_[size_t(controlPort)].load(); }
  // Flags every control port whose value differs from the host's, so the editor writes it.
  void FlagStalePorts();
  float AmpPortValue(int controlPort) const;

 private:
  enum PortFlag : uint8_t { kBegin = 1, kChanged = 2, kEnd = 4 };

  void BeginParamChange(int index) override;
  void ParamChanged(int index, double normalized) override;
  void EndParamChange(int index) override;
  void Flag(int paramIndex, uint8_t flag);

  void ReadFeatures(const LV2_Feature* const* features);
  void ApplyOptions(const LV2_Options_Option* options);
  void ApplyControlPorts();
  void ApplyPortValue(int controlPort, float value);
  // Audio thread; ampFree: run() holds the amp, which no other thread held.
  void ReadMidi(bool ampFree);
  // Audio thread: a message for the amp now, or, with what follows it, for the worker
  // (program changes, or while messages wait) or a later run.
  void Dispatch(const IMidiMsg& msg, bool ampFree);
  void ScheduleDeferred(bool ampFree);
  std::string StoredImpulsePath(const std::string& path, const LV2_Feature* const* features) const;
  std::string ResolvedImpulsePath(const std::string& stored, const LV2_Feature* const* features) const;

  struct Urids {
    LV2_URID atomChunk = 0, atomPath = 0, atomInt = 0, atomFloat = 0, atomSequence = 0;
    LV2_URID midiEvent = 0, maxBlock = 0, nominalBlock = 0, sampleRate = 0;
    LV2_URID stateKey = 0, impulseKey = 0, versionKey = 0;
  };

  std::unique_ptr<VoltrexPlug> amp_;
  LV2_URID_Map* map_ = nullptr;
  Urids urids_;
  std::string dataFolder_;
  const float* audioIn_[2] = {};
  float* audioOut_[2] = {};
  const void* midiIn_ = nullptr;
  std::array<const float*, kControlPorts> controls_{};
  std::array<std::atomic<float>, kControlPorts> lastSeen_;
  std::array<std::atomic<uint8_t>, kControlPorts> flags_{};
  // After a restore the host sets its saved port values, which may be stale: the next run
  // takes whatever the ports hold as seen, so the restored values stay in force.
  std::atomic<bool> adoptPorts_{false};
  // With the host's worker, program changes and the messages after them load there; run()
  // never waits for the amp the worker holds.
  static constexpr int kMaxDeferredMessages = 64;
  const LV2_Worker_Schedule* schedule_ = nullptr;
  std::atomic<int> jobsPending_{0};
  IMidiMsg deferred_[kMaxDeferredMessages];
  int deferredCount_ = 0;
};

template <typename Write>
void Lv2Plugin::TakeChangedPorts(Write&& write) {
  for (int port = 0; port < kControlPorts; ++port) {
    const uint8_t flags = flags_[size_t(port)].exchange(0);
    if (!flags) continue;
    if (flags & kBegin) write(port, AmpPortValue(port), +1);
    if (flags & kChanged) write(port, AmpPortValue(port), 0);
    if (flags & kEnd) write(port, AmpPortValue(port), -1);
  }
}

}  // namespace lv2
