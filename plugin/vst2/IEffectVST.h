// The VST 2.x adaptor: owns the plug-in and hands the host its effect record, the
// dispatcher, the audio and parameter callbacks and MIDI input, and carries the plug-in's
// calls back into the host. Every callback but the audio thread's takes the plug-in's
// lock, as the plug-in expects. The audio thread takes it only when the host renders
// offline (or does not say how it renders), where waiting keeps a bounce deterministic;
// live, what arrives there (automation, MIDI) is queued for the loader thread.
#pragma once

#include <memory>

#include "plugin/HostLink.h"
#include "plugin/IEffectBase.h"
#include "plugin/LoaderThread.h"
#include "plugin/PlugIdentity.h"
#include "plugin/vst2/vst2.h"

// The host's transport as GetTime reports it.
struct ITimeInfo {
  double samplePos = 0.0;
  double tempo = 120.0;
  double ppqPos = -1.0;
  double lastBar = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int numerator = 4;
  int denominator = 4;
  bool playing = false;
  bool cycling = false;
};

class IEffectVST : private HostLink {
 public:
  static constexpr int kVstVersion = 2400;
  static constexpr intptr_t kIdentifyMagic = 0x4E764566;  // 'NvEf'

  // Takes the plug-in, its editor (if any) already attached. The host's effClose deletes
  // the adaptor and with it the plug-in.
  IEffectVST(vst2::HostCallback host, std::unique_ptr<IEffectBase> plug,
             const PlugIdentity& identity);
  ~IEffectVST() override;

  vst2::AEffect* Effect() { return &effect_; }
  IEffectBase& Plug() { return *plug_; }

  // The host's transport (host callback opcode 7); defaults when the host gives none.
  double GetSamplePos();
  double GetTempo();
  void GetTimeSig(int* numerator, int* denominator);
  void GetTime(ITimeInfo* info);

  // Asks the host who it is, once; the code of the detection table, 0 for none known.
  int GetHost();
  // First open: host detection, channel limits for hosts that need them, channel counts.
  void HostSpecificInit();

  // Host-extension bits recorded by the can-do queries.
  enum HostExtension { kCockosExtensions = 1, kCockosViewAsConfig = 2 };
  int HostExtensions() const { return hostExtensions_; }

 private:
  // The six callbacks of the effect record; each takes the plug-in lock.
  static intptr_t VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                intptr_t value, void* ptr, float opt);
  static void VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
  static void VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                  int32_t frames);
  static void VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs, double** outputs,
                                        int32_t frames);
  static void VSTSetParameter(vst2::AEffect* effect, int32_t index, float value);
  static float VSTGetParameter(vst2::AEffect* effect, int32_t index);

  // Host notifications (host callback opcodes 43, 0 and 44).
  void BeginParamChange(int index) override;
  void ParamChanged(int index, double normalized) override;
  void EndParamChange(int index) override;
  // The editor window's new size: editRect_ follows and the host is asked to resize.
  bool ResizeEditor(int width, int height) override;

  PlugLock& Lock() { return plug_->Lock(); }
  IGraphics* GetGUI() { return plug_->GetGUI(); }
  void PublishEditorSize();
  // editRect_ from the editor's window size at its scale.
  void ResizeGraphics();
  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  template <typename Sample>
  void ProcessAudio(Sample** inputs, Sample** outputs, int32_t frames,
                    IEffectBase::OutputMode mode);
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  // Audio: the host plays live (its process level is real-time or prefetch), so the
  // audio thread must not wait for the lock.
  bool PlaysLive();
  // Audio: a host request from the audio thread, queued when live; otherwise the queue is
  // served first and the request handled here, in order, under the lock.
  void HandleOnAudioThread(const IEffectBase::HostRequest& request);
  const vst2::VstTimeInfo* HostTime(int32_t filter);
  intptr_t GetChunk(void** data, bool isBank);
  intptr_t SetChunk(const void* data, intptr_t size, bool isBank);
  intptr_t ProcessEvents(const vst2::VstEvents* events);
  intptr_t GetPinProperties(int index, void* ptr, bool input);
  intptr_t SetSpeakerArrangement(const vst2::VstSpeakerArrangement* in,
                                 const vst2::VstSpeakerArrangement* out);
  intptr_t CanDo(const char* text);
  void PublishChannelCounts();

  vst2::AEffect effect_{};
  vst2::HostCallback host_;
  PlugIdentity identity_;
  ByteChunk programChunk_;
  ByteChunk bankChunk_;
  vst2::VstSpeakerArrangement inArrangement_{};
  vst2::VstSpeakerArrangement outArrangement_{};
  vst2::ERect editRect_{};
  int hostExtensions_ = 0;
  bool hostInitDone_ = false;
  // The plug-in may still tell the host while it closes: the destructor lets it go first.
  std::unique_ptr<IEffectBase> plug_;
  std::unique_ptr<LoaderThread> loader_;
};
